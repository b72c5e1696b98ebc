// SPDX-License-Identifier: Apache-2.0
// rm42-config: saves, checks, applies and restores thermostat configurations
// over the Object Server, beside the plug-in, without a window.
#include "CommandLine.h"
#include "Subcommands.h"
#include "ToolVersion.h"
#include "platform/StandardOptions.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

namespace {

const Subcommand* subcommandNamed(const QString& name) {
    for (const Subcommand& subcommand : subcommands()) {
        if (name == QLatin1String(subcommand.name))
            return &subcommand;
    }
    return nullptr;
}

void printUsage(QTextStream& stream) {
    QString text = QStringLiteral("usage:\n");
    for (const Subcommand& subcommand : subcommands())
        text += QStringLiteral("  rm42-config %1\n").arg(QLatin1String(subcommand.usage));
    text += QStringLiteral(
        "  rm42-config help [SUBCOMMAND] | --help | --version\n"
        "DEVICE is SUBSYSTEM/DEVICE or a device name; exit status 0 all done, 1 some\n"
        "device failed or was skipped, 2 usage error or a refused file\n");
    stream << StandardOptions::wrappedText(text);
}

int usage(QTextStream& err) {
    printUsage(err);
    return ExitStatus::Refused;
}

int help(const Subcommand& subcommand, QTextStream& out) {
    out << StandardOptions::wrappedText(QStringLiteral("usage: rm42-config %1\n\n%2%3")
                                            .arg(QLatin1String(subcommand.usage),
                                                 QLatin1String(subcommand.help),
                                                 StandardOptions::reportProblems()));
    return ExitStatus::Done;
}

// "help", "help SUBCOMMAND", "--help", "--version", or a subcommand's --help.
std::optional<int> answeredAboutItself(const QStringList& words, QTextStream& out,
                                       QTextStream& err) {
    const QString first = words.first();
    if (first == u"--version") {
        out << "rm42-config " << toolVersion() << '\n';
        return ExitStatus::Done;
    }
    if (first == u"--help" || first == u"-h" || (first == u"help" && words.size() == 1)) {
        out << StandardOptions::wrappedText(
            QStringLiteral("rm42-config: saves, checks, applies and restores RM42xx thermostat "
                           "configurations.\n"));
        printUsage(out);
        out << "rm42-config help SUBCOMMAND tells more of each.\n"
            << StandardOptions::reportProblems();
        return ExitStatus::Done;
    }
    if (first == u"help") {
        if (const Subcommand* subcommand = subcommandNamed(words[1]))
            return help(*subcommand, out);
        err << "rm42-config: no subcommand \"" << words[1] << "\"\n";
        return usage(err);
    }
    const Subcommand* subcommand = subcommandNamed(first);
    if (subcommand &&
        (words.contains(QStringLiteral("--help")) || words.contains(QStringLiteral("-h"))))
        return help(*subcommand, out);
    return std::nullopt;
}

} // namespace

int usageOf(const char* name, QTextStream& err) {
    if (const Subcommand* subcommand = subcommandNamed(QLatin1String(name)))
        err << StandardOptions::wrappedText(
            QStringLiteral("usage: rm42-config %1\n").arg(QLatin1String(subcommand->usage)));
    return ExitStatus::Refused;
}

// A PDF report's fonts need a GUI application; the offscreen platform
// serves it where there is no display.
bool drawsPages(int argc, char* argv[]) {
    if (argc < 2 || QLatin1String(argv[1]) != QLatin1String("report"))
        return false;
    for (int i = 2; i < argc; ++i) {
        if (QString::fromLocal8Bit(argv[i]).endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> application(int& argc, char* argv[]) {
    if (!drawsPages(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app = application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList words = app->arguments().mid(1);
    if (words.isEmpty())
        return usage(err);
    if (const std::optional<int> status = answeredAboutItself(words, out, err))
        return *status;
    if (const Subcommand* subcommand = subcommandNamed(words.first()))
        return subcommand->run(words.mid(1), out, err);
    err << "rm42-config: unknown subcommand \"" << words.first() << "\"\n";
    return usage(err);
}
