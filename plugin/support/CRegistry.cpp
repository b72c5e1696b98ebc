// SPDX-License-Identifier: Apache-2.0
#include "support/CRegistry.h"

#include "platform/Error.h"
#include "platform/SettingsStore.h"
#include "support/PlugInIdentity.h"

namespace {

constexpr int SubKeyNameLimit = 260;

} // namespace

QString CRegistry::appSettingsKey(const QString& section) {
    return QStringLiteral("SOFTWARE\\LonWorks\\LCA\\Applets\\") + Identity().Name + QLatin1Char('\\') + section;
}

QString CRegistry::readString(Hive hive, const QString& path, const QString& name) {
    try {
        const auto value = m_store.value(hive, path, name);
        if (!value || value->type != ValueType::String || value->data.isEmpty())
            return QString();
        const QString text = value->text();
        const qsizetype nul = text.indexOf(QChar(u'\0'));
        return nul < 0 ? text : text.left(nul);
    } catch (const Error&) {
        return QString();
    }
}

void CRegistry::writeString(Hive hive, const QString& path, const QString& name, const QString& text) {
    try {
        m_store.setValue(hive, path, RegistryValue::string(name, text));
    } catch (const Error&) {
        m_errorNumber = WriteFailed;
    }
}

QString CRegistry::MachineSetting(const QString& sSection, const QString& sKey) {
    return readString(Hive::LocalMachine, sSection, sKey);
}

void CRegistry::MachineSetting(const QString& sSection, const QString& sKey, const QString& sSetting) {
    writeString(Hive::LocalMachine, sSection, sKey, sSetting);
}

QString CRegistry::AppSetting(const QString& sSection, const QString& sKey) {
    return readString(Hive::CurrentUser, appSettingsKey(sSection), sKey);
}

void CRegistry::AppSetting(const QString& sSection, const QString& sKey, const QString& sSetting) {
    writeString(Hive::CurrentUser, appSettingsKey(sSection), sKey, sSetting);
}

bool CRegistry::DeleteMachineKey(const QString& sKey) {
    try {
        return deleteTree(sKey);
    } catch (const Error&) {
        return false;
    }
}

// Deletes the key itself, or first its sub-keys one by one, as the platform
// only deletes keys that have none.
bool CRegistry::deleteTree(const QString& path) {
    if (m_store.deleteKey(Hive::LocalMachine, path))
        return true;
    if (!m_store.keyExists(Hive::LocalMachine, path))
        return false;
    for (;;) {
        const auto children = m_store.subKeys(Hive::LocalMachine, path);
        if (!children || children->isEmpty())
            break;
        QString child = children->first().left(SubKeyNameLimit);
        const qsizetype nul = child.indexOf(QChar(u'\0'));
        if (nul >= 0)
            child.truncate(nul);
        if (!deleteTree(path + QLatin1Char('\\') + child))
            return false;
    }
    return m_store.deleteKey(Hive::LocalMachine, path);
}

QString CRegistry::FindFirstMachineKey(const QString& sSection) {
    m_index = 0;
    try {
        m_keyOpen = m_store.keyExists(Hive::LocalMachine, sSection);
    } catch (const Error&) {
        m_keyOpen = false;
    }
    m_openKey = sSection;
    if (!m_keyOpen)
        return QString();
    return GetNextMachineKey();
}

QString CRegistry::GetNextMachineKey() {
    const qint32 index = m_index++;
    if (!m_keyOpen)
        return QString();
    try {
        const auto children = m_store.subKeys(Hive::LocalMachine, m_openKey);
        if (!children || index < 0 || index >= children->size())
            return QString();
        return children->at(index);
    } catch (const Error&) {
        return QString();
    }
}
