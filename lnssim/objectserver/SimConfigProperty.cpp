// SPDX-License-Identifier: Apache-2.0
#include "objectserver/SimConfigProperty.h"

#include "objectserver/FormatEngine.h"

#include <optional>

namespace lns::sim {

namespace {

const QString Source = QStringLiteral("LNS Object Server");

QString formatName(const QString& formatSpec) {
    return formatSpec.section(QLatin1Char('#'), 0, 0);
}

} // namespace

SimConfigProperty::SimConfigProperty(std::shared_ptr<RecordStore> store,
                                     Shared<ConfigPropertyRecord> record,
                                     Shared<AppDeviceRecord> device)
    : m_store(std::move(store)), m_record(std::move(record)), m_device(std::move(device)) {}

void SimConfigProperty::record(const QString& call) const {
    m_store->beginCall(QStringLiteral("ConfigProperty.") + call);
}

Failure SimConfigProperty::failure() const {
    if (m_record->failure != Failure::None)
        return m_record->failure;
    return m_device ? m_device->failure : Failure::None;
}

// Only a device's values travel over the network.
void SimConfigProperty::beginTransaction() const {
    if (!m_device)
        return;
    m_store->carryTransaction();
    if (failure() == Failure::Unreachable)
        throw Error::lns(Code::DeviceUnreachable, Source,
                         QStringLiteral("Failed to communicate with target device."));
}

void SimConfigProperty::checkIndex(int index) const {
    if (index < 0 || index >= static_cast<int>(m_record->elements.size()))
        throw Error::lns(Code::InvalidArgument, Source,
                         QStringLiteral("%1 has no element %2.").arg(m_record->name).arg(index));
}

QString SimConfigProperty::formatElement(int index) const {
    return formatted(m_record->elements[static_cast<size_t>(index)]);
}

QString SimConfigProperty::formatted(const QByteArray& raw) const {
    if (failure() == Failure::FormatFails)
        throw Error::lns(Code::FormatFailed, Source,
                         QStringLiteral("An attempt to format the requested data has failed."));
    return FormatEngine::format(m_record->formatSpec, raw);
}

QString SimConfigProperty::Name() const {
    record(QStringLiteral("Name"));
    return m_record->name;
}

void SimConfigProperty::setFormatSpec(const QString& formatSpec) {
    record(QStringLiteral("setFormatSpec ") + Journal::quoted(formatSpec));
    m_record->formatSpec = formatSpec;
}

QString SimConfigProperty::FormatSpec() const {
    record(QStringLiteral("FormatSpec"));
    return m_record->formatSpec;
}

qint16 SimConfigProperty::Flags() const {
    record(QStringLiteral("Flags"));
    return m_record->flags;
}

qint16 SimConfigProperty::ElementCount() const {
    record(QStringLiteral("ElementCount"));
    return static_cast<qint16>(m_record->elements.size());
}

QString SimConfigProperty::FormattedValue() const {
    record(QStringLiteral("FormattedValue ") + Journal::quoted(m_record->name));
    beginTransaction();
    QStringList texts;
    for (int index = 0; index < static_cast<int>(m_record->elements.size()); ++index)
        texts.append(formatElement(index));
    return texts.join(QStringLiteral("; "));
}

QString SimConfigProperty::FormattedElement(int index) const {
    record(
        QStringLiteral("FormattedElement %1 %2").arg(Journal::quoted(m_record->name)).arg(index));
    checkIndex(index);
    beginTransaction();
    return formatElement(index);
}

QByteArray SimConfigProperty::FetchElement(int index) const {
    record(QStringLiteral("FetchElement %1 %2").arg(Journal::quoted(m_record->name)).arg(index));
    checkIndex(index);
    beginTransaction();
    return m_record->elements[static_cast<size_t>(index)];
}

QString SimConfigProperty::FormatFetched(const QByteArray& fetched) const {
    record(QStringLiteral("FormatFetched ") + Journal::quoted(m_record->name));
    return formatted(fetched);
}

void SimConfigProperty::beginWrite(int index) const {
    checkIndex(index);
    beginTransaction();
    if (failure() == Failure::WriteFails)
        throw Error::lns(Code::WriteFailed, Source,
                         QStringLiteral("Failed to write data to the network variable object."));
}

void SimConfigProperty::requireSameSize(const QByteArray& previous, const QByteArray& raw) const {
    if (raw.size() != previous.size())
        throw Error::lns(Code::FormatFailed, Source,
                         QStringLiteral("%1 holds %2 bytes; the format %3 gives %4.")
                             .arg(m_record->name)
                             .arg(previous.size())
                             .arg(formatName(m_record->formatSpec))
                             .arg(raw.size()));
}

void SimConfigProperty::setFormattedElement(int index, const QString& text) {
    record(QStringLiteral("setFormattedElement %1 %2 %3")
               .arg(Journal::quoted(m_record->name))
               .arg(index)
               .arg(Journal::quoted(text)));
    beginWrite(index);
    const QByteArray raw = FormatEngine::parse(m_record->formatSpec, text);
    const auto element = static_cast<size_t>(index);
    const QByteArray previous = m_record->elements[element];
    requireSameSize(previous, raw);
    // Indexed inside the change: saving first brings in other processes' changes.
    m_store->commitPart(
        m_record.get(), [&] { m_record->elements[element] = raw; },
        [&] { m_record->elements[element] = previous; });
}

bool SimConfigProperty::updateFormattedElement(int index, const QMap<int, QString>& items) {
    QStringList changes;
    for (auto it = items.cbegin(); it != items.cend(); ++it)
        changes << QStringLiteral("%1=%2").arg(it.key()).arg(Journal::quoted(it.value()));
    record(QStringLiteral("updateFormattedElement %1 %2 %3")
               .arg(Journal::quoted(m_record->name))
               .arg(index)
               .arg(changes.join(u' ')));
    beginWrite(index);
    const auto element = static_cast<size_t>(index);
    const auto updated = [&] {
        return FormatEngine::withItems(m_record->formatSpec, m_record->elements[element], items);
    };
    // A text the format refuses fails here, before any transaction.
    if (updated() == m_record->elements[element])
        return false;
    // The transaction first brings in what other processes saved and the
    // items go over that, so their writes stay. The change must not throw
    // inside the transaction: a refusal now leaves the value as it is.
    QByteArray previous;
    std::optional<Error> refused;
    m_store->commitPart(
        m_record.get(),
        [&] {
            previous = m_record->elements[element];
            try {
                m_record->elements[element] = updated();
            } catch (const Error& error) {
                refused = error;
            }
        },
        [&] { m_record->elements[element] = previous; });
    if (refused)
        throw *refused;
    return true;
}

int SimConfigProperty::ResourceScope() const {
    record(QStringLiteral("ResourceScope"));
    return m_record->scope;
}

int SimConfigProperty::TypeIndex() const {
    record(QStringLiteral("TypeIndex"));
    return m_record->typeIndex;
}

QString SimConfigProperty::DsFormatType() const {
    record(QStringLiteral("DsFormatType"));
    return m_record->dsFormatType;
}

void SimConfigProperty::setDsFormatType(const QString& formatType) {
    record(QStringLiteral("setDsFormatType ") + Journal::quoted(formatType));
    m_record->dsFormatType = formatType;
}

SimConfigProperties::SimConfigProperties(
    std::shared_ptr<RecordStore> store,
    std::shared_ptr<SharedList<ConfigPropertyRecord>> properties, Shared<AppDeviceRecord> device)
    : SimCollection(QStringLiteral("ConfigProperties")), m_store(std::move(store)),
      m_properties(std::move(properties)), m_device(std::move(device)) {}

Ref<ConfigProperty> SimConfigProperties::wrap(const Shared<ConfigPropertyRecord>& record) const {
    return std::make_shared<SimConfigProperty>(m_store, record, m_device);
}

} // namespace lns::sim
