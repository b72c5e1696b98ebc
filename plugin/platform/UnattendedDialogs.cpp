// SPDX-License-Identifier: Apache-2.0
#include "platform/UnattendedDialogs.h"

#include <QTextStream>

namespace {

void report(const QString& kind, const QString& title, const QString& text) {
    QTextStream(stderr) << "[" << kind << "] " << title << ": "
                        << QString(text).replace(QLatin1Char('\r'), QString()) << Qt::endl;
}

} // namespace

DialogAnswer UnattendedDialogs::message(const MessageRequest& request) {
    report(QStringLiteral("message"), request.title, request.text);
    return defaultAnswerOf(request);
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
