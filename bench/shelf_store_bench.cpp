// The kept shelf's cost: encoding and decoding the saved file, and saving and loading it
// through the store (atomic write, image bookkeeping), for shelves of 1,000 and 10,000 entries
// shaped like real ones (files, some with a second payload of text, a few images).
#include "sample_shelf.h"
#include "shelf/shelf_file.h"
#include "shelf/shelf_store.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

using shelf::BucketItem;
using shelf::BucketItemData;

namespace {

// The sample shelf with every seventh entry locked and every hundredth an image a drop cached.
QList<BucketItem> shelfOf(int count, const QString& imageCache) {
    QList<BucketItem> items = bench::sampleShelf(count);
    for (int i = 0; i < count; ++i) {
        items[i].isLocked = i % 7 == 0;
        if (i % 100 != 0)
            continue;
        const QString image = QDir(imageCache).filePath(QStringLiteral("image-%1.png").arg(i));
        QFile file(image);
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(2048, 'p'));
        items[i].items = {BucketItemData(
            QString::fromLatin1(QUrl::fromLocalFile(image).toEncoded()), shelf::UTType::png)};
    }
    return items;
}

void encode(benchmark::State& state) {
    QTemporaryDir cache;
    const QList<BucketItem> items = shelfOf(int(state.range(0)), cache.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(shelf::ShelfFile::encode(items));
    state.counters["bytes"] = double(shelf::ShelfFile::encode(items).size());
}

void decode(benchmark::State& state) {
    QTemporaryDir cache;
    const QByteArray bytes = shelf::ShelfFile::encode(shelfOf(int(state.range(0)), cache.path()));
    for (auto _ : state)
        benchmark::DoNotOptimize(shelf::ShelfFile::decode(bytes));
}

void save(benchmark::State& state) {
    QTemporaryDir home;
    const QString cache = home.filePath(QStringLiteral("cache"));
    QDir().mkpath(cache);
    const QList<BucketItem> items = shelfOf(int(state.range(0)), cache);
    shelf::ShelfStore store(home.filePath(QStringLiteral("data")), cache);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.save(items));
}

void load(benchmark::State& state) {
    QTemporaryDir home;
    const QString cache = home.filePath(QStringLiteral("cache"));
    QDir().mkpath(cache);
    shelf::ShelfStore store(home.filePath(QStringLiteral("data")), cache);
    store.save(shelfOf(int(state.range(0)), cache));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.load());
}

} // namespace

BENCHMARK(encode)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(decode)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(save)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(load)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
