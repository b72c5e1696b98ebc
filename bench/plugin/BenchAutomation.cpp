// SPDX-License-Identifier: Apache-2.0
// The plug-in's automation transport: one property read over standard input
// and output, and the start in automation mode up to the first reply.
#include <QByteArray>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

QString plugInProgram() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() +
           QStringLiteral("/../bin/RM42xxPirConfigure");
}

// A plug-in started with -Embedding over a fresh platform root.
class PlugIn {
public:
    PlugIn() {
        qputenv("LNS_PLATFORM_ROOT", m_root.path().toUtf8());
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_process.start(plugInProgram(), {QStringLiteral("-Embedding")});
        m_process.waitForStarted();
    }
    ~PlugIn() {
        m_process.closeWriteChannel();
        m_process.waitForFinished();
    }

    QByteArray ask(const QByteArray& request) {
        m_process.write(request);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        return m_process.readLine();
    }

private:
    QTemporaryDir m_root;
    QProcess m_process;
};

void BM_PropertyGetRoundTrip(benchmark::State& state) {
    PlugIn plugIn;
    if (plugIn.ask("{\"id\":1,\"op\":\"create\"}\n").isEmpty()) {
        state.SkipWithError("the plug-in did not answer");
        return;
    }
    const QByteArray request = "{\"id\":2,\"op\":\"get\",\"object\":1,\"member\":\"Version\"}\n";
    for (auto _ : state)
        benchmark::DoNotOptimize(plugIn.ask(request));
}
BENCHMARK(BM_PropertyGetRoundTrip)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_StartToFirstReply(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        {
            PlugIn plugIn;
            const QByteArray reply = plugIn.ask("{\"id\":1,\"op\":\"create\"}\n");
            const auto answered = std::chrono::steady_clock::now();
            state.SetIterationTime(std::chrono::duration<double>(answered - start).count());
            if (reply.isEmpty())
                state.SkipWithError("the plug-in did not answer");
        }
    }
}
BENCHMARK(BM_StartToFirstReply)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
