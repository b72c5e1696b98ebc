// SPDX-License-Identifier: Apache-2.0
#include "lns/ItemEncoding.h"

#include "objectserver/FormatEngine.h"

namespace lns {

QByteArray encodedItem(const QString& formatSpec, int item, const QString& text) {
    return sim::FormatEngine::parseItemExactly(formatSpec, item, text);
}

QByteArray writtenItem(const QString& formatSpec, int item, const QString& text) {
    return sim::FormatEngine::parseItem(formatSpec, item, text);
}

QString formattedItem(const QString& formatSpec, int item, const QByteArray& bytes) {
    return sim::FormatEngine::formatItemOf(formatSpec, item, bytes);
}

} // namespace lns
