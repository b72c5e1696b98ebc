// SPDX-License-Identifier: Apache-2.0
// XIF32BIN "in.xif" "out.xfb": converts an external interface file into its
// binary form. Bad input is reported on standard error, exits 1 and writes nothing.
// XIF32BIN --describe "in.xif": prints what the file declares instead.
#include "XfbWriter.h"
#include "XifDescription.h"
#include "objectserver/XifReader.h"
#include "platform/AtomicFile.h"
#include "platform/Error.h"
#include "platform/StandardOptions.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

const char* const Usage = "usage: XIF32BIN \"in.xif\" \"out.xfb\"\n"
                          "       XIF32BIN --describe \"in.xif\"\n";

const QString Help = QLatin1String(Usage) + QStringLiteral(
    "       XIF32BIN --help | --version\n"
    "\n"
    "Converts a device's external interface file (text form, version 4.x) into its\n"
    "binary form. The plug-in runs it from the LonWorks folder (bin/XIF32BIN) when it\n"
    "imports the device template. Bad input is reported on standard error and\n"
    "nothing is written. --describe prints what the file declares instead: its\n"
    "program ID, functional blocks, network variables and configuration properties.\n");

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    if (const auto status = StandardOptions::answer(arguments, QStringLiteral("XIF32BIN"), Help, out))
        return *status;
    if (arguments.size() != 2) {
        err << Usage;
        return 2;
    }
    const bool describe = arguments[0] == QLatin1String("--describe");
    try {
        const lns::sim::XifDocument document =
            lns::sim::XifReader::read(arguments[describe ? 1 : 0]);
        if (describe)
            out << XifDescription::describe(document);
        else
            AtomicFile::write(arguments[1], XfbWriter::encode(document));
    } catch (const Error& error) {
        err << "XIF32BIN: cannot " << (describe ? "describe " : "convert ")
            << arguments[describe ? 1 : 0] << ": " << error.description() << '\n';
        return 1;
    }
    return 0;
}
