// SPDX-License-Identifier: Apache-2.0
#include "RegTool.h"

#include "platform/PlatformRoot.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <cstdio>

namespace {

// Names that are not UTF-8 would all decode to the same replacement
// characters and so reach one key.
bool isUtf8(const char* argument) {
    QStringDecoder decoder(QStringConverter::Utf8);
    [[maybe_unused]] const QString decoded = decoder(QByteArrayView(argument));
    return !decoder.hasError();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    for (int i = 1; i < argc; ++i) {
        if (!isUtf8(argv[i])) {
            err << "lns-reg: argument " << i << ": not UTF-8 text\n";
            return 2;
        }
    }
    return runRegTool(app.arguments().mid(1), PlatformRoot::settingsStoreFile(), out, err);
}
