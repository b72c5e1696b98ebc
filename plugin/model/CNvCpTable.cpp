// SPDX-License-Identifier: Apache-2.0
#include "model/CNvCpTable.h"

#include "lns/ItemEncoding.h"
#include "lns/LnsCodes.h"
#include "model/DeviceReading.h"
#include "model/LnsErrorText.h"
#include "model/RuntimeErrors.h"
#include "model/Specific.h"

namespace {

constexpr int OffNet = 1;
constexpr qint16 NotReadableOffNet = 36;
const QString OffNetPlaceholder =
    QStringLiteral("? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ? ?");

// The reason of a failure: the text of the LNS codes in `known`, the
// failure's own description otherwise.
QString reasonOf(const Error& failure, std::initializer_list<int> known) {
    const int code = failure.lnsCode();
    for (int knownCode : known) {
        if (code == knownCode)
            return LnsErrorText(static_cast<qint16>(code));
    }
    return failure.description();
}

Error valueFailure(const Error& failure, const QString& source, const QString& action,
                   const QString& name, std::initializer_list<int> known) {
    return Error(failure.number(), source,
                 action + u' ' + name + QStringLiteral(" \r\n") + reasonOf(failure, known));
}

} // namespace

CNvCpTable::CNvCpTable(const Specific& process, lns::Ref<lns::System> system)
    : m_process(process), m_system(std::move(system)) {}

QString CNvCpTable::NvAsString() const {
    return NvAsArray.join(Separator);
}

bool CNvCpTable::SendNetworkValue() {
    const QString source = QStringLiteral("SendNetworkValue");
    try {
        if (!MyNetworkVariable)
            throw RuntimeErrors::objectNotSet(source);
        MyNetworkVariable->setFormatSpec(writeFormatSpecifier());
        MyNetworkVariable->updateFormattedElement(ArrayIndex, editedItems());
    } catch (const Error& failure) {
        throw valueFailure(failure, source, QStringLiteral("Error updating"), Name,
                           {lns::Code::WriteFailed, lns::Code::FormatFailed});
    }
    m_deviceItems = NvAsArray;
    ValueAsChanges = false;
    return true;
}

QByteArray CNvCpTable::EncodedItem(int item, const QString& text) const {
    return lns::encodedItem(writeFormatSpecifier(), item, text);
}

QString CNvCpTable::FormattedItem(int item, const QByteArray& bytes) const {
    return lns::formattedItem(writeFormatSpecifier(), item, bytes);
}

QMap<int, QString> CNvCpTable::editedItems() const {
    QMap<int, QString> edited;
    for (int item = 0; item < NvAsArray.size(); ++item) {
        if (item >= m_deviceItems.size() || NvAsArray[item] != m_deviceItems[item])
            edited.insert(item, NvAsArray[item]);
    }
    return edited;
}

void CNvCpTable::GetNetworkValue() {
    DeviceReading reading;
    GetNetworkValue(reading);
}

void CNvCpTable::GetNetworkValue(DeviceReading& reading) {
    const QString source = QStringLiteral("GetNetworkValue");
    try {
        if (!MyNetworkVariable || !m_system)
            throw RuntimeErrors::objectNotSet(source);
        const QString formatSpec = formatSpecifier();
        MyNetworkVariable->setFormatSpec(formatSpec);
        NvAsArray = readItems(reading);
        m_deviceItems = NvAsArray;
        m_readFormatSpec = formatSpec;
    } catch (const Error& failure) {
        throw valueFailure(failure, source, QStringLiteral("Error reading"), Name,
                           {lns::Code::DeviceUnreachable});
    }
}

QString CNvCpTable::formatSpecifier() const {
    if (!LocalizationSpecific)
        return Format;
    return Format + (m_process.UnitSystem == Specific::Imperial ? QStringLiteral("#US")
                                                                : QStringLiteral("#SI"));
}

QString CNvCpTable::writeFormatSpecifier() const {
    return m_readFormatSpec.isEmpty() ? formatSpecifier() : m_readFormatSpec;
}

QStringList CNvCpTable::readItems(DeviceReading& reading) const {
    // Both are read on every read, so that a property whose flags cannot be
    // read fails on line as well.
    const bool offNet = m_system->ManagementMode() == OffNet;
    const qint16 flags = MyNetworkVariable->Flags();
    if (offNet && flags == NotReadableOffNet)
        return OffNetPlaceholder.split(u' ');
    // A property of one element is that element as a whole.
    const int element = MyNetworkVariable->ElementCount() > 1 ? ArrayIndex : 0;
    return splitValue(
        MyNetworkVariable->FormatFetched(reading.element(*MyNetworkVariable, element)));
}

QStringList CNvCpTable::splitValue(const QString& text) const {
    if (text.isEmpty())
        return {};
    if (Separator.isEmpty())
        return {text};
    return text.split(Separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}
