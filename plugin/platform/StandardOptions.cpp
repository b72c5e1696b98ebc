// SPDX-License-Identifier: Apache-2.0
#include "platform/StandardOptions.h"

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

QString wrapped(const QString& line, int indent, int width) {
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
    return text + rest + QLatin1Char('\n');
}

std::optional<int> answer(const QStringList& arguments, const QString& program, const QString& help,
                          QTextStream& out) {
    if (arguments.size() != 1)
        return std::nullopt;
    if (arguments.first() == QLatin1String("--help"))
        out << help << reportProblems();
    else if (arguments.first() == QLatin1String("--version"))
        out << program << ' ' << version() << '\n';
    else
        return std::nullopt;
    out.flush();
    return 0;
}

} // namespace StandardOptions
