// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QApplication>

// The one application object of a test program that shows widgets. It is
// never destroyed: at exit Qt's own globals are already gone.
inline QApplication& testApplication() {
    static int argc = 1;
    static char name[] = "rm42_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
