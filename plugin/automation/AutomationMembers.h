// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QString>

class LNSPlugInAPI;

// The members of LNSPlugInAPI as the host reaches them by name. Names compare
// without regard to case, as automation names do. Every failure throws Error:
// an unknown member, a property used as a method (or the reverse), a wrong
// number of arguments or an argument of the wrong type; and whatever the
// member itself raises.
namespace AutomationMembers {

QJsonValue get(LNSPlugInAPI& object, const QString& member, const QJsonArray& args);
void set(LNSPlugInAPI& object, const QString& member, const QJsonArray& args);
QJsonValue call(LNSPlugInAPI& object, const QString& member, const QJsonArray& args);

} // namespace AutomationMembers
