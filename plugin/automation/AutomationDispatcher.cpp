// SPDX-License-Identifier: Apache-2.0
#include "automation/AutomationDispatcher.h"

#include "automation/AutomationMembers.h"
#include "automation/LNSPlugInAPI.h"

#include <QJsonObject>

using namespace AutomationProtocol;

AutomationDispatcher::AutomationDispatcher(ObjectFactory factory) : m_factory(std::move(factory)) {}

AutomationDispatcher::~AutomationDispatcher() {
    releaseAll();
}

QByteArray AutomationDispatcher::handle(const QByteArray& line) {
    const auto parsed = parseRequest(line);
    if (const auto* failure = std::get_if<ParseFailure>(&parsed))
        return formatError(failure->id, failure->error);
    const Request& request = std::get<Request>(parsed);
    try {
        return formatResult(request.id, execute(request));
    } catch (const Error& error) {
        return formatError(request.id, error);
    } catch (const std::exception& failure) {
        return formatError(request.id,
                           transportError(InvalidRequest, QString::fromLocal8Bit(failure.what())));
    }
}

QByteArray AutomationDispatcher::lineTooLong(qsizetype limit) {
    return formatError(
        QJsonValue::Null,
        transportError(InvalidRequest,
                       QStringLiteral("The request is longer than %1 bytes").arg(limit)));
}

bool AutomationDispatcher::releaseAll() {
    const bool any = !m_objects.empty();
    while (!m_objects.empty())
        release(m_objects.begin()->first);
    return any;
}

QJsonValue AutomationDispatcher::execute(const Request& request) {
    switch (request.op) {
    case Operation::Create: {
        std::unique_ptr<LNSPlugInAPI> created = m_factory();
        const qint64 number = m_nextNumber++;
        m_objects.emplace(number, std::move(created));
        return QJsonObject{{QStringLiteral("object"), number}};
    }
    case Operation::Get:
        return AutomationMembers::get(object(request.object), request.member, request.args);
    case Operation::Set:
        AutomationMembers::set(object(request.object), request.member, request.args);
        return QJsonValue::Null;
    case Operation::Call:
        return AutomationMembers::call(object(request.object), request.member, request.args);
    case Operation::Release:
        object(request.object);
        release(request.object);
        return QJsonValue::Null;
    }
    return QJsonValue::Null;
}

LNSPlugInAPI& AutomationDispatcher::object(qint64 number) {
    const auto found = m_objects.find(number);
    if (found == m_objects.end())
        throw transportError(ObjectRequired,
                             QStringLiteral("Object required: there is no object %1").arg(number));
    return *found->second;
}

void AutomationDispatcher::release(qint64 number) {
    // Out of the table first: releasing the last object may end the plug-in.
    const auto found = m_objects.find(number);
    std::unique_ptr<LNSPlugInAPI> released = std::move(found->second);
    m_objects.erase(found);
    released.reset();
}
