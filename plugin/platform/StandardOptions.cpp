// SPDX-License-Identifier: Apache-2.0
#include "platform/StandardOptions.h"

#include <QRegularExpression>

namespace StandardOptions {

QString version() {
    return QStringLiteral("%1.%2.%3")
        .arg(RM42_VERSION_MAJOR)
        .arg(RM42_VERSION_MINOR)
        .arg(RM42_VERSION_PATCH);
}

QString reportProblems() {
    return QStringLiteral("Report problems to <rm42xx-config@example.org>.\n");
}

namespace {

qsizetype continuationIndent(const QString& line) {
    static const QRegularExpression description(QStringLiteral("^\\s*\\S.*?\\S {2,}(?=\\S)"));
    static const QRegularExpression usage(QStringLiteral("^usage: \\S+ "));
    static const QRegularExpression leading(QStringLiteral("^ *"));
    if (const QRegularExpressionMatch match = description.match(line); match.hasMatch())
        return match.capturedEnd();
    if (const QRegularExpressionMatch match = usage.match(line); match.hasMatch())
        return match.capturedEnd();
    return leading.match(line).capturedEnd();
}

QString wrappedLine(const QString& line, int width) {
    const qsizetype indent = continuationIndent(line);
    const QString pad(indent, QLatin1Char(' '));
    QString text;
    QString rest = line;
    while (rest.size() > width) {
        // The last blank that keeps the line within the width, past the indent.
        qsizetype cut = rest.lastIndexOf(QLatin1Char(' '), width);
        if (cut <= indent)
            cut = rest.indexOf(QLatin1Char(' '), width);
        if (cut < 0)
            break;
        QString head = rest.left(cut);
        while (head.endsWith(QLatin1Char(' ')))
            head.chop(1);
        text += head + QLatin1Char('\n');
        rest = pad + rest.mid(cut + 1).trimmed();
    }
    return text + rest;
}

} // namespace

QString wrappedText(const QString& text, int width) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = wrappedLine(line, width);
    return lines.join(QLatin1Char('\n'));
}

std::optional<int> answer(const QStringList& arguments, const QString& program, const QString& help,
                          QTextStream& out) {
    if (arguments.size() != 1)
        return std::nullopt;
    if (arguments.first() == QLatin1String("--help"))
        out << wrappedText(help + reportProblems());
    else if (arguments.first() == QLatin1String("--version"))
        out << program << ' ' << version() << '\n';
    else
        return std::nullopt;
    out.flush();
    return 0;
}

} // namespace StandardOptions
