// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationServer.h"

#include "automation/AutomationDispatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

constexpr qsizetype ReadChunk = 64 * 1024;

bool isBlank(const QByteArray& line) {
    return line.trimmed().isEmpty();
}

} // namespace

AutomationServer::AutomationServer(AutomationDispatcher& dispatcher, int inputFd, int outputFd,
                                   std::function<void()> inputEnded, QObject* parent)
    : QObject(parent), m_dispatcher(dispatcher), m_inputFd(inputFd), m_outputFd(outputFd),
      m_inputEnded(std::move(inputEnded)),
      m_notifier(new QSocketNotifier(inputFd, QSocketNotifier::Read, this)) {
    // A host that went away must not kill the plug-in while it writes.
    std::signal(SIGPIPE, SIG_IGN);
    connect(m_notifier, &QSocketNotifier::activated, this, &AutomationServer::readInput);
}

void AutomationServer::readInput() {
    QByteArray chunk(ReadChunk, Qt::Uninitialized);
    const ssize_t count = ::read(m_inputFd, chunk.data(), static_cast<size_t>(chunk.size()));
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (count > 0) {
        chunk.truncate(count);
        m_reader.feed(chunk);
    } else {
        m_notifier->setEnabled(false);
        m_reader.finish();
        m_endOfInput = true;
    }
    serveWaiting();
}

void AutomationServer::serveWaiting() {
    if (m_serving)
        return; // the request being served picks these up when it is answered
    m_serving = true;
    while (m_reader.hasLine()) {
        const AutomationLineReader::Line line = m_reader.takeLine();
        if (line.tooLong)
            writeReply(AutomationDispatcher::lineTooLong(LineLimit));
        else if (!isBlank(line.text))
            writeReply(m_dispatcher.handle(line.text));
    }
    m_serving = false;
    if (m_endOfInput && !m_endHandled) {
        m_endHandled = true;
        m_inputEnded();
    }
}

void AutomationServer::writeReply(const QByteArray& reply) {
    const char* data = reply.constData();
    qsizetype left = reply.size();
    while (left > 0) {
        const ssize_t written = ::write(m_outputFd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return; // the host is gone; nobody is left to answer
        data += written;
        left -= written;
    }
}
