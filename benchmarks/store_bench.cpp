// Loading the settings store grows linearly with the number of values:
// one key holding N values, and N keys holding one value each (50,000 make
// a file of under a megabyte). Google Benchmark fits the complexity.

#include "platform/SettingsStore.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

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

} // namespace

BENCHMARK(BM_LoadOneKeyWithManyValues)
    ->RangeMultiplier(2)
    ->Range(6250, 50000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_LoadManyKeys)->RangeMultiplier(2)->Range(6250, 50000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
