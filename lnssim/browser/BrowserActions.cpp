// SPDX-License-Identifier: Apache-2.0
#include "BrowserActions.h"

using AutomationProtocol::Operation;

namespace {

constexpr qint32 RegisterCommandsCommand = 50;
constexpr qint32 RemoveCommandsCommand = 51;

} // namespace

QList<BrowserAction> objectActions(const QString& network, const QList<OfferedCommand>& commands,
                                   const QString& path) {
    QList<BrowserAction> actions;
    for (const OfferedCommand& command : commands)
        actions.append({BrowserAction::Kind::Command, command.name, network, command.progId, path,
                        command.commandId, command.objectClassId});
    return actions;
}

QList<BrowserAction> networkActions(const QString& network,
                                    const QList<lns::sim::RegisteredPlugIn>& plugIns) {
    QList<BrowserAction> actions;
    for (const lns::sim::RegisteredPlugIn& plugIn : plugIns) {
        const QString suffix =
            plugIns.size() > 1 ? QStringLiteral(" (%1)").arg(plugIn.name) : QString();
        actions.append({BrowserAction::Kind::RegisterCommands,
                        QStringLiteral("Register plug-in commands") + suffix, network,
                        plugIn.progId, network, RegisterCommandsCommand, 0});
        actions.append({BrowserAction::Kind::RemoveCommands,
                        QStringLiteral("Remove plug-in commands") + suffix, network, plugIn.progId,
                        network, RemoveCommandsCommand, 0});
    }
    return actions;
}

QList<PlugInSession::Call> callsFor(const BrowserAction& action) {
    QList<PlugInSession::Call> calls{
        {Operation::Set, QStringLiteral("networkName"), {action.network}}};
    if (action.kind == BrowserAction::Kind::Command) {
        calls.append({Operation::Call,
                      QStringLiteral("SendCommand"),
                      {action.commandId, action.objectClassId, action.target}});
        calls.append({Operation::Set, QStringLiteral("Visible"), {true}});
    } else {
        calls.append(
            {Operation::Call, QStringLiteral("SendCommand"), {action.commandId, 0, QString()}});
    }
    return calls;
}

PlugInSession::Hold holdFor(const BrowserAction& action) {
    return action.kind == BrowserAction::Kind::Command ? PlugInSession::Hold::WhileWindowShows
                                                       : PlugInSession::Hold::ReleaseAtEnd;
}

QString sessionKey(const BrowserAction& action) {
    return action.progId + QLatin1Char('\n') + action.target;
}
