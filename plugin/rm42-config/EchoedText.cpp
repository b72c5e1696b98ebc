// SPDX-License-Identifier: Apache-2.0
#include "EchoedText.h"

#include "platform/PrintableText.h"

namespace {

constexpr qsizetype LongestEchoed = 60;

} // namespace

QString echoed(const QString& text) {
    if (text.size() <= LongestEchoed)
        return printable(text);
    return printable(text.left(LongestEchoed)) +
           QStringLiteral("... (%1 characters)").arg(text.size());
}
