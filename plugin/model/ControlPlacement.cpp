// SPDX-License-Identifier: Apache-2.0
#include "model/ControlPlacement.h"

#include "model/DisplayUnits.h"

#include <array>
#include <vector>

namespace {

enum Tab { HeatingCooling, Hardware, General, Model, Scheduler, Network, Contact, About };

QStringList numbers(int from, int to) {
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i);
    return items;
}

const QStringList OnOff = {QStringLiteral("ON"), QStringLiteral("OFF")};
const QStringList Stages = {QStringLiteral("ONE_STAGE"), QStringLiteral("TWO_STAGES")};
const QStringList DigitalInputs = {QStringLiteral("NONE"),    QStringLiteral("REM_NSB"),
                                   QStringLiteral("REM_OVR"), QStringLiteral("FILTER"),
                                   QStringLiteral("SERVICE"), QStringLiteral("FAN_LOCKOUT")};

constexpr int DeadbandComboBox = 2;

// Consecutive text boxes placed alike.
struct TextBoxRange {
    int first;
    int last;
    ControlPlacement placement;
};

const std::vector<TextBoxRange>& textBoxRanges() {
    using enum ValueUnit;
    using F = LayoutFrame;
    static const std::vector<TextBoxRange> ranges = {
        {0, 7, {HeatingCooling, F::None, Temperature, {}, false, false}},
        {8, 9, {Hardware, F::None, Temperature, {}, false, false}}, // sensor offsets
        {10, 10, {Hardware, F::None, Seconds, {}, false, false}},
        {11, 38, {Scheduler, F::None, Minutes, {}, false, false}}, // minutes after midnight
        {39, 41, {Network, F::None, Seconds, {}, false, false}},
        {42, 42, {Model, F::Economizer, Temperature, {}, false, false}},
        {43, 43, {Model, F::Economizer, Percent, {}, false, false}},
        {44, 44, {Model, F::Economizer, Temperature, {}, false, false}},
        {45, 46, {Model, F::HeatPump, Temperature, {}, false, false}},
        {47, 50, {About, F::None, None, {}, true, false}}, // versions and model
        {51, 51, {About, F::None, None, {}, false, true}}, // location
        {52, 52, {General, F::None, None, {}, false, false}},
        {53, 53, {General, F::None, Hours, {}, false, false}},
    };
    return ranges;
}

struct ComboRow {
    int tab;
    LayoutFrame frame;
    ValueUnit unit;
    QStringList items;
};

const std::array<ComboRow, 24>& comboRows() {
    using enum ValueUnit;
    using F = LayoutFrame;
    static const std::array<ComboRow, 24> rows = {{
        {HeatingCooling, F::None, None, numbers(3, 8)}, // 0 heating cph
        {HeatingCooling, F::None, None, numbers(3, 4)}, // 1 cooling cph
        {HeatingCooling, F::None, Temperature, {}},     // 2 deadband
        {Hardware, F::None, None, DigitalInputs},       // 3
        {Hardware, F::None, None, DigitalInputs},       // 4
        {Hardware, F::None, None, numbers(0, 5)},       // 5 anticycle
        {Hardware,
         F::None,
         None,
         {QStringLiteral("NORMALLY_OPEN"), QStringLiteral("NORMALLY_CLOSED")}}, // 6
        {Hardware, F::HeatingStages, None, Stages},                             // 7
        {Hardware, F::StageFrame, None, Stages},                                // 8
        {General, F::None, None, OnOff},                                        // 9 fan control
        {General, F::None, None, OnOff},                                        // 10 purge delay
        {General, F::None, None, OnOff},                                        // 11 frost
        {General, F::None, None, {QStringLiteral("FAHRENHEIT"), QStringLiteral("CELSIUS")}},
        {General, F::None, Hours, numbers(0, 12)}, // 13
        {General, F::ProgRecovery, None, OnOff},   // 14
        {General,
         F::None,
         None,
         {QStringLiteral("NO_LOCKOUT"), QStringLiteral("LEVEL_1"), QStringLiteral("LEVEL_2")}},
        {Scheduler, F::None, None, {QStringLiteral("TWO_EVENTS"), QStringLiteral("FOUR_EVENTS")}},
        {Model, F::Economizer, None, OnOff}, // 17
        {Model,
         F::HeatPump,
         None,
         {QStringLiteral("O_NORMALLY_HEAT"), QStringLiteral("B_NORMALLY_COOL")}}, // 18
        {Model, F::HeatPump, None, {QStringLiteral("COMFORT"), QStringLiteral("ECONOMY")}},
        {Model, F::HeatPump, None, OnOff}, // 20
        {General, F::None, None, {QStringLiteral("NO_SCROLL"), QStringLiteral("SCROLL_ACTIVE")}},
        {General,
         F::None,
         None,
         {QStringLiteral("ON"), QStringLiteral("AUTO"), QStringLiteral("SMART")}}, // 22
        {HeatingCooling, F::None, None, numbers(2, 8)},                            // 23 prop band
    }};
    return rows;
}

bool shown(const std::optional<bool>& frameShown) {
    return frameShown.value_or(true);
}

} // namespace

const QStringList& tabCaptions() {
    static const QStringList captions = {
        QStringLiteral("Heating - Cooling"), QStringLiteral("Hardware"),
        QStringLiteral("General"),           QStringLiteral("Model"),
        QStringLiteral("Scheduler"),         QStringLiteral("Network"),
        QStringLiteral("Contact"),           QStringLiteral("About")};
    return captions;
}

std::optional<ControlPlacement> placementOf(ControlId control, int unitSystem) {
    if (control.index < 0)
        return std::nullopt;
    if (control.array == ControlArray::TextBox) {
        for (const TextBoxRange& range : textBoxRanges()) {
            if (control.index >= range.first && control.index <= range.last)
                return range.placement;
        }
        return std::nullopt;
    }
    if (control.index >= static_cast<int>(comboRows().size()))
        return std::nullopt;
    const ComboRow& row = comboRows()[static_cast<size_t>(control.index)];
    const QStringList items = control.index == DeadbandComboBox
                                  ? rules::displayUnitsFor(unitSystem).deadbandItems
                                  : row.items;
    return ControlPlacement{row.tab, row.frame, row.unit, items, false, false};
}

QString unitCaption(ValueUnit unit, int unitSystem) {
    switch (unit) {
    case ValueUnit::Temperature:
        return rules::displayUnitsFor(unitSystem).caption;
    case ValueUnit::Seconds:
        return QStringLiteral("Sec");
    case ValueUnit::Minutes:
        return QStringLiteral("min");
    case ValueUnit::Hours:
        return QStringLiteral("Hours");
    case ValueUnit::Percent:
        return QStringLiteral("%");
    case ValueUnit::None:
        break;
    }
    return QString();
}

bool isAvailable(const ControlPlacement& placement, const ModelLayout& layout) {
    if (placement.tab == Scheduler && !layout.schedulingEnabled)
        return false;
    if (placement.tab == Model && !layout.modelTabEnabled)
        return false;
    switch (placement.frame) {
    case LayoutFrame::ProgRecovery:
        return layout.schedulingEnabled;
    case LayoutFrame::HeatingStages:
        return layout.heatingStagesShown;
    case LayoutFrame::StageFrame:
        return layout.stageFrameShown;
    case LayoutFrame::HeatPump:
        return shown(layout.heatPumpShown);
    case LayoutFrame::Economizer:
        return shown(layout.economizerShown);
    case LayoutFrame::None:
        break;
    }
    return true;
}
