// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/CNvCpTable.h"
#include "model/FieldControl.h"

#include <QString>
#include <array>
#include <memory>

// One field of the configuration window: item ItemArrayIndex of the value
// NvCpTable, shown in TheControl, with limits per unit system (index 0
// Metric, 1 Imperial) and an optional rounding step.
class CNvCtrlTable {
public:
    QString Name;
    QString Description;
    QString Typee;
    std::shared_ptr<FieldControl> TheControl;
    qint16 ItemArrayIndex = 0;
    std::shared_ptr<CNvCpTable> NvCpTable;
    bool RoundValue = false;
    double Ceiling = 0;
    bool OffsetValue = false;

    // Limits as shortest decimal text; a unit index other than 0 or 1 fails
    // with a subscript-out-of-range error, a text that is no number with a
    // type mismatch.
    QString MaxLimit(qint16 unitSystem) const;
    void MaxLimit(qint16 unitSystem, const QString& limit);
    QString MinLimit(qint16 unitSystem) const;
    void MinLimit(qint16 unitSystem, const QString& limit);

    QString DsFormatType() const;
    void DsFormatType(const QString& formatType);

    // The whole structured value of NvCpTable.
    QString NvString() const;

    // The item as shown (held, or the pending edit), rounded to Ceiling when
    // RoundValue is set and the item is known; the control's text when there
    // is no such item or it cannot be rounded.
    QString Value() const;
    // Makes the text, unchecked, the pending edit of the item.
    void Value(const QString& text);

    // Drops the pending edits of NvCpTable (shared by all its fields).
    void Initialize();

private:
    struct Limits {
        double min = 0;
        double max = 0;
    };

    Limits& limitsFor(qint16 unitSystem);
    const Limits& limitsFor(qint16 unitSystem) const;
    const CNvCpTable& value() const;
    QString itemText() const;
    QString controlText() const;

    std::array<Limits, 2> m_limits{};
};
