// SPDX-License-Identifier: Apache-2.0
#include "RunSession.h"

bool RunSession::start(const QString& executable, QString& problem) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(executable, {QStringLiteral("-Embedding")});
    if (!m_process.waitForStarted(-1)) {
        problem = m_process.errorString();
        return false;
    }
    return true;
}

std::optional<AutomationProtocol::Reply> RunSession::request(AutomationProtocol::Request request) {
    const qint64 id = m_nextId++;
    request.id = id;
    m_process.write(AutomationProtocol::formatRequest(request));
    while (const std::optional<QByteArray> line = readLine()) {
        AutomationProtocol::Reply reply = AutomationProtocol::parseReply(*line);
        // A request the plug-in could not read is answered without its id;
        // only the one waiting can be meant.
        if (reply.id == QJsonValue(id) || (reply.id.isNull() && reply.error))
            return reply;
    }
    return std::nullopt;
}

std::optional<QByteArray> RunSession::readLine() {
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || !m_process.waitForReadyRead(-1)) {
            if (!m_process.canReadLine())
                return std::nullopt;
        }
    }
    QByteArray line = m_process.readLine();
    line.chop(1);
    return line;
}

int RunSession::finish() {
    m_process.closeWriteChannel();
    if (m_process.state() != QProcess::NotRunning)
        m_process.waitForFinished(-1);
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString RunSession::endText() const {
    if (m_process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("the plug-in crashed");
    return QStringLiteral("the plug-in ended with exit status %1").arg(m_process.exitCode());
}
