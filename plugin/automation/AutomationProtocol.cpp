// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationProtocol.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace AutomationProtocol {

namespace {

struct OperationName {
    Operation op;
    const char* name;
};

constexpr OperationName OperationNames[] = {
    {Operation::Create, "create"}, {Operation::Get, "get"},         {Operation::Set, "set"},
    {Operation::Call, "call"},     {Operation::Release, "release"},
};

std::optional<Operation> operationFromName(const QString& name) {
    for (const OperationName& entry : OperationNames) {
        if (name == QLatin1String(entry.name))
            return entry.op;
    }
    return std::nullopt;
}

// The object number of a request: a positive whole number.
std::optional<qint64> objectNumber(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 1 || number > 9007199254740992.0 || std::floor(number) != number)
        return std::nullopt;
    return static_cast<qint64>(number);
}

QByteArray line(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

ParseFailure invalid(const QJsonValue& id, const QString& description) {
    return {id, transportError(InvalidRequest, description)};
}

} // namespace

Error transportError(qint32 number, const QString& description) {
    return Error(number, TransportSource, description);
}

QString operationName(Operation op) {
    for (const OperationName& entry : OperationNames) {
        if (entry.op == op)
            return QLatin1String(entry.name);
    }
    return QString();
}

std::variant<Request, ParseFailure> parseRequest(const QByteArray& text) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return invalid(QJsonValue::Null,
                       QStringLiteral("The request is not valid JSON: %1 at offset %2")
                           .arg(parseError.errorString())
                           .arg(parseError.offset));
    if (!document.isObject())
        return invalid(QJsonValue::Null, QStringLiteral("The request is not a JSON object"));
    const QJsonObject object = document.object();
    Request request;
    request.id = object.value(QLatin1String("id"));
    if (request.id.isUndefined())
        request.id = QJsonValue::Null;

    const QJsonValue opValue = object.value(QLatin1String("op"));
    const std::optional<Operation> op = operationFromName(opValue.toString());
    if (!op)
        return invalid(request.id, QStringLiteral("Unknown operation '%1'; expected create, get, "
                                                  "set, call or release")
                                       .arg(opValue.toString()));
    request.op = *op;
    if (request.op == Operation::Create)
        return request;

    const std::optional<qint64> number = objectNumber(object.value(QLatin1String("object")));
    if (!number)
        return invalid(
            request.id,
            QStringLiteral("'%1' needs the number of an object").arg(operationName(request.op)));
    request.object = *number;
    if (request.op == Operation::Release)
        return request;

    const QJsonValue member = object.value(QLatin1String("member"));
    if (!member.isString() || member.toString().isEmpty())
        return invalid(
            request.id,
            QStringLiteral("'%1' needs the name of a member").arg(operationName(request.op)));
    request.member = member.toString();

    const QJsonValue args = object.value(QLatin1String("args"));
    if (!args.isUndefined() && !args.isArray())
        return invalid(request.id, QStringLiteral("'args' must be an array"));
    request.args = args.toArray();
    return request;
}

QByteArray formatResult(const QJsonValue& id, const QJsonValue& result) {
    return line(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("result"), result}});
}

QByteArray formatError(const QJsonValue& id, const Error& error) {
    const QJsonObject details{{QStringLiteral("number"), error.number()},
                              {QStringLiteral("source"), error.source()},
                              {QStringLiteral("description"), error.description()}};
    return line(QJsonObject{{QStringLiteral("id"), id}, {QStringLiteral("error"), details}});
}

QByteArray formatRequest(const Request& request) {
    QJsonObject object{{QStringLiteral("id"), request.id},
                       {QStringLiteral("op"), operationName(request.op)}};
    if (request.op != Operation::Create)
        object.insert(QStringLiteral("object"), request.object);
    if (request.op == Operation::Get || request.op == Operation::Set ||
        request.op == Operation::Call) {
        object.insert(QStringLiteral("member"), request.member);
        object.insert(QStringLiteral("args"), request.args);
    }
    return line(object);
}

Reply parseReply(const QByteArray& text) {
    Reply reply;
    const QJsonDocument document = QJsonDocument::fromJson(text);
    const QJsonObject object = document.object();
    reply.id = object.value(QLatin1String("id"));
    const QJsonValue error = object.value(QLatin1String("error"));
    if (error.isObject()) {
        const QJsonObject details = error.toObject();
        reply.error = Error(details.value(QLatin1String("number")).toInt(),
                            details.value(QLatin1String("source")).toString(),
                            details.value(QLatin1String("description")).toString());
    } else if (object.contains(QLatin1String("result"))) {
        reply.result = object.value(QLatin1String("result"));
    } else {
        reply.error = transportError(InvalidRequest, QStringLiteral("The plug-in answered with "
                                                                    "a line that is no reply: ") +
                                                         QString::fromUtf8(text.left(200)));
    }
    return reply;
}

} // namespace AutomationProtocol
