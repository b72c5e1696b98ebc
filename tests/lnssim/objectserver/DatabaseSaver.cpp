// SPDX-License-Identifier: Apache-2.0
// database-saver LONWORKS: writes a setpoint of a demo device over and over,
// each write saving the network database, until the process is killed.
#include "OpenDemo.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const OpenDemo demo(QString::fromLocal8Bit(argv[1]));
    auto cp = demo.property(QStringLiteral("Floor 1"), QStringLiteral("RTU-1"),
                            QStringLiteral("nciLocation"));
    std::puts("saving");
    std::fflush(stdout);
    for (int round = 0;; ++round)
        cp->setFormattedElement(0, QStringLiteral("Round %1").arg(round));
}
