// SPDX-License-Identifier: Apache-2.0
#include "PlugInSession.h"

#include <QJsonObject>

using AutomationProtocol::Operation;

namespace {

const QString BrowserSource = QStringLiteral("lns-browser");

} // namespace

PlugInSession::PlugInSession(const QString& executable, QList<Call> calls, Hold hold,
                             QObject* parent)
    : QObject(parent), m_executable(executable), m_calls(std::move(calls)), m_hold(hold) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_poll.setInterval(WindowPollMs);
    connect(&m_poll, &QTimer::timeout, this, &PlugInSession::pollWindow);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &PlugInSession::readReplies);
    connect(&m_process, &QProcess::started, this,
            [this] { send(Operation::Create, QString(), {}); });
    connect(&m_process, &QProcess::finished, this, &PlugInSession::processEnded);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            emit failed(
                0, BrowserSource,
                QStringLiteral("cannot start %1: %2").arg(m_executable, m_process.errorString()));
            emit ended();
        }
    });
}

// A browser that closes takes its plug-ins' objects with it: their input
// ends, and each hidden plug-in ends; one whose window shows stays for its user.
PlugInSession::~PlugInSession() {
    m_process.disconnect(this);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.closeWriteChannel();
        m_process.waitForBytesWritten(1000);
    }
}

void PlugInSession::start() {
    m_started = true;
    m_process.start(m_executable, {QStringLiteral("-Embedding")});
}

void PlugInSession::close() {
    if (!m_started || m_releasing || m_closing || m_process.state() == QProcess::NotRunning)
        return;
    m_closing = true;
    m_poll.stop();
    if (m_waitingId == 0)
        nextCall();
}

void PlugInSession::send(Operation op, const QString& member, const QJsonArray& args) {
    AutomationProtocol::Request request;
    request.id = m_nextId;
    request.op = op;
    request.object = m_object;
    request.member = member;
    request.args = args;
    m_waitingId = m_nextId++;
    m_waitingOp = op;
    m_waitingMember = member;
    m_process.write(AutomationProtocol::formatRequest(request));
}

void PlugInSession::readReplies() {
    while (m_process.canReadLine()) {
        QByteArray line = m_process.readLine();
        line.chop(1);
        const AutomationProtocol::Reply reply = AutomationProtocol::parseReply(line);
        // A request the plug-in could not read is answered without its id;
        // only the one waiting can be meant.
        if (reply.id == QJsonValue(m_waitingId) || (reply.id.isNull() && reply.error))
            handle(reply);
    }
}

void PlugInSession::handle(const AutomationProtocol::Reply& reply) {
    const Operation op = m_waitingOp;
    const QString member = m_waitingMember;
    m_waitingId = 0;
    if (reply.error) {
        m_calls.clear();
        emit failed(reply.error->number(), reply.error->source(), reply.error->description());
        if (op == Operation::Create || op == Operation::Release)
            m_process.closeWriteChannel();
        else
            release();
        return;
    }
    if (op == Operation::Create)
        m_object = reply.result.toObject().value(QLatin1String("object")).toInteger();
    if (op == Operation::Release) {
        m_object = 0;
        m_process.closeWriteChannel();
        return;
    }
    if (member == QLatin1String("Visible")) {
        // Hidden on request (not the answer to showing it): the hold is over.
        if (op == Operation::Set && m_hideSent) {
            release();
            return;
        }
        // The window's answer: once it is closed, the hold is over.
        if (op == Operation::Get && !m_closing) {
            if (!reply.result.toBool())
                release();
            return;
        }
    }
    nextCall();
}

void PlugInSession::nextCall() {
    if (m_closing) {
        m_calls.clear();
        m_hideSent = true;
        send(Operation::Set, QStringLiteral("Visible"), {false});
        return;
    }
    if (!m_calls.isEmpty()) {
        const Call call = m_calls.takeFirst();
        send(call.op, call.member, call.args);
        return;
    }
    if (m_poll.isActive())
        return;
    emit performed();
    if (m_hold == Hold::WhileWindowShows)
        m_poll.start();
    else
        release();
}

void PlugInSession::release() {
    m_poll.stop();
    m_releasing = true;
    send(Operation::Release, QString(), {});
}

void PlugInSession::pollWindow() {
    if (m_waitingId == 0 && !m_releasing)
        send(Operation::Get, QStringLiteral("Visible"), {});
}

void PlugInSession::processEnded() {
    // A plug-in that ends while asked about its window was closed by its
    // user (Exit ends it even while held); any other call was cut short.
    const bool polling =
        m_waitingOp == Operation::Get && m_waitingMember == QLatin1String("Visible");
    if (m_waitingId != 0 && !m_releasing && !polling) {
        const QString why =
            m_process.exitStatus() == QProcess::CrashExit
                ? QStringLiteral("the plug-in crashed")
                : QStringLiteral("the plug-in ended with exit status %1").arg(m_process.exitCode());
        emit failed(0, BrowserSource, why + QStringLiteral(" before it answered"));
    }
    m_poll.stop();
    emit ended();
}
