// SPDX-License-Identifier: Apache-2.0
#include "WindowFixture.h"

#include "KitCopy.h"
#include "TestApplication.h"
#include "model/Specific.h"
#include "objectserver/ObjectServerFromSettings.h"
#include "objectserver/SimResourceCatalog.h"
#include "registration/PlugInRegistration.h"
#include "registration/ResourceCatalogRegistration.h"
#include "support/CRegistry.h"
#include "support/fLog.h"

#include <QDir>
#include <sqlite3.h>
#include <stdexcept>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

// A progress window that only records what it was asked to show.
class RecordingProgress : public ProgressWindow {
public:
    explicit RecordingProgress(QStringList& texts) : m_texts(texts) {}
    void DisplayStatus(const QString& text) override { m_texts << text; }

private:
    QStringList& m_texts;
};

} // namespace

namespace {

const QString PlugInKey =
    QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Plug-Ins\\Zentaro PIR ready RM42xx Configure");

} // namespace

WindowFixture::WindowFixture(bool resourcesRegistered, const QString& displayUnits) {
    testApplication();
    const QString lonWorks = root.path() + QStringLiteral("/LonWorks");
    copyFromKit(QString(), lonWorks);
    store = std::make_unique<SettingsStore>(root.settingsStoreFile());
    CRegistry(*store).MachineSetting(QStringLiteral("SOFTWARE\\LonWorks"),
                                     QStringLiteral("LonWorks Path"), lonWorks);
    if (!displayUnits.isEmpty())
        CRegistry(*store).MachineSetting(PlugInKey, QStringLiteral("DisplayUnits"), displayUnits);
    Specific& specific = Specific::process();
    specific.NvCtrlTables.Clear();
    specific.NvCpTables.Clear();
    InitResourceLocation(specific, *store);
    if (resourcesRegistered)
        ResourceCatalogRegistration(state, *store, dialogs, lns::sim::simResourceCatalogFactory())
            .Register(false);
    state.ResourceFilesPresent = false;

    window = std::make_unique<fMain>(
        fMainServices{dialogs, *store, state, specific, lns::sim::simResourceCatalogFactory(),
                      [this] { return std::make_unique<RecordingProgress>(progressTexts); },
                      PlugInRegistration::PlugInKey(),
                      [this] {
                          return ResourceCatalogRegistration(state, *store, dialogs,
                                                             lns::sim::simResourceCatalogFactory())
                              .Check();
                      }});
    auto server = lns::sim::objectServerFromSettings(*store);
    server->keepJournal(true);
    window->setObjectServer(std::move(server));
    m_services = std::make_unique<PlugInServices>(PlugInServices{
        state, *window, m_registration,
        [this] { return std::make_unique<RecordingProgress>(progressTexts); }, *store,
        specific});
    api = std::make_unique<LNSPlugInAPI>(*m_services);
}

WindowFixture::~WindowFixture() {
    // The plug-in object ends the plug-in through the window and the services.
    api.reset();
    window.reset();
}

void WindowFixture::openNetwork(const QString& name) {
    network = name;
    api->setNetworkInterfaceName(QString());
    api->setNetworkName(name);
}

void WindowFixture::configureDevice(const QString& subsystemAndDevice) {
    api->SendCommand(13, 7, network + QStringLiteral("/System 1/") + subsystemAndDevice);
}

void WindowFixture::configureObject(const QString& path) {
    api->SendCommand(13, 28, network + QStringLiteral("/System 1/") + path);
}

QStringList WindowFixture::logRows() const {
    QStringList rows;
    const QTreeWidget* list = window->activityLog().EchLog;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(1) + QStringLiteral(" | ") +
                    list->topLevelItem(i)->text(2);
    return rows;
}

namespace {

// Runs one update of a device's record in the network's database; ?1 is the
// device's name, ?2 and ?3 the texts given.
void updateDevice(const QString& file, const QByteArray& sql, const QStringList& texts) {
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_busy_timeout(db, 30000);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &update, nullptr);
    for (int i = 0; i < texts.size(); ++i)
        sqlite3_bind_text(update, i + 1, texts[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    const int stepped = sqlite3_step(update);
    const int changes = sqlite3_changes(db);
    sqlite3_finalize(update);
    sqlite3_close(db);
    if (stepped != SQLITE_DONE || changes != 1)
        throw std::runtime_error("cannot change " + texts.join(u' ').toStdString());
}

} // namespace

void WindowFixture::setDeviceFailure(const QString& device, const QString& failure) {
    const QString file = root.path() + QStringLiteral("/LonWorks/Databases/") + network +
                         QStringLiteral("/network.sqlite3");
    if (failure.isEmpty())
        updateDevice(file,
                     "UPDATE records SET document = json_remove(document, '$.failure'),"
                     " revision = revision + 1 WHERE kind = 'device' AND"
                     " json_extract(document, '$.name') = ?1",
                     {device});
    else
        updateDevice(file,
                     "UPDATE records SET document = json_set(document, '$.failure', ?2),"
                     " revision = revision + 1 WHERE kind = 'device' AND"
                     " json_extract(document, '$.name') = ?1",
                     {device, failure});
}

void WindowFixture::setPropertyFailure(const QString& device, const QString& property,
                                       const QString& failure) {
    updateDevice(root.path() + QStringLiteral("/LonWorks/Databases/") + network +
                     QStringLiteral("/network.sqlite3"),
                 "UPDATE records SET document = json_set(document,"
                 " (SELECT t.path FROM json_tree(records.document) t WHERE t.key = 'name'"
                 " AND t.atom = ?2 AND t.path LIKE '%configProperties%') || '.failure', ?3),"
                 " revision = revision + 1 WHERE kind = 'device' AND"
                 " json_extract(document, '$.name') = ?1",
                 {device, property, failure});
}

QString WindowFixture::storedDisplayUnits() const {
    return CRegistry(*store).MachineSetting(PlugInKey, QStringLiteral("DisplayUnits"));
}

QString WindowFixture::storedValue(const QString& subsystemAndDevice, const QString& property,
                                   const QString& formatSpec) const {
    const auto server = lns::sim::objectServerFromSettings(*store);
    server->Open();
    const auto net = server->Networks()->Item(network);
    net->Open();
    const auto system = net->Systems()->Item(1);
    system->Open();
    const auto device = system->Subsystems()
                            ->Item(subsystemAndDevice.section(u'/', 0, 0))
                            ->AppDevices()
                            ->Item(subsystemAndDevice.section(u'/', 1));
    const auto deviceInterface = device->Interface();
    std::vector<lns::Ref<lns::ConfigProperties>> groups = {deviceInterface->ConfigProperties()};
    const auto objects = deviceInterface->LonMarkObjects();
    for (int i = 1; i <= objects->Count(); ++i)
        groups.push_back(objects->Item(i)->ConfigProperties());
    for (const auto& properties : groups) {
        for (int i = 1; i <= properties->Count(); ++i) {
            const auto cp = properties->Item(i);
            if (cp->Name() == property) {
                cp->setFormatSpec(formatSpec);
                return cp->FormattedValue();
            }
        }
    }
    return QString();
}

void saveTabScreenshots(fMain& window, const QString& prefix) {
    const QString folder = QStringLiteral(RM42_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    window.resize(window.sizeHint()); // whole pages, whatever the test screen's size
    window.show();
    for (int tab = 0; tab < window.tabData->count(); ++tab) {
        window.tabData->setCurrentIndex(tab);
        window.grab().save(QStringLiteral("%1/%2-tab%3.png").arg(folder, prefix).arg(tab));
    }
    window.tabData->setCurrentIndex(0);
}
