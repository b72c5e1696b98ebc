// SPDX-License-Identifier: Apache-2.0
#include "ScriptedDialogs.h"

DialogAnswer ScriptedDialogs::message(const MessageRequest& request) {
    messages.append(request);
    if (onMessage)
        onMessage(request);
    if (m_answers.empty())
        return defaultAnswerOf(request);
    const DialogAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QString ScriptedDialogs::openFile(const FileRequest& request) {
    fileRequests.append(request);
    if (m_files.empty())
        return QString();
    const QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedDialogs::saveFile(const FileRequest& request) {
    return openFile(request);
}

QStringList ScriptedDialogs::texts() const {
    QStringList result;
    for (const MessageRequest& request : messages)
        result << request.text;
    return result;
}
