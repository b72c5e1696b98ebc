// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

class SettingsStore;
enum class Hive;

// The plug-in's access to the machine-wide and per-user settings. Nothing here
// raises: reads give "" for anything missing or unreadable, a failed write
// leaves WriteFailed in ErrorNumber().
class CRegistry {
public:
    static constexpr qint32 WriteFailed = static_cast<qint32>(0x80040201u);

    explicit CRegistry(SettingsStore& store) : m_store(store) {}

    QString MachineSetting(const QString& sSection, const QString& sKey);
    void MachineSetting(const QString& sSection, const QString& sKey, const QString& sSetting);
    QString AppSetting(const QString& sSection, const QString& sKey);
    void AppSetting(const QString& sSection, const QString& sKey, const QString& sSetting);

    bool DeleteMachineKey(const QString& sKey);
    QString FindFirstMachineKey(const QString& sSection);
    QString GetNextMachineKey();

    // 0, or WriteFailed after a write that did not reach the store.
    qint32 ErrorNumber() const { return m_errorNumber; }

private:
    QString readString(Hive hive, const QString& path, const QString& name);
    void writeString(Hive hive, const QString& path, const QString& name, const QString& text);
    bool deleteTree(const QString& path);
    static QString appSettingsKey(const QString& section);

    SettingsStore& m_store;
    qint32 m_errorNumber = 0;
    QString m_openKey;
    bool m_keyOpen = false;
    qint32 m_index = 0;
};
