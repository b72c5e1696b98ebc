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
const QString Placeholder = QStringLiteral("?");

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

QStringList CNvCpTable::NvAsArray() const {
    QStringList items = m_held;
    for (auto edit = m_pending.cbegin(); edit != m_pending.cend(); ++edit)
        items[edit.key()] = edit.value();
    return items;
}

void CNvCpTable::Edit(int item, const QString& text) {
    if (item < 0 || item >= m_held.size())
        throw RuntimeErrors::subscriptOutOfRange(Name);
    m_pending.insert(item, text);
}

void CNvCpTable::DropPendingEdits() {
    m_pending.clear();
}

bool CNvCpTable::IsKnown(int item) const {
    if (m_pending.contains(item))
        return true;
    return item >= 0 && item < m_held.size() && m_held[item] != Placeholder;
}

QString CNvCpTable::NvAsString() const {
    return NvAsArray().join(Separator);
}

bool CNvCpTable::SendNetworkValue() {
    const QString source = QStringLiteral("SendNetworkValue");
    try {
        if (!MyNetworkVariable)
            throw RuntimeErrors::objectNotSet(source);
        MyNetworkVariable->setFormatSpec(writeFormatSpecifier());
        MyNetworkVariable->updateFormattedElement(ArrayIndex, m_pending);
    } catch (const Error& failure) {
        throw valueFailure(failure, source, QStringLiteral("Error updating"), Name,
                           {lns::Code::WriteFailed, lns::Code::FormatFailed});
    }
    for (auto sent = m_pending.cbegin(); sent != m_pending.cend(); ++sent)
        m_held[sent.key()] = heldAfterWrite(sent.key(), sent.value());
    m_pending.clear();
    return true;
}

QByteArray CNvCpTable::EncodedItem(int item, const QString& text) const {
    return lns::encodedItem(writeFormatSpecifier(), item, text);
}

QString CNvCpTable::FormattedItem(int item, const QByteArray& bytes) const {
    return lns::formattedItem(writeFormatSpecifier(), item, bytes);
}

// As a read would show it ("70" is held as "70.00", 89.975 ºF as "90.0");
// the text as sent when the format cannot say, since the device took it.
QString CNvCpTable::heldAfterWrite(int item, const QString& sent) const {
    try {
        const QString spec = writeFormatSpecifier();
        return lns::formattedItem(spec, item, lns::writtenItem(spec, item, sent));
    } catch (const Error&) {
        return sent;
    }
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
        QStringList items = readItems(reading);
        convertPending(writeFormatSpecifier(), formatSpec);
        m_held = std::move(items);
        m_readFormatSpec = formatSpec;
        // An edit of an item the value no longer has cannot be sent.
        while (!m_pending.isEmpty() && m_pending.lastKey() >= m_held.size())
            m_pending.erase(std::prev(m_pending.end()));
    } catch (const Error& failure) {
        throw valueFailure(failure, source, QStringLiteral("Error reading"), Name,
                           {lns::Code::DeviceUnreachable});
    }
}

// A pending edit keeps its meaning in the new units (70 ºF is 21.11 ºC); one
// the format cannot read stays as typed, for the user to see and mend.
void CNvCpTable::convertPending(const QString& fromSpec, const QString& toSpec) {
    if (fromSpec == toSpec)
        return;
    for (auto edit = m_pending.begin(); edit != m_pending.end(); ++edit) {
        try {
            edit.value() = lns::formattedItem(toSpec, edit.key(),
                                              lns::writtenItem(fromSpec, edit.key(), edit.value()));
        } catch (const Error&) {
        }
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
