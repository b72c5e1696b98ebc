#pragma once

#include <QApplication>

// The one application object of a test program that shows widgets.
inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "host_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
