// SPDX-License-Identifier: Apache-2.0
// Random sessions with the values of one thermostat: opening, editing,
// setpoint rules, applies that go through or are refused, retries, cancels,
// refreshes, units changes and writes of another process. After every step
// the device holds only what the user applied (or a rule derived and showed),
// no edit hides behind a box that is not marked, and every unmarked box shows
// what the device holds.
#include "FakeLns.h"
#include "lns/ItemEncoding.h"
#include "model/CNvCtrlTable.h"
#include "model/DeviceValueCatalog.h"
#include "model/EditingRules.h"
#include "model/FieldCatalog.h"
#include "model/Specific.h"
#include "objectserver/FormatEngine.h"

#include <gtest/gtest.h>
#include <map>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>
#include <set>

namespace {

using lns::sim::FormatEngine;

// One configuration property of the device, held as the device holds it: raw
// bytes, formatted and parsed by the platform's format engine.
class DeviceProperty : public lns::ConfigProperty {
public:
    DeviceProperty(QString format, const QString& metricText)
        : format(std::move(format)), bytes(FormatEngine::parse(this->format, metricText)) {}

    QString format;
    QByteArray bytes;
    bool refusesWrites = false;

    QString Name() const override { return format; }
    void setFormatSpec(const QString& spec) override { m_spec = spec; }
    QString FormatSpec() const override { return m_spec; }
    qint16 Flags() const override { return 0; }
    qint16 ElementCount() const override { return 1; }
    QString FormattedValue() const override { return FormatEngine::format(m_spec, bytes); }
    QString FormattedElement(int) const override { return FormattedValue(); }
    QByteArray FetchElement(int) const override { return bytes; }
    QString FormatFetched(const QByteArray& fetched) const override {
        return FormatEngine::format(m_spec, fetched);
    }
    void setFormattedElement(int, const QString& text) override {
        refuseIfAsked();
        bytes = FormatEngine::parse(m_spec, text);
    }
    bool updateFormattedElement(int, const QMap<int, QString>& items) override {
        refuseIfAsked();
        const QByteArray before = bytes;
        bytes = FormatEngine::withItems(m_spec, bytes, items);
        return bytes != before;
    }
    int ResourceScope() const override { return 0; }
    int TypeIndex() const override { return 0; }
    QString DsFormatType() const override { return {}; }
    void setDsFormatType(const QString&) override {}

private:
    void refuseIfAsked() const {
        if (refusesWrites)
            throw Error::lns(lns::Code::WriteFailed, QStringLiteral("Write"),
                             QStringLiteral("write refused"));
    }

    QString m_spec = format;
};

// The thermostat: three of its values, with texts as a device leaves the factory.
struct Device {
    std::map<QString, std::shared_ptr<DeviceProperty>> properties = {
        {QStringLiteral("F:0/C:0:60"),
         std::make_shared<DeviceProperty>(QStringLiteral("SNVT_temp_setpt"),
                                          QStringLiteral("24.00,25.00,28.00,21.00,20.00,16.00"))},
        {QStringLiteral("F:0/C:4:12"),
         std::make_shared<DeviceProperty>(
             QStringLiteral("UNVT_cfg_1_rtu_hp"),
             QStringLiteral("0 1.5 3 60 2 4 3 30 15 20 10 0 0 1.11 AUTO ON OFF NO_LOCKOUT 4 "
                            "CELSIUS ON NO_SCROLL"))},
        {QStringLiteral("F:0/C:0:17"),
         std::make_shared<DeviceProperty>(QStringLiteral("SNVT_str_asc"),
                                          QStringLiteral("Room 1"))},
    };

    void refuseWrites(bool refuse) {
        for (auto& [path, property] : properties)
            property->refusesWrites = refuse;
    }
};

// The fields the sessions edit, with the box or combo box the window shows
// them in (text box index; the deadband is combo box 2).
struct EditedField {
    const char* name;
    int box;
};
constexpr EditedField EditedFields[] = {
    {"occ_heat_setpts", 0},   {"unocc_heat_setpts", 1}, {"occ_cool_setpts", 2},
    {"unocc_cool_setpts", 3}, {"max_heat", 4},          {"min_cool_setpts", 6},
    {"dead_band", -2},        {"password", 52},         {"Unocc_timer", 53},
    {"nciLocation", 51},
};
constexpr int DeadbandComboBox = -2;

QString metricSpec(const CNvCpTable& value) {
    return value.LocalizationSpecific ? value.Format + QStringLiteral("#SI") : value.Format;
}

// What an item holds, in one form for every unit system: the metric text of
// its bytes (hundredths of a degree name every step of the device's types).
QString metricItem(const CNvCpTable& value, int item, const QString& spec, const QString& text) {
    try {
        return lns::formattedItem(metricSpec(value), item, lns::writtenItem(spec, item, text));
    } catch (const Error&) {
        return QStringLiteral("unholdable ") + text;
    }
}

// The window as the user meets it, reduced to its boxes: what each shows and
// whether it is marked; its handlers do what the window's do with the model.
class Session {
public:
    explicit Session(Device& device) : m_device(device) { build(); }

