// SPDX-License-Identifier: Apache-2.0
#include "automation/NetworkOpening.h"

#include "automation/PlugInState.h"

namespace {

const QString InternetInterfaceName = QStringLiteral("Internet");
constexpr int SystemTimingSetting = 200;

} // namespace

void openNetworkOf(PlugInState& state, const QString& name, const QString& networkInterfaceName) {
    lns::ObjectServer& server = *state.ObjectServer;
    const bool wantedRemote = !networkInterfaceName.isEmpty();
    if (wantedRemote != server.Remote()) {
        if (server.IsOpen()) {
            server.Close();
            state.ServerOpen = false;
        }
        server.setRemote(wantedRemote);
    }
    // The connection kind follows the interface in force, also when the
    // server stays open from an earlier network: "Internet" is no remote
    // network interface to look up, and its systems take the Internet path.
    const bool internet = wantedRemote && networkInterfaceName == InternetInterfaceName;
    if (!state.ServerOpen) {
        if (server.IsOpen())
            server.Close();
        server.setAutoOpen(false);
        if (wantedRemote) {
            qint32 flags = server.Flags();
            flags &= ~(lns::ObjectServer::FlagInternet | lns::ObjectServer::FlagRemoteInterface);
            flags |=
                internet ? lns::ObjectServer::FlagInternet : lns::ObjectServer::FlagRemoteInterface;
            server.setFlags(flags);
        }
        server.Open();
        state.ServerOpen = true;
    }
    if (wantedRemote && !internet) {
        server.setActiveRemoteNetworkInterface(
            server.RemoteNetworkInterfaces()->Item(networkInterfaceName));
    }
    const lns::Ref<lns::Network> network = server.Networks()->Item(name);
    network->Open();
    state.CurrentNetwork = network;
    state.CurrentNetworkName = network->Name();
    const lns::Ref<lns::System> system = network->Systems()->Item(1);
    system->Open();
    state.CurrentSystem = system;
    if (internet) {
        system->setInternetPathOption(true);
        system->InternetPathOperation(0);
        system->setInternetPathOption(false);
    }
    state.NetworkOpen = true;
    system->setTimingSetting(SystemTimingSetting);
}
