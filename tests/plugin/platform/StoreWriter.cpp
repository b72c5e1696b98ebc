// SPDX-License-Identifier: Apache-2.0
// Writes COUNT values named PREFIX-<n> into the settings store FILE, one
// transaction each: the other half of the concurrent-writers test.
#include "platform/Error.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 4)
        return 2;
    SettingsStore store(arguments.at(1));
    const int count = arguments.at(3).toInt();
    try {
        for (int n = 0; n < count; ++n)
            store.setValue(
                Hive::LocalMachine, QStringLiteral("SOFTWARE\\Concurrent"),
                RegistryValue::string(arguments.at(2) + QLatin1Char('-') + QString::number(n),
                                      QString::number(n)));
    } catch (const Error& error) {
        QTextStream(stderr) << error.description() << Qt::endl;
        return 1;
    }
    return 0;
}
