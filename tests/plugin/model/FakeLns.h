// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "lns/LnsCodes.h"
#include "lns/ObjectServer.h"
#include "model/CNvCpTable.h"
#include "model/FieldControl.h"
#include "model/FieldControls.h"
#include "platform/Error.h"

#include <QStringList>
#include <stdexcept>
#include <vector>

// Small in-memory stand-ins for the Object Server objects the model touches.
namespace fake {

[[noreturn]] inline void unused() {
    throw std::logic_error("not used by the model");
}

template <class T, class Base = lns::Collection<T>> class Collection : public Base {
public:
    std::vector<lns::Ref<T>> items;

    int Count() const override { return static_cast<int>(items.size()); }
    lns::Ref<T> Item(int index) const override {
        if (index < 1 || index > Count())
            throw Error::lns(lns::Code::NotFound, QStringLiteral("Item"),
                             QStringLiteral("No such item"));
        return items[index - 1];
    }
    lns::Ref<T> Item(const QString& name) const override {
        for (const auto& item : items) {
            if (item->Name() == name)
                return item;
        }
        throw Error::lns(lns::Code::NotFound, QStringLiteral("Item"),
                         QStringLiteral("No such item"));
    }
};

class ConfigProperty : public lns::ConfigProperty {
public:
    ConfigProperty(int scope, int typeIndex, QStringList values = {})
        : scope(scope), typeIndex(typeIndex), elements(std::move(values)) {}

    int scope;
    int typeIndex;
    QStringList elements;                    // one text a element; one element for an ordinary CP
    QString separator = QStringLiteral(" "); // between the items of an element
    qint16 flags = 0;
    int readFailure = 0;  // LNS code a read fails with; 0 reads
    int writeFailure = 0; // LNS code a write fails with; 0 writes
    QString formatSpec;
    QStringList journal; // "read", "read 3", "write 0 <spec> <text>"
    QString dsFormatType;

    QString Name() const override { return QStringLiteral("cp %1:%2").arg(scope).arg(typeIndex); }
    void setFormatSpec(const QString& spec) override { formatSpec = spec; }
    QString FormatSpec() const override { return formatSpec; }
    qint16 Flags() const override { return flags; }
    qint16 ElementCount() const override { return static_cast<qint16>(elements.size()); }
    QString FormattedValue() const override {
        read(QStringLiteral("read"));
        return elements.value(0);
    }
    QString FormattedElement(int index) const override {
        read(QStringLiteral("read %1").arg(index));
        return elements.value(index);
    }
    QByteArray FetchElement(int index) const override {
        read(QStringLiteral("read %1").arg(index));
        return elements.value(index).toUtf8();
    }
    QString FormatFetched(const QByteArray& fetched) const override {
        return QString::fromUtf8(fetched);
    }
    void setFormattedElement(int index, const QString& text) override {
        if (writeFailure)
            throw Error::lns(writeFailure, QStringLiteral("Write"),
                             QStringLiteral("write refused"));
        journal << QStringLiteral("write %1 %2 %3").arg(index).arg(formatSpec, text);
        elements[index] = text;
    }
    bool updateFormattedElement(int index, const QMap<int, QString>& items) override {
        if (writeFailure)
            throw Error::lns(writeFailure, QStringLiteral("Write"),
                             QStringLiteral("write refused"));
        QStringList texts = elements[index].split(separator);
        for (auto it = items.cbegin(); it != items.cend(); ++it)
            texts[it.key()] = it.value();
        const QString text = texts.join(separator);
        journal << QStringLiteral("write %1 %2 %3").arg(index).arg(formatSpec, text);
        const bool changed = text != elements[index];
        elements[index] = text;
        return changed;
    }
    int ResourceScope() const override { return scope; }
    int TypeIndex() const override { return typeIndex; }
    QString DsFormatType() const override { return dsFormatType; }
    void setDsFormatType(const QString& type) override { dsFormatType = type; }

private:
    void read(const QString& entry) const {
        if (readFailure)
            throw Error::lns(readFailure, QStringLiteral("Read"), QStringLiteral("read refused"));
        const_cast<ConfigProperty*>(this)->journal << entry;
    }
};

using ConfigProperties = Collection<lns::ConfigProperty>;

class LonMarkObject : public lns::LonMarkObject {
public:
    lns::Ref<fake::ConfigProperties> properties = std::make_shared<fake::ConfigProperties>();

    QString Name() const override { return QStringLiteral("block"); }
    int Index() const override { return 0; }
    int TypeIndex() const override { return 0; }
    int ResourceScope() const override { return 0; }
    void setResourceScope(int) override { unused(); }
    lns::Ref<lns::ConfigProperties> ConfigProperties() const override { return properties; }
    lns::Ref<lns::ComponentApps> ComponentApps() const override { unused(); }
    lns::Ref<lns::LonMarkObjects> Parent() const override { unused(); }
};

class NetworkVariable : public lns::NetworkVariable {
public:
    lns::Ref<fake::ConfigProperties> properties = std::make_shared<fake::ConfigProperties>();

