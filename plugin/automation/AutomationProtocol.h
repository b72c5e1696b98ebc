// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "platform/Error.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>
#include <optional>
#include <variant>

// The automation protocol between the host and the plug-in: one JSON object
// per line in each direction.
//   request: {"id": ANY, "op": "create"|"get"|"set"|"call"|"release",
//             "object": N, "member": "NAME", "args": [...]}
//   reply:   {"id": ANY, "result": VALUE} or
//            {"id": ANY, "error": {"number": N, "source": "...", "description": "..."}}
// The id is echoed as sent (null when the request had none or could not be read).
namespace AutomationProtocol {

// Failures of the transport itself carry the numbers of the automation
// runtime and this source.
inline const QString TransportSource = QStringLiteral("RM42xxPirConfigure");
constexpr qint32 InvalidRequest = 5;   // not a request the plug-in can read
constexpr qint32 Overflow = 6;         // a number too large for its parameter
constexpr qint32 TypeMismatch = 13;    // an argument of the wrong type
constexpr qint32 ObjectRequired = 424; // no live object with that number
constexpr qint32 UnknownMember = 438;  // no such property or method
constexpr qint32 WrongArguments = 450; // wrong number of arguments

enum class Operation { Create, Get, Set, Call, Release };

struct Request {
    QJsonValue id;
    Operation op = Operation::Create;
    qint64 object = 0;
    QString member;
    QJsonArray args;
};

struct Reply {
    QJsonValue id;
    QJsonValue result;
    std::optional<Error> error;
};

Error transportError(qint32 number, const QString& description);

// A request, or the reason it cannot be served together with whatever id
// could be read from it.
struct ParseFailure {
    QJsonValue id;
    Error error;
};
std::variant<Request, ParseFailure> parseRequest(const QByteArray& line);

// One line each, ending in "\n".
QByteArray formatResult(const QJsonValue& id, const QJsonValue& result);
QByteArray formatError(const QJsonValue& id, const Error& error);
QByteArray formatRequest(const Request& request);

// A reply line from the plug-in; a line that is not one gives an error reply.
Reply parseReply(const QByteArray& line);

QString operationName(Operation op);

} // namespace AutomationProtocol
