// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"
#include "objectserver/RecordStore.h"
#include "objectserver/SimCollection.h"

#include <memory>

namespace lns::sim {

// A configuration property of a device (values go through the network: they
// take the transaction time and meet the device's failures) or of a device
// template (its default values, read from the database alone).
class SimConfigProperty : public ConfigProperty {
public:
    SimConfigProperty(std::shared_ptr<RecordStore> store, Shared<ConfigPropertyRecord> record,
                      Shared<AppDeviceRecord> device);

    QString Name() const override;
    void setFormatSpec(const QString& formatSpec) override;
    QString FormatSpec() const override;
    qint16 Flags() const override;
    qint16 ElementCount() const override;
    // An array's elements are joined by "; ".
    QString FormattedValue() const override;
    QString FormattedElement(int index) const override;
    QByteArray FetchElement(int index) const override;
    QString FormatFetched(const QByteArray& fetched) const override;
    void setFormattedElement(int index, const QString& text) override;
    bool updateFormattedElement(int index, const QMap<int, QString>& items) override;
    int ResourceScope() const override;
    int TypeIndex() const override;
    QString DsFormatType() const override;
    void setDsFormatType(const QString& formatType) override;

private:
    void record(const QString& call) const;
    Failure failure() const;
    void beginTransaction() const;
    void checkIndex(int index) const;
    QString formatElement(int index) const;
    QString formatted(const QByteArray& raw) const;
    void beginWrite(int index) const;
    void requireSameSize(const QByteArray& previous, const QByteArray& raw) const;

    std::shared_ptr<RecordStore> m_store;
    Shared<ConfigPropertyRecord> m_record;
    Shared<AppDeviceRecord> m_device;
};

class SimConfigProperties
    : public SimCollection<ConfigProperty, ConfigPropertyRecord, ConfigProperties> {
public:
    SimConfigProperties(std::shared_ptr<RecordStore> store,
                        std::shared_ptr<SharedList<ConfigPropertyRecord>> properties,
                        Shared<AppDeviceRecord> device);

protected:
    void beginCall(const QString& line) const override { m_store->beginCall(line); }
    const SharedList<ConfigPropertyRecord>& records() const override { return *m_properties; }
    Ref<ConfigProperty> wrap(const Shared<ConfigPropertyRecord>& record) const override;

private:
    std::shared_ptr<RecordStore> m_store;
    std::shared_ptr<SharedList<ConfigPropertyRecord>> m_properties;
    Shared<AppDeviceRecord> m_device;
};

} // namespace lns::sim
