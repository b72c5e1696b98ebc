#include "platform/UnattendedDialogs.h"

#include <QHash>
#include <QList>
#include <QTextStream>

namespace {

DialogAnswer defaultAnswer(const MessageRequest& request) {
    static const QHash<DialogButtons, QList<DialogAnswer>> answers = {
        {DialogButtons::Ok, {DialogAnswer::Ok}},
        {DialogButtons::OkCancel, {DialogAnswer::Ok, DialogAnswer::Cancel}},
        {DialogButtons::AbortRetryIgnore,
         {DialogAnswer::Abort, DialogAnswer::Retry, DialogAnswer::Ignore}},
        {DialogButtons::YesNoCancel, {DialogAnswer::Yes, DialogAnswer::No, DialogAnswer::Cancel}},
        {DialogButtons::YesNo, {DialogAnswer::Yes, DialogAnswer::No}},
        {DialogButtons::RetryCancel, {DialogAnswer::Retry, DialogAnswer::Cancel}},
    };
    const QList<DialogAnswer> choices = answers.value(request.buttons, {DialogAnswer::Ok});
    return choices.value(request.defaultButton, choices.first());
}

void report(const QString& kind, const QString& title, const QString& text) {
    QTextStream(stderr) << "[" << kind << "] " << title << ": "
                        << QString(text).replace(QLatin1Char('\r'), QString()) << Qt::endl;
}

} // namespace

DialogAnswer UnattendedDialogs::message(const MessageRequest& request) {
    report(QStringLiteral("message"), request.title, request.text);
    return defaultAnswer(request);
}

QString UnattendedDialogs::openFile(const FileRequest& request) {
    report(QStringLiteral("open file"), request.title, request.startFolder);
    return QString();
}

QString UnattendedDialogs::saveFile(const FileRequest& request) {
    report(QStringLiteral("save file"), request.title, request.startFolder);
    return QString();
}

bool UnattendedDialogs::requested() {
    return qEnvironmentVariable("RM42_UNATTENDED") == QLatin1String("1");
}
