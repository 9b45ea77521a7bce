// How long "ralvo-schedule page --batch" takes for a day of 100 patients:
// the CSV read, every row checked, and a 100-page A4 PDF at 600 dpi written,
// with the first-run settings. Run with QT_QPA_PLATFORM=offscreen when there
// is no display.

#include "app/cli/DrawingCommands.h"
#include "platform/Fonts.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

void Batch100(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("day.csv"));
    const QString pdf = dir.filePath(QStringLiteral("day.pdf"));
    QByteArray table = "name,basis,year,month,day,cycle\r\n";
    for (int row = 0; row < 100; ++row)
        table += QStringLiteral("患者 %1,%2,2024,%3,%4,28\r\n")
                     .arg(row + 1)
                     .arg(row % 3)
                     .arg(row % 12 + 1)
                     .arg(row % 28 + 1)
                     .toUtf8();
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly) || file.write(table) != table.size()) {
        state.SkipWithError("cannot write the CSV file");
        return;
    }
    file.close();
    std::FILE *null = std::fopen("/dev/null", "w");
    ralvo::cli::Console console(null, null);
    const QStringList arguments{QStringLiteral("ralvo-schedule"),
                                QStringLiteral("page"),
                                QStringLiteral("--defaults"),
                                QStringLiteral("--batch"),
                                csv,
                                QStringLiteral("-o"),
                                pdf};
    for (auto _ : state) {
        if (ralvo::cli::RunCommandLine(arguments, console, ralvo::cli::DrawingSubcommands()) != 0) {
            state.SkipWithError("the batch failed");
            break;
        }
    }
    std::fclose(null);
}
BENCHMARK(Batch100)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
