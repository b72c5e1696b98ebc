// SPDX-License-Identifier: Apache-2.0
// network-writer LONWORKS DEVICE PROPERTY PATTERN COUNT: writes element 0 of a
// property of a "Demo Building" device (SUBSYSTEM/DEVICE) COUNT times, the
// i-th time PATTERN with %1 replaced by i. Before each write it reads the
// property back and stops with status 1 when its own previous value is gone,
// so a change that another process lost on the way shows at once.
#include "OpenDemo.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 6)
        return 2;
    try {
        OpenDemo demo(arguments[1]);
        lns::sim::SimObjectServer& server = demo.server;
        auto cp = demo.property(arguments[2].section(QLatin1Char('/'), 0, 0),
                                arguments[2].section(QLatin1Char('/'), 1), arguments[3]);
        const int count = arguments[5].toInt();
        QString previous;
        for (int i = 1; i <= count; ++i) {
            if (!previous.isEmpty() && cp->FormattedElement(0) != previous) {
                std::fprintf(stderr, "value %d lost: %s\n", i - 1,
                             qPrintable(cp->FormattedElement(0)));
                return 1;
            }
            previous = arguments[4].arg(i);
            cp->setFormattedElement(0, previous);
            if (server.journal().size() > 10000)
                server.clearJournal();
        }
        std::printf("wrote %d\n", count);
    } catch (const Error& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.description()));
        return 1;
    }
    return 0;
}
