// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "objectserver/FormatItem.h"

#include <QList>
#include <QString>

namespace lns::sim {

// A format whose raw value is a sequence of items, packed without gaps in
// item order, and whose text is the items joined by `separator`.
struct StructuredFormat {
    QString name;
    QChar separator;
    QList<FormatItem> items;

    int rawSize() const;
};

// The structured format of that name (without unit suffix), or nullptr.
const StructuredFormat* findStructuredFormat(const QString& name);

} // namespace lns::sim
