// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/AutomationProtocol.h"

#include <QProcess>
#include <optional>

// A plug-in started with -Embedding and driven over its standard input and
// output. Its standard error goes to ours.
class RunSession {
public:
    // False, with the reason in `problem`, when the program cannot be started.
    bool start(const QString& executable, QString& problem);
    // Sends one request and waits, without a time limit, for its reply (or
    // an error reply without an id); nothing when the plug-in ended first.
    std::optional<AutomationProtocol::Reply> request(AutomationProtocol::Request request);
    // Ends the input and waits for the plug-in to end; its exit status.
    int finish();
    QString endText() const;

private:
    std::optional<QByteArray> readLine();

    QProcess m_process;
    qint64 m_nextId = 1;
};
