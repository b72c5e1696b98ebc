// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationMembers.h"

#include "automation/AutomationProtocol.h"
#include "automation/LNSPlugInAPI.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace AutomationMembers {

namespace {

using namespace AutomationProtocol;

[[noreturn]] void typeMismatch(const QString& member, const char* wanted) {
    throw transportError(
        TypeMismatch,
        QStringLiteral("Type mismatch: %1 takes %2").arg(member, QLatin1String(wanted)));
}

template <class Integer> Integer toInteger(const QString& member, const QJsonValue& value) {
    if (!value.isDouble())
        typeMismatch(member, "a whole number");
    const double number = value.toDouble();
    if (std::floor(number) != number)
        typeMismatch(member, "a whole number");
    if (number < std::numeric_limits<Integer>::min() ||
        number > std::numeric_limits<Integer>::max())
        throw transportError(Overflow, QStringLiteral("Overflow: %1 does not fit %2")
                                           .arg(QString::number(number, 'g', 17), member));
    return static_cast<Integer>(number);
}

bool toBoolean(const QString& member, const QJsonValue& value) {
    if (!value.isBool())
        typeMismatch(member, "true or false");
    return value.toBool();
}

QString toText(const QString& member, const QJsonValue& value) {
    if (!value.isString())
        typeMismatch(member, "a string");
    return value.toString();
}

using Getter = std::function<QJsonValue(LNSPlugInAPI&)>;
using Setter = std::function<void(LNSPlugInAPI&, const QString&, const QJsonValue&)>;

struct Property {
    const char* name;
    Getter get;
    Setter set;
};

template <class Read, class Write> Property textProperty(const char* name, Read read, Write write) {
    return {name, [read](LNSPlugInAPI& o) { return QJsonValue((o.*read)()); },
            [write](LNSPlugInAPI& o, const QString& member, const QJsonValue& value) {
                (o.*write)(toText(member, value));
            }};
}

template <class Read, class Write>
Property booleanProperty(const char* name, Read read, Write write) {
    return {name, [read](LNSPlugInAPI& o) { return QJsonValue((o.*read)()); },
            [write](LNSPlugInAPI& o, const QString& member, const QJsonValue& value) {
                (o.*write)(toBoolean(member, value));
            }};
}

template <class Read, class Write>
Property numberProperty(const char* name, Read read, Write write) {
    return {name, [read](LNSPlugInAPI& o) { return QJsonValue((o.*read)()); },
            [write](LNSPlugInAPI& o, const QString& member, const QJsonValue& value) {
                (o.*write)(toInteger<qint32>(member, value));
            }};
}

// The properties of the object's interface, in its order.
const std::vector<Property>& properties() {
    using P = LNSPlugInAPI;
    static const std::vector<Property> table = {
        booleanProperty("Visible", &P::Visible, &P::setVisible),
        textProperty("networkName", &P::networkName, &P::setNetworkName),
        textProperty("NetworkInterfaceName", &P::NetworkInterfaceName, &P::setNetworkInterfaceName),
        booleanProperty("Remote", &P::Remote, &P::setRemote),
        numberProperty("Height", &P::Height, &P::setHeight),
        numberProperty("Width", &P::Width, &P::setWidth),
        numberProperty("left", &P::left, &P::setLeft),
        booleanProperty("Minimized", &P::Minimized, &P::setMinimized),
        textProperty("ManufacturerID", &P::ManufacturerID, &P::setManufacturerID),
        textProperty("ManufacturerName", &P::ManufacturerName, &P::setManufacturerName),
        textProperty("LcaVersion", &P::LcaVersion, &P::setLcaVersion),
        textProperty("Version", &P::Version, &P::setVersion),
        numberProperty("top", &P::top, &P::setTop),
        textProperty("Name", &P::Name, &P::setName),
        textProperty("DevelopmentProgramId", &P::DevelopmentProgramId, &P::setDevelopmentProgramId),
    };
    return table;
}

const QString SendCommandName = QStringLiteral("SendCommand");

bool sameName(const QString& member, const QString& name) {
    return member.compare(name, Qt::CaseInsensitive) == 0;
}

const Property* findProperty(const QString& member) {
    for (const Property& property : properties()) {
        if (sameName(member, QLatin1String(property.name)))
            return &property;
    }
    return nullptr;
}

[[noreturn]] void unknownMember(const QString& member) {
    throw transportError(
        UnknownMember, QStringLiteral("Object doesn't support this property or method: ") + member);
}

void expectArguments(const QString& member, const QJsonArray& args, qsizetype count) {
    if (args.size() != count)
        throw transportError(WrongArguments, QStringLiteral("Wrong number of arguments for %1: "
                                                            "expected %2, got %3")
                                                 .arg(member)
                                                 .arg(count)
                                                 .arg(args.size()));
}

const Property& propertyOrFail(const QString& member) {
    const Property* property = findProperty(member);
    if (!property) {
        if (sameName(member, SendCommandName))
            throw transportError(UnknownMember, member + QStringLiteral(" is a method; use call"));
        unknownMember(member);
    }
    return *property;
}

} // namespace

QJsonValue get(LNSPlugInAPI& object, const QString& member, const QJsonArray& args) {
    const Property& property = propertyOrFail(member);
    expectArguments(member, args, 0);
    return property.get(object);
}

void set(LNSPlugInAPI& object, const QString& member, const QJsonArray& args) {
    const Property& property = propertyOrFail(member);
    expectArguments(member, args, 1);
    property.set(object, member, args.at(0));
}

QJsonValue call(LNSPlugInAPI& object, const QString& member, const QJsonArray& args) {
    if (!sameName(member, SendCommandName)) {
        if (findProperty(member))
            throw transportError(UnknownMember,
                                 member + QStringLiteral(" is a property; use get or set"));
        unknownMember(member);
    }
    expectArguments(member, args, 3);
    object.SendCommand(toInteger<qint32>(QStringLiteral("commandId"), args.at(0)),
                       toInteger<qint16>(QStringLiteral("objectClassId"), args.at(1)),
                       toText(QStringLiteral("objectName"), args.at(2)));
    return QJsonValue::Null;
}

} // namespace AutomationMembers
