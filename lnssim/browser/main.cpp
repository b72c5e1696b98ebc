// SPDX-License-Identifier: Apache-2.0
// lns-browser: the host's network browser window.
#include "BrowserWindow.h"
#include "platform/PlatformRoot.h"
#include "platform/SettingsStore.h"
#include "platform/StandardOptions.h"

#include <QApplication>
#include <QMessageBox>

namespace {

const QString Help =
    QStringLiteral("usage: lns-browser [NETWORK]\n"
                   "       lns-browser --help | --version\n"
                   "\n"
                   "The network browser of the simulated LonWorks host: the networks of the\n"
                   "platform root with their subsystems, devices and LonMark objects, and the\n"
                   "commands plug-ins registered for them. NETWORK is selected at the start.\n"
                   "On first use it offers to lay out the platform and register the plug-ins.\n"
                   "\n"
                   "Environment: LNS_PLATFORM_ROOT names the platform root\n"
                   "(default ~/.local/share/lns-platform). See lns-browser(1).\n");

// A message that does not hold up the browser or the plug-ins it runs.
void showError(QWidget* parent, const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version need no display: answered before the application.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    if (const auto status =
            StandardOptions::answer(arguments, QStringLiteral("lns-browser"), Help, out))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lns-browser"));
    QApplication::setDesktopFileName(QStringLiteral("lns-browser"));
    if (arguments.size() > 1) {
        QTextStream(stderr) << Help;
        return 2;
    }
    SettingsStore store(PlatformRoot::settingsStoreFile());
    BrowserWindow* window = nullptr;
    BrowserWindow browser(
        {store, QCoreApplication::applicationDirPath(),
         [&](const QString& title, const QString& text) { showError(window, title, text); }});
    window = &browser;
    if (!arguments.isEmpty())
        browser.select(arguments.first());
    browser.show();
    return app.exec();
}
