// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/RecordStore.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

class SimComponentApp : public ComponentApp {
public:
    // `apps` is the list that holds the record, inside a record that the pointer keeps alive.
    SimComponentApp(std::shared_ptr<RecordStore> store,
                    std::shared_ptr<SharedList<ComponentAppRecord>> apps,
                    Shared<ComponentAppRecord> record);

    QString Name() const override;
    QString ProgId() const override;
    void setProgId(const QString& progId) override;
    qint32 CommandId() const override;
    void setCommandId(qint32 commandId) override;
    qint16 ObjectClassId() const override;
    void setObjectClassId(qint16 objectClassId) override;
    QString Description() const override;
    void setDescription(const QString& description) override;
    QString Version() const override;
    void setVersion(const QString& version) override;
    QString ManufacturerId() const override;
    void setManufacturerId(const QString& manufacturerId) override;
    bool DefaultAction() const override;
    void setDefaultAction(bool defaultAction) override;

private:
    template <class Value> Value read(const char* member, Value ComponentAppRecord::*field) const;
    template <class Value>
    void write(const char* member, const QString& argument, Value ComponentAppRecord::*field,
               const Value& value);

    std::shared_ptr<RecordStore> m_store;
    std::shared_ptr<SharedList<ComponentAppRecord>> m_apps;
    Shared<ComponentAppRecord> m_record;
};

class SimComponentApps : public SimCollection<ComponentApp, ComponentAppRecord, ComponentApps> {
public:
    // `apps` lives inside a record that the pointer keeps alive.
    SimComponentApps(std::shared_ptr<RecordStore> store,
                     std::shared_ptr<SharedList<ComponentAppRecord>> apps);

    // In a network, a new application stays with this process while its
    // fields are set; its next other call (or closing the network) saves it
    // with all of them, in one change that other processes see whole.

    Ref<ComponentApp> Add(const QString& name, const QString& progId,
                          qint16 objectClassId) override;
    void Remove(int index) override;

protected:
    void beginCall(const QString& line) const override { m_store->beginCall(line); }
    const SharedList<ComponentAppRecord>& records() const override { return *m_apps; }
    Ref<ComponentApp> wrap(const Shared<ComponentAppRecord>& record) const override;

private:
    std::shared_ptr<RecordStore> m_store;
    std::shared_ptr<SharedList<ComponentAppRecord>> m_apps;
};

} // namespace lns::sim
