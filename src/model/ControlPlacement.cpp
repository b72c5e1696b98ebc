#include "model/ControlPlacement.h"

#include "model/DisplayUnits.h"

#include <array>

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
constexpr int FirstScheduleBox = 11;
constexpr int LastScheduleBox = 38;
constexpr int LocationBox = 51;

ControlPlacement textBoxPlacement(int index) {
    using enum ValueUnit;
    if (index >= FirstScheduleBox && index <= LastScheduleBox)
        return {Scheduler, LayoutFrame::None, Minutes, {}, false, false};
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
        return {HeatingCooling, LayoutFrame::None, Temperature, {}, false, false};
    case 8:
    case 9:
        return {Hardware, LayoutFrame::None, Temperature, {}, false, false};
    case 10:
        return {Hardware, LayoutFrame::None, Seconds, {}, false, false};
    case 39:
    case 40:
    case 41:
        return {Network, LayoutFrame::None, Seconds, {}, false, false};
    case 42:
    case 44:
        return {Model, LayoutFrame::Economizer, Temperature, {}, false, false};
    case 43:
        return {Model, LayoutFrame::Economizer, Percent, {}, false, false};
    case 45:
    case 46:
        return {Model, LayoutFrame::HeatPump, Temperature, {}, false, false};
    case 47:
    case 48:
    case 49:
    case 50:
        return {About, LayoutFrame::None, None, {}, true, false};
    case LocationBox:
        return {About, LayoutFrame::None, None, {}, false, true};
    case 52:
        return {General, LayoutFrame::None, None, {}, false, false};
    case 53:
        return {General, LayoutFrame::None, Hours, {}, false, false};
    default:
        return {Contact, LayoutFrame::None, None, {}, false, false};
    }
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
        if (control.index > 53)
            return std::nullopt;
        return textBoxPlacement(control.index);
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
