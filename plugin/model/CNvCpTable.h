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
    lns::Ref<lns::ConfigProperty> MyNetworkVariable;
    bool LocalizationSpecific = false;
    qint16 ArrayIndex = 0;

    // What the device holds is kept apart from what the user has typed but
    // not yet sent, so an edit reaches the device only through a send and a
    // refused one never passes for the device's value.

    // The items the device holds, from the last successful read or write;
    // "?" placeholders where the device could not be read. Empty before the
    // first read.
    const QStringList& HeldItems() const { return m_held; }
    // The edits not yet sent, by item.
    const QMap<int, QString>& PendingItems() const { return m_pending; }
    // What is shown and checked: the held items overlaid by the pending edits.
    QStringList NvAsArray() const;
    // True while an edit is pending.
    bool ValueAsChanges() const { return !m_pending.isEmpty(); }
    // Item `item` becomes a pending edit; fails with subscript out of range
    // for an item the value does not hold.
    void Edit(int item, const QString& text);
    // Forgets every pending edit: what is shown is what the device holds.
    void DropPendingEdits();
    // Whether item `item` is known: held and not a placeholder, or edited.
    bool IsKnown(int item) const;

    // The shown items joined with Separator.
    QString NvAsString() const;

    // Writes the pending items, in the format the value was read with; on
    // success they become held as the device now holds them. The device's
    // other items stay as they are at the time of the write, so what another
    // client changed since the read is kept. Fails with source
    // "SendNetworkValue"; held and pending stay as they were then.
    bool SendNetworkValue();
    // The bytes the device holds for `text` as item `item` of this value, in
    // the format of the last read (of the display units before any read).
    // Fails with the formatting failure when the device cannot hold the text
    // exactly as given.
    QByteArray EncodedItem(int item, const QString& text) const;
    // The text of item `item` for the bytes EncodedItem gives, in the same
    // format: how this value shows what another unit system's text holds.
    QString FormattedItem(int item, const QByteArray& bytes) const;
    // Replaces the held items with the value read from the network; pending
    // edits stay, converted when the read changed the unit system. Fails with
    // source "GetNetworkValue"; the held items stay then.
    void GetNetworkValue();
    // The same within `reading`: what it fetched already is not fetched again.
    void GetNetworkValue(DeviceReading& reading);

private:
    QString formatSpecifier() const;
    QString writeFormatSpecifier() const;
    QStringList readItems(DeviceReading& reading) const;
    QStringList splitValue(const QString& text) const;
    QString heldAfterWrite(int item, const QString& sent) const;
    void convertPending(const QString& fromSpec, const QString& toSpec);

    const Specific& m_process;
    lns::Ref<lns::System> m_system;
    // The format specifier of the last read; writes use it again, since other
    // values may share the same property under another format.
    QString m_readFormatSpec;
    QStringList m_held;
    QMap<int, QString> m_pending;
};
