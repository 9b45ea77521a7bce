// Loading the settings store grows linearly with the number of values:
// one key holding N values, and N keys holding one value each (50,000 make
// a file of under a megabyte). Google Benchmark fits the complexity.
// At scale, up to a file of 24 MB and 1.2 million keys: the time, the heap
// the store holds against the file's size, and whether it was held at all
// (a shape that needs more than ten times the file is read as damaged).

#include "platform/SettingsStore.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

QByteArray Header()
{
    return "{\n    \"format\": \"ralvo-settings\",\n    \"version\": 1,\n    \"keys\": {\n";
}

QByteArray OneKeyWithValues(qint64 count)
{
    QByteArray json = Header() + "        \"\\\\Software\\\\Quenda\\\\Ralvo\\\\2.0\\\\SetData\": {\n";
    for (qint64 i = 0; i < count; ++i)
        json += "            \"Value" + QByteArray::number(i) + "\": " + QByteArray::number(i)
                + (i + 1 < count ? ",\n" : "\n");
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
        auto store = ralvo::platform::SettingsStore::FromJson(json);
        if (!store)
            state.SkipWithError("not a store");
        benchmark::DoNotOptimize(store);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(qint64(state.iterations()) * json.size());
}

void BM_LoadOneKeyWithManyValues(benchmark::State &state)
{
    Load(state, OneKeyWithValues(state.range(0)));
}

void BM_LoadManyKeys(benchmark::State &state)
{
    Load(state, KeysWithOneValue(state.range(0)));
}

// Bytes of heap in use now (glibc; not under a sanitizer).
double HeapInUse()
{
    return double(mallinfo2().uordblks);
}

void LoadAtScale(benchmark::State &state, const QByteArray &json)
{
    double held = 0;
    double heap = 0;
    for (auto _ : state) {
        const double before = HeapInUse();
        auto store = ralvo::platform::SettingsStore::FromJson(json);
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

void BM_LoadManyKeysAtScale(benchmark::State &state)
{
    LoadAtScale(state, KeysWithOneValue(state.range(0)));
}

void BM_LoadManyValuesAtScale(benchmark::State &state)
{
    LoadAtScale(state, OneKeyWithValues(state.range(0)));
}

} // namespace

BENCHMARK(BM_LoadManyKeysAtScale)
    ->RangeMultiplier(4)
    ->Range(75000, 1200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LoadManyValuesAtScale)
    ->RangeMultiplier(4)
    ->Range(75000, 1200000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LoadOneKeyWithManyValues)
    ->RangeMultiplier(2)
    ->Range(6250, 50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LoadManyKeys)->RangeMultiplier(2)->Range(6250, 50000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
