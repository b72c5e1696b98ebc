// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/AutomationLineReader.h"

#include <QObject>
#include <functional>

class AutomationDispatcher;
class QSocketNotifier;

// Serves the host's requests that arrive on a file descriptor (standard
// input) and writes the replies to another (standard output), inside the Qt
// event loop. Requests are served one at a time in arrival order: a request
// that arrives while an earlier one still runs (for example while it shows a
// modal window) waits until the earlier one has been answered.
class AutomationServer : public QObject {
    Q_OBJECT

public:
    static constexpr qsizetype LineLimit = 1024 * 1024;

    // `inputEnded` runs once, after the last request before the end of input
    // has been answered.
    AutomationServer(AutomationDispatcher& dispatcher, int inputFd, int outputFd,
                     std::function<void()> inputEnded, QObject* parent = nullptr);

private:
    void readInput();
    void serveWaiting();
    void writeReply(const QByteArray& reply);

    AutomationDispatcher& m_dispatcher;
    int m_inputFd;
    int m_outputFd;
    std::function<void()> m_inputEnded;
    QSocketNotifier* m_notifier;
    AutomationLineReader m_reader{LineLimit};
    bool m_serving = false;
    bool m_endOfInput = false;
    bool m_endHandled = false;
};
