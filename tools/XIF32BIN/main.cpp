// XIF32BIN "in.xif" "out.xfb": converts an external interface file into its
// binary form. Bad input is reported on standard error, exits 1 and writes nothing.
#include "XfbWriter.h"
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
        err << "usage: XIF32BIN \"in.xif\" \"out.xfb\"\n";
        return 2;
    }
    try {
        const lns::sim::XifDocument document = lns::sim::XifReader::read(arguments[0]);
        lns::sim::AtomicFile::write(arguments[1], XfbWriter::encode(document));
    } catch (const Error& error) {
        err << "XIF32BIN: " << error.description() << '\n';
        return 1;
    }
    return 0;
}
