// Loading the settings store grows linearly with the number of values:
// one key holding N values, and N keys holding one value each (50,000 make
// a file of under a megabyte). Google Benchmark fits the complexity.
// At scale, up to a file of 58 MB and 1.2 million keys: the time, the heap
// the store holds against the file's size, and whether it was held at all
// (a shape that needs more than ten times the file is read as damaged).

#include "store/SettingsStore.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

QByteArray Header() { return "{\n    \"format\": \"ralvo-settings\",\n    \"version\": 1,\n    \"keys\": {\n"; }

QByteArray OneKeyWithValues(qint64 count)
{
    QByteArray json = Header() + "        \"\\\\Software\\\\Quenda\\\\Ralvo\\\\2.0\\\\SetData\": {\n";
    for (qint64 i = 0; i < count; ++i)
        json += "            \"Value" + QByteArray::number(i) + "\": " + QByteArray::number(i)
                + (i + 1 < count ? ",\n" : "\n");
    return json + "        }\n    }\n}\n";
}

// Notice-like values: forty characters of Japanese text each.
QByteArray OneKeyWithTexts(qint64 count)
{
    const QByteArray text =
        QStringLiteral("妊娠中の健診は毎回母子健康手帳をお持ちください。").repeated(2).left(40).toUtf8();
    QByteArray json = Header() + "        \"\\\\Software\\\\Quenda\\\\Ralvo\\\\2.0\\\\SetData\": {\n";
    for (qint64 i = 0; i < count; ++i)
        json += "            \"Text" + QByteArray::number(i) + "\": \"" + text + (i + 1 < count ? "\",\n" : "\"\n");
    return json + "        }\n    }\n}\n";
}

QByteArray KeysWithOneValue(qint64 count)
{
    QByteArray json = Header();
    for (qint64 i = 0; i < count; ++i)
        json += "        \"\\\\Software\\\\Key" + QByteArray::number(i) + "\": {\"Text\": \"t\"}"
                + (i + 1 < count ? ",\n" : "\n");
    return json + "    }\n}\n";
}

void Load(benchmark::State &state, const QByteArray &json)
{
    for (auto _ : state) {
        auto store = ralvo::store::SettingsStore::FromJson(json);
        if (!store)
            state.SkipWithError("not a store");
        benchmark::DoNotOptimize(store);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(qint64(state.iterations()) * json.size());
}

void BM_LoadOneKeyWithManyValues(benchmark::State &state) { Load(state, OneKeyWithValues(state.range(0))); }

void BM_LoadManyKeys(benchmark::State &state) { Load(state, KeysWithOneValue(state.range(0))); }

// Bytes of heap in use now (glibc; not under a sanitizer): the arenas'
// chunks and the large blocks glibc maps on their own.
double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

void LoadAtScale(benchmark::State &state, const QByteArray &json)
{
    double held = 0;
    double heap = 0;
    for (auto _ : state) {
        const double before = HeapInUse();
        auto store = ralvo::store::SettingsStore::FromJson(json);
        heap = HeapInUse() - before;
        held = store ? 1 : 0;
        benchmark::DoNotOptimize(store);
    }
    state.SetComplexityN(state.range(0));
    state.counters["file_MB"] = double(json.size()) / 1e6;
    state.counters["heap_MB"] = heap / 1e6;
    state.counters["heap_per_file_byte"] = heap / double(json.size());
    state.counters["held"] = held;
}

void BM_LoadManyKeysAtScale(benchmark::State &state) { LoadAtScale(state, KeysWithOneValue(state.range(0))); }

void BM_LoadManyValuesAtScale(benchmark::State &state) { LoadAtScale(state, OneKeyWithValues(state.range(0))); }

void BM_LoadManyTextsAtScale(benchmark::State &state) { LoadAtScale(state, OneKeyWithTexts(state.range(0))); }

} // namespace

// From a file of 30 kB to one of 58 MB (keys), 42 MB (values) or 45 MB
// (texts).
void AtScale(benchmark::internal::Benchmark *benchmark, std::initializer_list<int> counts)
{
    for (const int count : counts)
        benchmark->Arg(count);
    benchmark->Iterations(1)->Unit(benchmark::kMillisecond)->Complexity();
}

BENCHMARK(BM_LoadManyKeysAtScale)->Apply([](auto *b) { AtScale(b, {1000, 10000, 75000, 300000, 1200000}); });
BENCHMARK(BM_LoadManyValuesAtScale)->Apply([](auto *b) { AtScale(b, {1000, 10000, 75000, 300000, 1200000}); });
BENCHMARK(BM_LoadManyTextsAtScale)->Apply([](auto *b) { AtScale(b, {1000, 10000, 75000, 300000}); });
BENCHMARK(BM_LoadOneKeyWithManyValues)
    ->RangeMultiplier(2)
    ->Range(6250, 50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LoadManyKeys)->RangeMultiplier(2)->Range(6250, 50000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
