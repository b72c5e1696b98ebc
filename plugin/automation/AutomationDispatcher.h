// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "automation/AutomationProtocol.h"

#include <QByteArray>
#include <functional>
#include <map>
#include <memory>

class LNSPlugInAPI;

// Serves protocol requests on the live LNSPlugInAPI objects, numbered from 1
// in creation order. Every request gets exactly one reply line.
class AutomationDispatcher {
public:
    using ObjectFactory = std::function<std::unique_ptr<LNSPlugInAPI>()>;

    explicit AutomationDispatcher(ObjectFactory factory);
    ~AutomationDispatcher();
    AutomationDispatcher(const AutomationDispatcher&) = delete;
    AutomationDispatcher& operator=(const AutomationDispatcher&) = delete;

    QByteArray handle(const QByteArray& line);
    // The reply to a line that was dropped for its length.
    static QByteArray lineTooLong(qsizetype limit);
    // Releases every live object in creation order; false when there was none.
    bool releaseAll();

private:
    QJsonValue execute(const AutomationProtocol::Request& request);
    LNSPlugInAPI& object(qint64 number);
    void release(qint64 number);

    ObjectFactory m_factory;
    std::map<qint64, std::unique_ptr<LNSPlugInAPI>> m_objects;
    qint64 m_nextNumber = 1;
};
