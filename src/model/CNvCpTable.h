#pragma once

#include "lns/ObjectServer.h"

#include <QString>
#include <QStringList>

struct Specific;

// One value of the device read and written as a whole: a configuration
// property, or one element of a CP array. The value is cached as its
// formatted text split at Separator.
class CNvCpTable {
public:
    // The value reads the display units of `process` and the management mode
    // of `system` (the network's system).
    CNvCpTable(const Specific& process, lns::Ref<lns::System> system);

    QString Name;
    QString Description;
    QString Relative;
    QString Format;
    QString Separator;
    bool ValueAsChanges = false;
    lns::Ref<lns::ConfigProperty> MyNetworkVariable;
    bool LocalizationSpecific = false;
    QStringList NvAsArray;
    qint16 ArrayIndex = 0;

    // The items joined with Separator.
    QString NvAsString() const;

    // Writes NvAsString in the format it was read with and clears
    // ValueAsChanges. Fails with source "SendNetworkValue"; stays dirty then.
    bool SendNetworkValue();
    // Replaces NvAsArray with the value read from the network. Fails with
    // source "GetNetworkValue"; NvAsArray keeps its items then.
    void GetNetworkValue();

private:
    QString formatSpecifier() const;
    bool unreadableOffNet() const;
    QStringList readItems() const;
    QStringList splitValue(const QString& text) const;

    const Specific& m_process;
    lns::Ref<lns::System> m_system;
    // The format specifier of the last read; writes use it again, since other
    // values may share the same property under another format.
    QString m_readFormatSpec;
    // The last read gave the off-net placeholder instead of the value.
    bool m_holdsPlaceholder = false;
};
