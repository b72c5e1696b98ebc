#include "model/CNvCpTable.h"

#include "lns/LnsCodes.h"
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
        // Edits merged into placeholders would overwrite the stored value with them.
        if (m_holdsPlaceholder)
            throw Error(
                0, source,
                QStringLiteral("The value could not be read off-net, so it is not written."));
        MyNetworkVariable->setFormatSpec(m_readFormatSpec.isEmpty() ? formatSpecifier()
                                                                    : m_readFormatSpec);
        MyNetworkVariable->setFormattedElement(ArrayIndex, NvAsString());
    } catch (const Error& failure) {
        throw valueFailure(failure, source, QStringLiteral("Error updating"), Name,
                           {lns::Code::WriteFailed, lns::Code::FormatFailed});
    }
    ValueAsChanges = false;
    return true;
}

void CNvCpTable::GetNetworkValue() {
    const QString source = QStringLiteral("GetNetworkValue");
    try {
        if (!MyNetworkVariable || !m_system)
            throw RuntimeErrors::objectNotSet(source);
        const QString formatSpec = formatSpecifier();
        MyNetworkVariable->setFormatSpec(formatSpec);
        const bool unreadable = unreadableOffNet();
        NvAsArray = unreadable ? OffNetPlaceholder.split(u' ') : readItems();
        m_holdsPlaceholder = unreadable;
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

bool CNvCpTable::unreadableOffNet() const {
    // Both are read on every read, so that a property whose flags cannot be
    // read fails on line as well.
    const bool offNet = m_system->ManagementMode() == OffNet;
    const qint16 flags = MyNetworkVariable->Flags();
    return offNet && flags == NotReadableOffNet;
}

QStringList CNvCpTable::readItems() const {
    const QString text = MyNetworkVariable->ElementCount() > 1
                             ? MyNetworkVariable->FormattedElement(ArrayIndex)
                             : MyNetworkVariable->FormattedValue();
    return splitValue(text);
}

QStringList CNvCpTable::splitValue(const QString& text) const {
    if (text.isEmpty())
        return {};
    if (Separator.isEmpty())
        return {text};
    return text.split(Separator, Qt::KeepEmptyParts, Qt::CaseSensitive);
}
