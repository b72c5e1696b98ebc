// SPDX-License-Identifier: Apache-2.0
#include "platform/PrintableText.h"

QString printable(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\t')
            result += QStringLiteral("\\t");
        else if (u == u'\n')
            result += QStringLiteral("\\n");
        else if (u == u'\r')
            result += QStringLiteral("\\r");
        else if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            result += QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}
