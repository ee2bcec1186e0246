// A drop of many file URIs, from the drop's MIME data to the committed shelf entry: the
// snapshot on the GUI thread, the classification and the loads on the factory's drop thread,
// the commit back on the GUI thread's event loop.
#include "core/diagnostic_log.h"
#include "core/qt_main_queue.h"
#include "shelf/drop_intake.h"
#include "shelf/mime_item_provider_factory.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMimeData>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

// Another client's drop data: the uri-list bytes as sent (QMimeData::setData would parse them).
class ForeignMimeData final : public QMimeData {
public:
    explicit ForeignMimeData(QByteArray uriList) : m_uriList(std::move(uriList)) {}
    QStringList formats() const override { return {QStringLiteral("text/uri-list")}; }

protected:
    QVariant retrieveData(const QString& format, QMetaType) const override {
        return format == QLatin1String("text/uri-list") ? QVariant(m_uriList) : QVariant();
    }

private:
    QByteArray m_uriList;
};

// Drops the lines, so the figures are the intake's own.
class NullLog final : public core::DiagnosticLog {
public:
    void writeLine(const QString&) override {}
};

// The real log, every line written and flushed, without flooding the terminal.
class DevNullLog final : public core::DiagnosticLog {
public:
    void writeLine(const QString& line) override { m_log.writeLine(line); }

private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_file{std::fopen("/dev/null", "w"),
                                                           &std::fclose};
    core::StdoutDiagnosticLog m_log{m_file.get()};
};

// The real log into a pipe that another thread reads, as the tests read holdfin's output.
class PipeLog final : public core::DiagnosticLog {
public:
    PipeLog() {
        int fds[2];
        if (::pipe(fds) != 0)
            std::abort();
        m_writeEnd = ::fdopen(fds[1], "w");
        m_reader = std::thread([fd = fds[0]] {
            char buffer[65536];
            while (::read(fd, buffer, sizeof buffer) > 0) {
            }
            ::close(fd);
        });
        m_log = std::make_unique<core::StdoutDiagnosticLog>(m_writeEnd);
    }
    ~PipeLog() override {
        std::fclose(m_writeEnd);
        m_reader.join();
    }
    void writeLine(const QString& line) override { m_log->writeLine(line); }

private:
    std::FILE* m_writeEnd;
    std::thread m_reader;
    std::unique_ptr<core::StdoutDiagnosticLog> m_log;
};

// CPU time of every thread of the process, in seconds.
double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Names with common suffixes, or bare names, whose types the MIME database works out one by one.
QByteArray uriList(int count, bool isBare) {
    static const char* const suffixes[] = {".mp4", ".txt", ".pdf", ".png", ".csv", "/", ".tar.gz"};
    QByteArray list;
    list.reserve(count * 64);
    for (int i = 0; i < count; ++i) {
        list += "file:///home/demo/Projects/holdfin/assets/file%20";
        list += QByteArray::number(i);
        if (!isBare)
            list += suffixes[i % 7];
        list += "\r\n";
    }
    return list;
}

template <typename Log> void dropFiles(benchmark::State& state, bool isBare = false) {
    const int count = static_cast<int>(state.range(0));
    const ForeignMimeData data(uriList(count, isBare));
    core::QtMainQueue queue;
    Log log;
    shelf::MimeItemProviderFactory factory(QDir::tempPath() + QStringLiteral("/holdfin-bench"));
    QEventLoop loop;
    qsizetype committed = 0;
    const shelf::DropIntake intake(queue, log, [&](const shelf::BucketItem& item) {
        committed = item.items.size();
        loop.quit();
    });

    double guiSeconds = 0;
    double totalSeconds = 0;
    const double cpuAtStart = processCpuSeconds();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        // The part that holds the GUI thread: reading the drop; a pool thread does the rest.
        factory.makeProviders(
            shelf::MimeItemProviderFactory::read(data),
            [&intake](const shelf::ItemProviderList& providers) { intake.handleDrop(providers); });
        guiSeconds += timer.nsecsElapsed() / 1e9;
        loop.exec();
        totalSeconds += timer.nsecsElapsed() / 1e9;
        if (committed != count)
            state.SkipWithError("the entry lacks payloads");
    }
    const double cpuSeconds = processCpuSeconds() - cpuAtStart;
    const double iterations = static_cast<double>(state.iterations());
    // All threads' CPU per file: what the drop costs the machine, whatever else runs on it.
    state.counters["cpu_us_per_file"] = cpuSeconds * 1e6 / (iterations * count);
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["us_per_file"] = totalSeconds * 1e6 / (iterations * count);
    state.counters["gui_us_per_file"] = guiSeconds * 1e6 / (iterations * count);
    state.counters["gui_ms"] = guiSeconds * 1000 / iterations;
}

void BM_DropFiles(benchmark::State& state) {
    dropFiles<NullLog>(state);
}
void BM_DropFilesLoggingToDevNull(benchmark::State& state) {
    dropFiles<DevNullLog>(state);
}
void BM_DropFilesLoggingToPipe(benchmark::State& state) {
    dropFiles<PipeLog>(state);
}
void BM_DropBareFileNames(benchmark::State& state) {
    dropFiles<NullLog>(state, true);
}

BENCHMARK(BM_DropFiles)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DropBareFileNames)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DropFilesLoggingToDevNull)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DropFilesLoggingToPipe)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
