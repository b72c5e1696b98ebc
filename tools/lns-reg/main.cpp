#include "RegTool.h"

#include "platform/PlatformRoot.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runRegTool(app.arguments().mid(1), PlatformRoot::settingsStoreFile(), out, err);
}