    struct Box {
        QString text;
        bool marked = false;
        QString saved; // what the box showed before its edit
    };

    Specific specific;
    std::map<QString, Box> boxes;
    // The items the user sent with the last Apply or Retry (typed, or derived
    // by a rule and shown), as metric texts by value and item: what the device
    // may come to hold.
    std::map<std::pair<QString, int>, std::set<QString>> confirmed;
    // Items another process changed since this session last read them.
    std::set<std::pair<QString, int>> stale;

    // The format a value was read in: the display units'.
    QString readSpec(const CNvCpTable& value) const {
        if (!value.LocalizationSpecific)
            return value.Format;
        return value.Format + (specific.UnitSystem == Specific::Imperial ? QStringLiteral("#US")
                                                                         : QStringLiteral("#SI"));
    }

    const CNvCtrlTable& field(const QString& name) const {
        return *specific.NvCtrlTables.Item(name);
    }
    QString shown(const CNvCtrlTable& field) const {
        const QString text = rules::shownValue(field, specific.UnitSystem);
        if (field.Name != u"dead_band")
            return text;
        return rules::listItemFor(text, rules::displayUnitsFor(specific.UnitSystem).deadbandItems)
            .value_or(text);
    }

    void open() {
        cancel();
        readAll();
    }

    void edit(const QString& name, const QString& text) {
        Box& box = boxes[name];
        const QString saved = box.marked ? box.saved : box.text;
        box.saved = saved;
        box.text = text;
        box.marked = true;
        leave(name);
    }

    enum class Sent { Nothing, All, SomeRefused };

    // Apply: nothing when a box holds a text the device cannot hold; else the
    // marked boxes are brought into range, become pending, and are sent.
    Sent apply() {
        for (const auto& [name, box] : boxes) {
            if (box.marked && refused(field(name), box.text))
                return Sent::Nothing;
        }
        confirmed.clear();
        for (auto& [name, box] : boxes) {
            if (!box.marked)
                continue;
            CNvCtrlTable& edited = *specific.NvCtrlTables.Item(name);
            const QString stored = storedText(edited, box);
            edited.Value(stored);
            confirm(edited, stored);
        }
        return sendPending();
    }

    // The Retry of a refused send: the user sends again what the red boxes
    // show. The window offers it only while the box of a refused send is up,
    // so no edit can come between that Apply and its Retry.
    void retry() {
        confirmed.clear();
        for (const auto& [name, box] : boxes) {
            if (box.marked) {
                Box shownBox = box;
                confirm(field(name), storedText(field(name), shownBox));
            }
        }
        sendPending();
    }

    // Sends what is pending; a refused send is ignored, its boxes stay red.
    Sent sendPending() {
        Sent sent = Sent::All;
        for (const auto& value : specific.NvCpTables) {
            if (!value->ValueAsChanges())
                continue;
            try {
                value->SendNetworkValue();
            } catch (const Error&) {
                // Ignore: the value stays pending and its boxes red.
                sent = Sent::SomeRefused;
            }
        }
        for (auto& [name, box] : boxes) {
            const CNvCtrlTable& applied = field(name);
            if (box.marked && !applied.NvCpTable->ValueAsChanges()) {
                box.text = shown(applied);
                box.marked = false;
            }
        }
        return sent;
    }

    void cancel() {
        confirmed.clear();
        for (const auto& value : specific.NvCpTables)
            value->DropPendingEdits();
        for (auto& [name, box] : boxes) {
            if (box.marked) {
                box.text = shown(field(name));
                box.marked = false;
            }
        }
    }

    void refreshAll() { readAll(); }