    QString Name() const override { return QStringLiteral("nv"); }
    int Index() const override { return 0; }
    lns::Ref<lns::ConfigProperties> ConfigProperties() const override { return properties; }
};

class LonMarkObjects : public Collection<lns::LonMarkObject, lns::LonMarkObjects> {
public:
    lns::Ref<lns::Interface> Parent() const override { unused(); }
};

using NetworkVariables = Collection<lns::NetworkVariable>;

class Interface : public lns::Interface {
public:
    lns::Ref<fake::ConfigProperties> properties = std::make_shared<fake::ConfigProperties>();
    lns::Ref<fake::LonMarkObjects> blocks = std::make_shared<fake::LonMarkObjects>();
    lns::Ref<fake::NetworkVariables> nvs = std::make_shared<fake::NetworkVariables>();

    lns::Ref<lns::NetworkVariables> NetworkVariables() const override { return nvs; }
    lns::Ref<lns::LonMarkObjects> LonMarkObjects() const override { return blocks; }
    lns::Ref<lns::ConfigProperties> ConfigProperties() const override { return properties; }
    lns::Ref<lns::AppDevice> Parent() const override { unused(); }
};

class AppDevice : public lns::AppDevice {
public:
    lns::Ref<fake::Interface> deviceInterface = std::make_shared<fake::Interface>();

    QString Name() const override { return QStringLiteral("device"); }
    lns::Ref<lns::Interface> Interface() const override { return deviceInterface; }
    bool Commissioned() const override { return true; }
    int Test() override { return 0; }
    int State() const override { return 4; }
    lns::Ref<lns::DeviceTemplate> DeviceTemplate() const override { unused(); }
    QString ProgramId() const override { return QString(); }
    void setOnlineAccess(int) override {}
};

class System : public lns::System {
public:
    int managementMode = 0;

    QString Name() const override { return QStringLiteral("System 1"); }
    void Open() override {}
    void Close() override {}
    bool IsOpen() const override { return true; }
    int ManagementMode() const override { return managementMode; }
    lns::Ref<lns::Subsystems> Subsystems() const override { unused(); }
    lns::Ref<lns::TemplateLibrary> TemplateLibrary() const override { unused(); }
    lns::Ref<lns::ComponentApps> ComponentApps() const override { unused(); }
    lns::Ref<lns::NetworkServiceDevice> NetworkServiceDevice() const override { unused(); }
    QString XifFolder() const override { return QString(); }
    void setInternetPathOption(bool) override {}
    void InternetPathOperation(int) override {}
    void setTimingSetting(int) override {}
};

// A control that shows a fixed text.
class Control : public FieldControl {
public:
    explicit Control(Kind kind, QString text = {}) : m_kind(kind), m_text(std::move(text)) {}
    Kind kind() const override { return m_kind; }
    QString text() const override { return m_text; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }

private:
    Kind m_kind;
    QString m_text;
    bool m_enabled = true;
};

// The window's value controls as fakes, showing the given texts, with the
// single controls' design captions.
inline FieldControls windowControls(const QString& textBoxText = {},
                                    const QString& comboText = {}) {
    using Kind = FieldControl::Kind;
    FieldControls controls;
    for (auto& control : controls.txtNvi)
        control = std::make_shared<Control>(Kind::TextBox, textBoxText);
    for (auto& control : controls.cbNvi)
        control = std::make_shared<Control>(Kind::ComboBox, comboText);
    controls.txtDebug = std::make_shared<Control>(Kind::TextBox, QStringLiteral("0"));
    controls.lbModel = std::make_shared<Control>(Kind::Label, QStringLiteral("Undefined model"));
    controls.lbHvacType = std::make_shared<Control>(Kind::Label, QStringLiteral("HVT_UNKNOWN"));
    return controls;
}

// Makes `value` hold `items`, as a read of a device holding them would: the
// model's only way to its held items.
inline void holdItems(CNvCpTable& value, const QStringList& items) {
    const lns::Ref<lns::ConfigProperty> bound = value.MyNetworkVariable;
    const QString separator = value.Separator;
    if (value.Separator.isEmpty() && items.size() > 1)
        value.Separator = QStringLiteral("\x1f");
    value.MyNetworkVariable =
        std::make_shared<ConfigProperty>(0, 0, QStringList{items.join(value.Separator)});
    value.GetNetworkValue();
    value.MyNetworkVariable = bound;
    value.Separator = separator;
}

} // namespace fake
