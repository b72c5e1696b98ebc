// SPDX-License-Identifier: Apache-2.0
#include "model/DisplayUnits.h"

namespace rules {

namespace {

constexpr int Metric = 0;
constexpr int Imperial = 1;

} // namespace

DisplayUnits displayUnitsFor(int unitSystem) {
    if (unitSystem == Metric)
        return {QStringLiteral("ºC"),
                QStringLiteral("#SI"),
                {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")}};
    return {QStringLiteral("ºF"),
            QStringLiteral("#US"),
            {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}};
}

int unitSystemFromStored(const QString& stored) {
    return stored == QStringLiteral("0") ? Metric : Imperial;
}

QString storedUnitSystem(int unitSystem) {
    return QString::number(unitSystem == Metric ? Metric : Imperial);
}

QString discardChangesWarning() {
    return QStringLiteral(
        "This action will discard all changes\r\n\r\nProceed and lose all changes ?");
}

} // namespace rules
