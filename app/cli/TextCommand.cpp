// The "text" subcommand: the text schedule, encoded as the text editor saves
// it (code page 932, CR LF), or as UTF-8 with LF for a terminal.

#include "app/cli/ScheduleOptions.h"
#include "app/cli/Subcommands.h"

#include "textout/TextSchedule.h"

namespace ralvo::cli {

namespace {

const QString Utf8Option = QStringLiteral("utf8");

void AddTextOptions(QCommandLineParser &parser)
{
    AddScheduleOptions(parser);
    parser.addOption({Utf8Option, QStringLiteral("UTF-8 と LF で書き出す")});
}

int RunText(const QCommandLineParser &parser, Console &console)
{
    ConsoleMessages messages(console);
    const auto run = ReadScheduleRun(parser, console, messages);
    if (const int *status = std::get_if<int>(&run))
        return *status;
    const auto &[schedule, records, scan] = std::get<ScheduleRun>(run);

    const std::optional<QStringList> lines =
        TextScheduleLines(schedule.input, schedule.motherName, records.settings, messages, scan);
    if (!lines) {
        console.Error(InputRefusalMessage(schedule.input));
        return ExitInputRefused;
    }

    QByteArray bytes;
    if (parser.isSet(Utf8Option)) {
        bytes = EncodeUtf8Lines(*lines);
    } else {
        const platform::ShiftJisBytes encoded = EncodeTextFile(*lines);
        if (!encoded.ok()) {
            console.Error(QStringLiteral("Shift-JIS で表せない文字があります: ") + encoded.unencodable);
            return ExitInputRefused;
        }
        bytes = encoded.bytes;
    }
    return console.WriteOutput(bytes, schedule.outputFile) ? ExitOk : ExitCannotWrite;
}

} // namespace

Subcommand TextSubcommand()
{
    return Subcommand{
        QStringLiteral("text"),
        QStringLiteral("  ralvo-schedule text --basis 0|1|2|ivf3|ivf5|crl|bpd|ga --year TEXT --month TEXT --day TEXT\n"
                       "                      --cycle TEXT [--name TEXT] [--set FIELD=VALUE]...\n"
                       "                      [--crl MM [--method intergrowth|robinson] | --bpd MM | --ga W+D]\n"

                       "                      [--defaults | --settings FILE] [--utf8] [-o FILE]\n"),
        ScheduleOptionsUsage()
            + QStringLiteral("  --utf8               Shift-JIS と CR LF の代わりに UTF-8 と LF で書き出します\n"),
        AddTextOptions,
        RunText,
    };
}

} // namespace ralvo::cli
