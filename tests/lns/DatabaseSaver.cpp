// database-saver LONWORKS: writes a setpoint of a demo device over and over,
// each write saving the network database, until the process is killed.
#include "lns/sim/SimObjectServer.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    lns::sim::SimObjectServer server(QString::fromLocal8Bit(argv[1]));
    server.Open();
    auto network = server.Networks()->Item(QStringLiteral("Demo Building"));
    network->Open();
    auto system = network->Systems()->Item(1);
    system->Open();
    auto cp = system->Subsystems()
                  ->Item(QStringLiteral("Floor 1"))
                  ->AppDevices()
                  ->Item(QStringLiteral("RTU-1"))
                  ->Interface()
                  ->LonMarkObjects()
                  ->Item(1)
                  ->ConfigProperties()
                  ->Item(QStringLiteral("nciLocation"));
    std::puts("saving");
    std::fflush(stdout);
    for (int round = 0;; ++round)
        cp->setFormattedElement(0, QStringLiteral("Round %1").arg(round));
}
