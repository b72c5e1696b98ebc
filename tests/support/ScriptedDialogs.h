// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <deque>
#include <functional>

// Answers dialogs from a queue and records every request. A message asked
// with an empty queue gets its default button's answer.
class ScriptedDialogs : public Dialogs {
public:
    DialogAnswer message(const MessageRequest& request) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;

    void queueAnswer(DialogAnswer answer) { m_answers.push_back(answer); }
    void queueFile(const QString& path) { m_files.push_back(path); }

    // Runs when a message is asked, before it is answered: what a user might
    // do elsewhere meanwhile.
    std::function<void(const MessageRequest&)> onMessage;

    QList<MessageRequest> messages;
    QList<FileRequest> fileRequests;
    QStringList texts() const;

private:
    std::deque<DialogAnswer> m_answers;
    std::deque<QString> m_files;
};
