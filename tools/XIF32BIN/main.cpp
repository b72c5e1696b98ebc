// XIF32BIN "in.xif" "out.xfb": converts an external interface file into its
// binary form. Bad input is reported on standard error, exits 1 and writes nothing.
// XIF32BIN --describe "in.xif": prints what the file declares instead.
#include "XfbWriter.h"
#include "XifDescription.h"
#include "lns/sim/AtomicFile.h"
#include "lns/sim/XifReader.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() != 2) {
        err << "usage: XIF32BIN \"in.xif\" \"out.xfb\"\n"
               "       XIF32BIN --describe \"in.xif\"\n";
        return 2;
    }
    const bool describe = arguments[0] == QLatin1String("--describe");
    try {
        const lns::sim::XifDocument document =
            lns::sim::XifReader::read(arguments[describe ? 1 : 0]);
        if (describe)
            QTextStream(stdout) << XifDescription::describe(document);
        else
            lns::sim::AtomicFile::write(arguments[1], XfbWriter::encode(document));
    } catch (const Error& error) {
        err << "XIF32BIN: " << error.description() << '\n';
        return 1;
    }
    return 0;
}