    void changeUnits() {
        cancel();
        specific.UnitSystem =
            specific.UnitSystem == Specific::Imperial ? Specific::Metric : Specific::Imperial;
        readAll();
    }

private:
    void build() {
        BuildNvCpTables(
            specific,
            [this](const QString& path) -> lns::Ref<lns::ConfigProperty> {
                const auto found = m_device.properties.find(path);
                return found == m_device.properties.end() ? nullptr : found->second;
            },
            std::make_shared<fake::System>());
        BuildNvCtrlTables(specific, fake::windowControls());
        for (const EditedField& edited : EditedFields)
            boxes[QString::fromLatin1(edited.name)];
    }

    void confirm(const CNvCtrlTable& edited, const QString& stored) {
        const CNvCpTable& value = *edited.NvCpTable;
        confirmed[{value.Name, edited.ItemArrayIndex}].insert(
            metricItem(value, edited.ItemArrayIndex, readSpec(value), stored));
    }

    void readAll() {
        for (const auto& value : specific.NvCpTables) {
            if (value->MyNetworkVariable) {
                value->GetNetworkValue();
                for (int item = 0; item < value->HeldItems().size(); ++item)
                    stale.erase({value->Name, item});
            }
        }
        for (auto& [name, box] : boxes) {
            if (!box.marked)
                box.text = shown(field(name));
        }
    }

    int boxOf(const QString& name) const {
        for (const EditedField& edited : EditedFields) {
            if (name == QLatin1String(edited.name))
                return edited.box;
        }
        return -1;
    }

    QString storedText(const CNvCtrlTable& edited, Box& box) const {
        if (edited.Name == u"nciLocation" || boxOf(edited.Name) == DeadbandComboBox)
            return box.text;
        const qint16 units = specific.UnitSystem;
        const rules::RangeResult range =
            rules::checkRange(box.text, edited.Description, edited.MaxLimit(units),
                              edited.MinLimit(units), edited.OffsetValue, units);
        box.text = range.shownText;
        return range.storedText;
    }

    // Checked as the user's text brought into range, before the offset.
    bool refused(const CNvCtrlTable& edited, const QString& text) const {
        Box probe{text, true, {}};
        storedText(edited, probe);
        return rules::heldTextRefusal(edited, probe.text).has_value();
    }

    rules::SetpointTexts setpointTexts() const {
        const auto text = [this](const char* name) { return boxes.at(QLatin1String(name)).text; };
        return {text("occ_heat_setpts"),   text("unocc_heat_setpts"), text("occ_cool_setpts"),
                text("unocc_cool_setpts"), text("max_heat"),          text("min_cool_setpts"),
                text("dead_band")};
    }

    // Leaving a box: a text that is no number is undone, then the rules run.
    void leave(const QString& name) {
        Box& box = boxes[name];
        const int index = boxOf(name);
        if (index >= 0 && name != u"nciLocation" && !rules::isNumeric(box.text)) {
            box.text = box.saved;
            box.marked = false;
            return;
        }
        rules::RuleOutcome outcome;
        try {
            outcome = index == DeadbandComboBox
                          ? rules::outcomeLeavingComboBox(2, setpointTexts())
                          : rules::outcomeLeavingTextBox(index, setpointTexts());
        } catch (const Error&) {
            return;
        }
        for (const rules::Adjustment& adjustment : outcome.adjustments) {
            for (const EditedField& edited : EditedFields) {
                if (edited.box == adjustment.target) {
                    Box& target = boxes[QString::fromLatin1(edited.name)];
                    if (!target.marked)
                        target.saved = target.text;
                    target.text = adjustment.text;
                    target.marked = true;
                }
            }
        }
    }

    Device& m_device;
};

// --- The steps of a session ---------------------------------------------------

// What the steps need to know ahead: the units the session shows.
struct Shown {
    qint16 units = Specific::Imperial;
};

// The session and the device it works on; checked after every step.
struct World {
    Device device;
    Session session{device};
    // The device's items as metric texts after the step before, by value.
    std::map<QString, QStringList> deviceBefore;
    // A second window that only reads a copy of the device: what a fresh
    // read shows.
    Device probeDevice;
    Session probe{probeDevice};

