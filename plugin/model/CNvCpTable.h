// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/ObjectServer.h"

#include <QMap>
#include <QString>
#include <QStringList>

class DeviceReading;
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

    // Writes the items changed since the value was read, in the format it was
    // read with, and clears ValueAsChanges. The device's other items stay as
    // they are at the time of the write, so what another client changed since
    // the read is kept. Fails with source "SendNetworkValue"; stays dirty then.
    bool SendNetworkValue();
    // The bytes the device holds for `text` as item `item` of this value, in
    // the format of the last read (of the display units before any read).
    // Fails with the formatting failure when the device cannot hold the text
    // exactly as given.
    QByteArray EncodedItem(int item, const QString& text) const;
    // The text of item `item` for the bytes EncodedItem gives, in the same
    // format: how this value shows what another unit system's text holds.
    QString FormattedItem(int item, const QByteArray& bytes) const;
    // Replaces NvAsArray with the value read from the network. Fails with
    // source "GetNetworkValue"; NvAsArray keeps its items then.
    void GetNetworkValue();
    // The same within `reading`: what it fetched already is not fetched again.
    void GetNetworkValue(DeviceReading& reading);

private:
    QString formatSpecifier() const;
    QString writeFormatSpecifier() const;
    QMap<int, QString> editedItems() const;
    QStringList readItems(DeviceReading& reading) const;
    QStringList splitValue(const QString& text) const;

    const Specific& m_process;
    lns::Ref<lns::System> m_system;
    // The format specifier of the last read; writes use it again, since other
    // values may share the same property under another format.
    QString m_readFormatSpec;
    // The items as last read or written: what differs from them was edited.
    QStringList m_deviceItems;
};
