// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimComponentApps.h"

#include <algorithm>
#include <cstddef>

namespace lns::sim {

SimComponentApp::SimComponentApp(std::shared_ptr<RecordStore> store,
                                 std::shared_ptr<SharedList<ComponentAppRecord>> apps,
                                 Shared<ComponentAppRecord> record)
    : m_store(std::move(store)), m_apps(std::move(apps)), m_record(std::move(record)) {}

template <class Value>
Value SimComponentApp::read(const char* member, Value ComponentAppRecord::*field) const {
    m_store->beginCall(QStringLiteral("ComponentApp.") + QLatin1String(member));
    return (*m_record).*field;
}

template <class Value>
void SimComponentApp::write(const char* member, const QString& argument,
                            Value ComponentAppRecord::*field, const Value& value) {
    const QString line =
        QStringLiteral("ComponentApp.") + QLatin1String(member) + QLatin1Char(' ') + argument;
    if (m_record->pending) {
        // Held by the store until this process's next other call saves it whole.
        m_store->server().beginCall(line);
        (*m_record).*field = value;
        return;
    }
    m_store->beginCall(line);
    const Value previous = (*m_record).*field;
    if (previous == value)
        return; // nothing to save
    m_store->commitPart(
        m_apps.get(), [&] { (*m_record).*field = value; }, [&] { (*m_record).*field = previous; });
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
    return std::make_shared<SimComponentApp>(m_store, m_apps, record);
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
    if (m_store->holdsNewItems()) {
        record->pending = true;
        m_apps->push_back(record);
        m_store->holdNewItem(
            m_apps.get(), [record] { record->pending = false; },
            [apps = m_apps, record] {
                apps->erase(std::remove(apps->begin(), apps->end(), record), apps->end());
            });
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
    m_store->commitPart(
        m_apps.get(),
        [&] { m_apps->erase(std::remove(m_apps->begin(), m_apps->end(), removed), m_apps->end()); },
        [&] {
            const auto at = std::min(static_cast<size_t>(index - 1), m_apps->size());
            m_apps->insert(m_apps->begin() + static_cast<std::ptrdiff_t>(at), removed);
        });
}

} // namespace lns::sim