    QStringList deviceItems(const CNvCpTable& value) const {
        const auto& property = device.properties.at(pathOf(value));
        const QString text = FormatEngine::format(metricSpec(value), property->bytes);
        return value.Separator.isEmpty() ? QStringList{text} : text.split(value.Separator);
    }
    QString pathOf(const CNvCpTable& value) const {
        for (const auto& [path, property] : device.properties) {
            if (property == value.MyNetworkVariable)
                return path;
        }
        return {};
    }
    std::vector<const CNvCpTable*> boundValues() const {
        std::vector<const CNvCpTable*> values;
        for (const auto& value : session.specific.NvCpTables) {
            if (value->MyNetworkVariable)
                values.push_back(value.get());
        }
        return values;
    }
    void rememberDevice() {
        for (const CNvCpTable* value : boundValues())
            deviceBefore[value->Name] = deviceItems(*value);
    }

    // The device changed only where the user confirmed the new value.
    void checkDeviceHoldsOnlyConfirmedValues() const {
        for (const CNvCpTable* value : boundValues()) {
            const QStringList now = deviceItems(*value);
            const QStringList before = deviceBefore.at(value->Name);
            for (int item = 0; item < now.size(); ++item) {
                if (now[item] == before.value(item))
                    continue;
                const auto confirmedHere = session.confirmed.find({value->Name, item});
                RC_ASSERT(confirmedHere != session.confirmed.end());
                RC_ASSERT(confirmedHere->second.count(now[item]) == 1u);
            }
        }
    }

    // Every pending edit shows in a marked box: none waits unseen for the
    // next send.
    void checkNoEditHidesBehindAnUnmarkedBox() const {
        for (const CNvCpTable* value : boundValues()) {
            for (auto edit = value->PendingItems().cbegin(); edit != value->PendingItems().cend();
                 ++edit) {
                bool shownMarked = false;
                for (const auto& [name, box] : session.boxes) {
                    const CNvCtrlTable& field = session.field(name);
                    shownMarked = shownMarked || (box.marked && field.NvCpTable.get() == value &&
                                                  field.ItemArrayIndex == edit.key());
                }
                RC_ASSERT(shownMarked);
            }
        }
    }

    // An unmarked box shows what a fresh read of the device shows, unless
    // another process changed the item since the session read it.
    void checkUnmarkedBoxesShowTheDevice() {
        for (auto& [path, property] : probeDevice.properties)
            property->bytes = device.properties.at(path)->bytes;
        probe.specific.UnitSystem = session.specific.UnitSystem;
        probe.refreshAll();
        for (const auto& [name, box] : session.boxes) {
            const CNvCtrlTable& field = session.field(name);
            if (box.marked || session.stale.count({field.NvCpTable->Name, field.ItemArrayIndex}))
                continue;
            RC_ASSERT(box.text == probe.boxes.at(name).text);
        }
    }

    void check() {
        checkDeviceHoldsOnlyConfirmedValues();
        checkNoEditHidesBehindAnUnmarkedBox();
        checkUnmarkedBoxesShowTheDevice();
        rememberDevice();
    }
};

using Step = rc::state::Command<Shown, World>;

struct Open : Step {
    void run(const Shown&, World& world) const override {
        world.session.open();
        world.check();
    }
    void show(std::ostream& os) const override { os << "open"; }
};

rc::Gen<QString> numberText(int lowest, int highest) {
    return rc::gen::map(
        rc::gen::pair(rc::gen::inRange(lowest, highest + 1), rc::gen::element(0, 0, 5, 25, 3)),
        [](const std::pair<int, int>& number) {
            return number.second == 0
                       ? QString::number(number.first)
                       : QStringLiteral("%1.%2").arg(number.first).arg(number.second);
        });
}

rc::Gen<QString> locationText() {
    return rc::gen::map(
        rc::gen::container<std::string>(rc::gen::element('a', 'B', ' ', '7', '-', '\xe9')),
        [](const std::string& text) { return QString::fromLatin1(text.c_str()); });
}

struct Edit : Step {
    QString name;
    QString text;

