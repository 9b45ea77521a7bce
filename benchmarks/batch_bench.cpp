// How long "ralvo-schedule page --batch" and the window's batch command take
// for a day of 100 patients: the CSV read, every row checked, and a
// 100-page A4 PDF at 600 dpi written, with the first-run settings (the window
// answers its dialogs and its progress box through stand-ins); and for the
// command line, rows per second and the peak memory at 1,000 and 10,000 rows
// (the pages stream into the output file, so the peak stays that of the
// smaller batches). Run with QT_QPA_PLATFORM=offscreen when there is no
// display.

#include "app/cli/DrawingCommands.h"
#include "app/ui/BatchPdfCommand.h"
#include "platform/Fonts.h"
#include "records/AppRecords.h"
#include "textout/TextFile.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

#include <sys/resource.h>

namespace {

// Peak resident memory of this process so far, in megabytes.
double PeakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// A day of `rows` patients as a CSV file in `dir`; empty when it cannot be
// written.
QString WriteDay(const QTemporaryDir &dir, int rows = 100)
{
    const QString csv = dir.filePath(QStringLiteral("day.csv"));
    QByteArray table = "name,basis,year,month,day,cycle\r\n";
    for (int row = 0; row < rows; ++row)
        table += QStringLiteral("患者 %1,%2,2024,%3,%4,28\r\n")
                     .arg(row + 1)
                     .arg(row % 3)
                     .arg(row % 12 + 1)
                     .arg(row % 28 + 1)
                     .toUtf8();
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly) || file.write(table) != table.size())
        return {};
    return csv;
}

void Batch(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QTemporaryDir dir;
    const QString csv = WriteDay(dir, rows);
    const QString pdf = dir.filePath(QStringLiteral("day.pdf"));
    if (csv.isEmpty()) {
        state.SkipWithError("cannot write the CSV file");
        return;
    }
    std::FILE *null = std::fopen("/dev/null", "w");
    ralvo::cli::Console console(null, null);
    const QStringList arguments{QStringLiteral("ralvo-schedule"),
                                QStringLiteral("page"),
                                QStringLiteral("--defaults"),
                                QStringLiteral("--batch"),
                                csv,
                                QStringLiteral("--max-rows"),
                                QString::number(rows),
                                QStringLiteral("-o"),
                                pdf};
    for (auto _ : state) {
        if (ralvo::cli::RunCommandLine(arguments, console, ralvo::cli::DrawingSubcommands()) != 0) {
            state.SkipWithError("the batch failed");
            break;
        }
    }
    std::fclose(null);
    state.SetItemsProcessed(qint64(state.iterations()) * rows); // rows per second
    state.counters["peak_MB"] = PeakResidentMegabytes();
}
// In this order: the peak after each batch includes those before it.
BENCHMARK(Batch)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(Batch)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The window's command, its two file dialogs answered at once.
class Answers final : public ralvo::platform::Messages,
                      public ralvo::platform::Sounds,
                      public ralvo::platform::FileDialogs,
                      public ralvo::platform::Progress
{
public:
    QStringList files;
    int messages = 0;
    void ShowMessage(const QString &) override { ++messages; }
    Answer Ask(const Question &q) override { return q.defaultAnswer; }
    void Beep() override {}
    void Exclamation() override {}
    std::optional<QString> GetOpenFileName(const Request &) override { return files.value(0); }
    std::optional<QString> GetSaveFileName(const Request &) override { return files.value(1); }
    std::optional<QString> GetPictureFileName(const Request &) override { return std::nullopt; }
    void Start(const QString &, const QString &, int) override {}
    bool Advance(int) override { return true; }
    void Finish() override {}
};

void WindowBatch100(benchmark::State &state)
{
    QTemporaryDir dir;
    Answers answers;
    answers.files = {WriteDay(dir), dir.filePath(QStringLiteral("day.pdf"))};
    if (answers.files.first().isEmpty()) {
        state.SkipWithError("cannot write the CSV file");
        return;
    }
    ralvo::platform::Services services;
    services.messages = &answers;
    services.sounds = &answers;
    services.fileDialogs = &answers;
    services.progress = &answers;
    ralvo::AppRecords records;
    for (auto _ : state) {
        if (ralvo::MakeBatchPdf(records, services) != ralvo::BatchPdfResult::Written) {
            state.SkipWithError("the batch failed");
            break;
        }
    }
}
BENCHMARK(WindowBatch100)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

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
