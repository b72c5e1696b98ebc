// SPDX-License-Identifier: Apache-2.0
#include "platform/StandardOptions.h"

namespace StandardOptions {

QString version() {
    return QStringLiteral("%1.%2.%3")
        .arg(RM42_VERSION_MAJOR)
        .arg(RM42_VERSION_MINOR)
        .arg(RM42_VERSION_PATCH);
}

std::optional<int> answer(const QStringList& arguments, const QString& program,
                          const QString& help, QTextStream& out) {
    if (arguments.size() != 1)
        return std::nullopt;
    if (arguments.first() == QLatin1String("--help"))
        out << help;
    else if (arguments.first() == QLatin1String("--version"))
        out << program << ' ' << version() << '\n';
    else
        return std::nullopt;
    out.flush();
    return 0;
}

} // namespace StandardOptions
