// SPDX-License-Identifier: Apache-2.0
// The recursive search for an external interface file over a generated tree
// of 100,000 files, against `find` walking the same tree.
#include "platform/Paths.h"
#include "registration/DeviceFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Folders = 1000;
constexpr int FilesPerFolder = 100;

// 1,000 folders in two levels of 100 files each; every tenth folder holds an
// interface file of another device, so the search reads them all and finds nothing.
const QTemporaryDir& tree() {
    static QTemporaryDir dir;
    static const bool built = [] {
        for (int folder = 0; folder < Folders; ++folder) {
            const QString path =
                dir.path() + QStringLiteral("/g%1/f%2").arg(folder / 50).arg(folder);
            QDir().mkpath(path);
            for (int file = 0; file < FilesPerFolder; ++file) {
                const bool xif = folder % 10 == 0 && file == 0;
                QFile out(path + (xif ? QStringLiteral("/other.xif")
                                      : QStringLiteral("/file%1.dat").arg(file)));
                out.open(QIODevice::WriteOnly);
                if (xif)
                    out.write("x\nx\nx\n80:03:DB:55:00:04:04:99\n");
            }
        }
        return true;
    }();
    (void)built;
    return dir;
}

void RecursiveXifSearch(benchmark::State& state) {
    const QString folder = Paths::toSystem(tree().path()) + QLatin1Char('\\');
    for (auto _ : state)
        benchmark::DoNotOptimize(DeviceFile::Search(folder, QStringLiteral("8003DB5500040421")));
}
BENCHMARK(RecursiveXifSearch)->Unit(benchmark::kMillisecond)->Repetitions(3);

void FindOverTheSameTree(benchmark::State& state) {
    const QString folder = tree().path();
    for (auto _ : state) {
        QProcess find;
        find.start(QStringLiteral("find"),
                   {folder, QStringLiteral("-iname"), QStringLiteral("*.xif")});
        find.waitForFinished(-1);
        benchmark::DoNotOptimize(find.readAllStandardOutput());
    }
}
BENCHMARK(FindOverTheSameTree)->Unit(benchmark::kMillisecond)->Repetitions(3);

} // namespace
