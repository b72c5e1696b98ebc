#include "ScriptedDialogs.h"

namespace {

DialogAnswer defaultAnswer(const MessageRequest& request) {
    switch (request.buttons) {
    case DialogButtons::Ok:
        return DialogAnswer::Ok;
    case DialogButtons::OkCancel:
        return request.defaultButton == 1 ? DialogAnswer::Cancel : DialogAnswer::Ok;
    case DialogButtons::AbortRetryIgnore: {
        static const DialogAnswer answers[] = {DialogAnswer::Abort, DialogAnswer::Retry, DialogAnswer::Ignore};
        return answers[std::clamp(request.defaultButton, 0, 2)];
    }
    case DialogButtons::YesNoCancel: {
        static const DialogAnswer answers[] = {DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Cancel};
        return answers[std::clamp(request.defaultButton, 0, 2)];
    }
    case DialogButtons::YesNo:
        return request.defaultButton == 1 ? DialogAnswer::No : DialogAnswer::Yes;
    case DialogButtons::RetryCancel:
        return request.defaultButton == 1 ? DialogAnswer::Cancel : DialogAnswer::Retry;
    }
    return DialogAnswer::Ok;
}

} // namespace

DialogAnswer ScriptedDialogs::message(const MessageRequest& request) {
    messages.append(request);
    if (m_answers.empty())
        return defaultAnswer(request);
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

QString ScriptedDialogs::saveFile(const FileRequest& request) { return openFile(request); }

QStringList ScriptedDialogs::texts() const {
    QStringList result;
    for (const MessageRequest& request : messages)
        result << request.text;
    return result;
}
