#include "lns/sim/SimComponentApps.h"

#include <algorithm>
#include <cstddef>

namespace lns::sim {

SimComponentApp::SimComponentApp(std::shared_ptr<RecordStore> store,
                                 Shared<ComponentAppRecord> record)
    : m_store(std::move(store)), m_record(std::move(record)) {}

template <class Value>
Value SimComponentApp::read(const char* member, Value ComponentAppRecord::*field) const {
    m_store->beginCall(QStringLiteral("ComponentApp.") + QLatin1String(member));
    return (*m_record).*field;
}

template <class Value>
void SimComponentApp::write(const char* member, const QString& argument,
                            Value ComponentAppRecord::*field, const Value& value) {
    m_store->beginCall(QStringLiteral("ComponentApp.") + QLatin1String(member) + QLatin1Char(' ') +
                       argument);
    const Value previous = (*m_record).*field;
    const bool wasPending = m_record->pending;
    m_store->commit(
        [&] {
            (*m_record).*field = value;
            m_record->pending = false;
        },
        [&] {
            (*m_record).*field = previous;
            m_record->pending = wasPending;
        });
}

QString SimComponentApp::Name() const {
    return read("Name", &ComponentAppRecord::name);
}
QString SimComponentApp::ProgId() const {
    return read("ProgId", &ComponentAppRecord::progId);
}
void SimComponentApp::setProgId(const QString& progId) {
    write("setProgId", Journal::quoted(progId), &ComponentAppRecord::progId, progId);
}
qint32 SimComponentApp::CommandId() const {
    return read("CommandId", &ComponentAppRecord::commandId);
}
void SimComponentApp::setCommandId(qint32 commandId) {
    write("setCommandId", QString::number(commandId), &ComponentAppRecord::commandId, commandId);
}
qint16 SimComponentApp::ObjectClassId() const {
    return read("ObjectClassId", &ComponentAppRecord::objectClassId);
}
void SimComponentApp::setObjectClassId(qint16 objectClassId) {
    write("setObjectClassId", QString::number(objectClassId), &ComponentAppRecord::objectClassId,
          objectClassId);
}
QString SimComponentApp::Description() const {
    return read("Description", &ComponentAppRecord::description);
}
void SimComponentApp::setDescription(const QString& description) {
    write("setDescription", Journal::quoted(description), &ComponentAppRecord::description,
          description);
}
QString SimComponentApp::Version() const {
    return read("Version", &ComponentAppRecord::version);
}
void SimComponentApp::setVersion(const QString& version) {
    write("setVersion", Journal::quoted(version), &ComponentAppRecord::version, version);
}
QString SimComponentApp::ManufacturerId() const {
    return read("ManufacturerId", &ComponentAppRecord::manufacturerId);
}
void SimComponentApp::setManufacturerId(const QString& manufacturerId) {
    write("setManufacturerId", Journal::quoted(manufacturerId), &ComponentAppRecord::manufacturerId,
          manufacturerId);
}
bool SimComponentApp::DefaultAction() const {
    return read("DefaultAction", &ComponentAppRecord::defaultAction);
}
void SimComponentApp::setDefaultAction(bool defaultAction) {
    write("setDefaultAction", Journal::boolean(defaultAction), &ComponentAppRecord::defaultAction,
          defaultAction);
}

SimComponentApps::SimComponentApps(std::shared_ptr<RecordStore> store,
                                   std::shared_ptr<SharedList<ComponentAppRecord>> apps)
    : SimCollection(QStringLiteral("ComponentApps")), m_store(std::move(store)),
      m_apps(std::move(apps)) {}

Ref<ComponentApp> SimComponentApps::wrap(const Shared<ComponentAppRecord>& record) const {
    return std::make_shared<SimComponentApp>(m_store, record);
}

Ref<ComponentApp> SimComponentApps::Add(const QString& name, const QString& progId,
                                        qint16 objectClassId) {
    beginCall(QStringLiteral("ComponentApps.Add %1 %2 %3")
                  .arg(Journal::quoted(name), Journal::quoted(progId))
                  .arg(objectClassId));
    const bool taken = std::any_of(m_apps->begin(), m_apps->end(),
                                   [&](const auto& app) { return app->name == name; });
    if (taken)
        throw Error::lns(Code::AlreadyExists, QStringLiteral("LNS Object Server"),
                         QStringLiteral("A component application named %1 exists already.")
                             .arg(Journal::quoted(name)));
    auto record = std::make_shared<ComponentAppRecord>();
    record->name = name;
    record->progId = progId;
    record->objectClassId = objectClassId;
    if (m_store->savesNewItemsWithTheirFirstChange()) {
        record->pending = true;
        m_apps->push_back(record);
    } else {
        m_store->commit([&] { m_apps->push_back(record); }, [&] { m_apps->pop_back(); });
    }
    return wrap(record);
}

void SimComponentApps::Remove(int index) {
    beginCall(QStringLiteral("ComponentApps.Remove %1").arg(index));
    if (index < 1 || index > static_cast<int>(m_apps->size()))
        throw notFound(QString::number(index));
    // Found again inside the change: saving first brings in other processes' changes.
    const Shared<ComponentAppRecord> removed = (*m_apps)[static_cast<size_t>(index - 1)];
    m_store->commit(
        [&] { m_apps->erase(std::remove(m_apps->begin(), m_apps->end(), removed), m_apps->end()); },
        [&] {
            const auto at = std::min(static_cast<size_t>(index - 1), m_apps->size());
            m_apps->insert(m_apps->begin() + static_cast<std::ptrdiff_t>(at), removed);
        });
}

} // namespace lns::sim