    explicit Edit(const Shown& shown) {
        const EditedField& edited =
            EditedFields[*rc::gen::inRange<size_t>(0, std::size(EditedFields))];
        name = QString::fromLatin1(edited.name);
        const bool imperial = shown.units == Specific::Imperial;
        if (name == u"dead_band") {
            const QStringList items = rules::displayUnitsFor(shown.units).deadbandItems;
            text = *rc::gen::elementOf(std::vector<QString>(items.begin(), items.end()));
        } else if (name == u"password")
            text = *numberText(-5, 1100);
        else if (name == u"Unocc_timer")
            text = *numberText(0, 30);
        else if (name == u"nciLocation")
            text = *locationText();
        else
            text = *(imperial ? numberText(30, 110) : numberText(0, 45));
    }
    void run(const Shown&, World& world) const override {
        world.session.edit(name, text);
        world.check();
    }
    void show(std::ostream& os) const override {
        os << "edit " << name.toStdString() << " \"" << text.toStdString() << '"';
    }
};

struct Apply : Step {
    void run(const Shown&, World& world) const override {
        world.session.apply();
        world.check();
    }
    void show(std::ostream& os) const override { os << "apply"; }
};

struct ApplyRefused : Step {
    void run(const Shown&, World& world) const override {
        world.device.refuseWrites(true);
        world.session.apply();
        world.device.refuseWrites(false);
        world.check();
    }
    void show(std::ostream& os) const override { os << "apply, refused by the device"; }
};

// The device refuses the send, the user answers Retry once it takes writes
// again: what the red boxes show is sent once more. An Apply stopped before
// any send (a text the device cannot hold) brings up no Retry: the user then
// only sees why, and a retry here would send edits the boxes no longer show.
struct Retry : Step {
    void run(const Shown&, World& world) const override {
        world.device.refuseWrites(true);
        const Session::Sent sent = world.session.apply();
        world.device.refuseWrites(false);
        if (sent == Session::Sent::SomeRefused)
            world.session.retry();
        world.check();
    }
    void show(std::ostream& os) const override { os << "apply, refused, retried"; }
};

struct Cancel : Step {
    void run(const Shown&, World& world) const override {
        world.session.cancel();
        world.check();
    }
    void show(std::ostream& os) const override { os << "cancel"; }
};

struct RefreshAll : Step {
    void run(const Shown&, World& world) const override {
        world.session.refreshAll();
        world.check();
    }
    void show(std::ostream& os) const override { os << "refresh all"; }
};

struct ChangeUnits : Step {
    void apply(Shown& shown) const override {
        shown.units = shown.units == Specific::Imperial ? Specific::Metric : Specific::Imperial;
    }
    void run(const Shown&, World& world) const override {
        world.session.changeUnits();
        world.check();
    }
    void show(std::ostream& os) const override { os << "units change"; }
};

// Another client of the network writes one item, in metric units.
struct OtherWrite : Step {
    QString path;
    int item = 0;
    QString text;

    OtherWrite() {
        const int choice = *rc::gen::inRange(0, 5);
        switch (choice) {
        case 0:
            path = QStringLiteral("F:0/C:0:60");
            item = *rc::gen::inRange(0, 6);
            text = *numberText(12, 32);
            break;
        case 1:
            path = QStringLiteral("F:0/C:4:12");
            item = 0;
            text = QString::number(*rc::gen::inRange(0, 1001));
            break;
        case 2:
            path = QStringLiteral("F:0/C:4:12");
            item = 13;
            text = *rc::gen::element(QStringLiteral("1.11"), QStringLiteral("1.67"),
                                     QStringLiteral("2.22"));
            break;
        case 3:
            path = QStringLiteral("F:0/C:4:12");
            item = *rc::gen::element(7, 8);
            text = *numberText(15, 30);
            break;
        default:
            path = QStringLiteral("F:0/C:0:17");
            text = *rc::gen::element(QStringLiteral("Hall 2"), QStringLiteral(""));
            break;
        }
    }
    void run(const Shown&, World& world) const override {
        auto& property = *world.device.properties.at(path);
        const QString spec = property.format == u"SNVT_str_asc"
                                 ? property.format
                                 : property.format + QStringLiteral("#SI");
        property.bytes = FormatEngine::withItems(spec, property.bytes, {{item, text}});
        for (const CNvCpTable* value : world.boundValues()) {
            if (world.pathOf(*value) == path)
                world.session.stale.insert({value->Name, item});
        }
        world.rememberDevice();
        world.check();
    }
    void show(std::ostream& os) const override {
        os << "another process writes " << path.toStdString() << " item " << item << " \""
           << text.toStdString() << '"';
    }
};

RC_GTEST_PROP(HeldAndPending, OnlyConfirmedValuesReachTheDeviceAndUnmarkedBoxesShowIt, ()) {
    World world;
    world.session.open();
    world.rememberDevice();
    rc::state::check(
        Shown{}, world,
        rc::state::gen::execOneOfWithArgs<Open, Edit, Edit, Edit, Edit, Apply, ApplyRefused, Retry,
                                          Cancel, RefreshAll, ChangeUnits, OtherWrite>());
}

} // namespace
