// The "page" subcommand: the printed schedule page as a PDF or PNG file.

#include "app/cli/ScheduleOptions.h"
#include "app/cli/Subcommands.h"

#include "platform/Fonts.h"
#include "print/PageOutput.h"

namespace ralvo::cli {

namespace {

const QString PaperOption = QStringLiteral("paper");
const QString DpiOption = QStringLiteral("dpi");

// The command line has no speaker: the refusal is told on standard error.
class SilentSounds final : public platform::Sounds
{
public:
    void Beep() override {}
    void Exclamation() override {}
};

void AddPageOptions(QCommandLineParser &parser)
{
    AddScheduleOptions(parser);
    parser.addOptions({
        {PaperOption, QStringLiteral("用紙"), QStringLiteral("a4|b5")},
        {DpiOption, QStringLiteral("解像度"), QStringLiteral("N")},
    });
}

std::optional<PagePaper> PaperOf(const QString &text)
{
    if (text.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return PagePaper::A4;
    if (text.compare(QLatin1String("b5"), Qt::CaseInsensitive) == 0)
        return PagePaper::JisB5;
    return std::nullopt;
}

int RunPage(const QCommandLineParser &parser, Console &console)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };

    const auto request = ReadScheduleOptions(parser);
    if (const QString *error = std::get_if<QString>(&request))
        return badUsage(*error);
    const ScheduleRequest &schedule = std::get<ScheduleRequest>(request);

    for (const QString &single : {PaperOption, DpiOption}) {
        if (parser.values(single).size() > 1)
            return badUsage(QStringLiteral("--%1 が二度以上指定されています。").arg(single));
    }
    const std::optional<PagePaper> paper =
        PaperOf(parser.isSet(PaperOption) ? parser.value(PaperOption) : QStringLiteral("a4"));
    if (!paper)
        return badUsage(QStringLiteral("--paper には a4 か b5 を指定して下さい: ")
                        + parser.value(PaperOption));
    int dpi = 600;
    if (parser.isSet(DpiOption)) {
        const std::optional<qint32> value = ParseIntegerField(parser.value(DpiOption));
        if (!value || *value < kMinPageDpi || *value > kMaxPageDpi)
            return badUsage(QStringLiteral("--dpi には %1 から %2 までの整数を指定して下さい: ")
                                .arg(kMinPageDpi)
                                .arg(kMaxPageDpi)
                            + parser.value(DpiOption));
        dpi = *value;
    }
    const QString output = schedule.outputFile;
    const bool pdf = output.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const bool png = output.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    if (!pdf && !png)
        return badUsage(QStringLiteral("-o には .pdf か .png で終わるファイル名を指定して下さい。"));

    ConsoleMessages messages(console);
    auto resolved = ResolveScheduleRecords(schedule, messages);
    if (const QString *error = std::get_if<QString>(&resolved))
        return badUsage(*error);
    AppRecords &records = std::get<AppRecords>(resolved);

    platform::InstallFontSubstitutions();
    PlainInputFields fields;
    fields.basis = int(schedule.input.basis);
    fields.year = schedule.input.year;
    fields.month = schedule.input.month;
    fields.day = schedule.input.day;
    fields.cycle = schedule.input.cycle;
    fields.mother = schedule.motherName;
    SilentSounds sounds;
    const PageSources sources{records.settings, records.notices, records.block, fields, messages,
                              sounds};
    const PageFile file = pdf ? RenderPagePdf(*paper, dpi, sources)
                              : RenderPagePng(*paper, dpi, sources);
    if (file.result == PageResult::InputFailure) {
        console.Error(InputRefusalMessage(schedule.input));
        return ExitInputRefused;
    }
    if (file.bytes.isEmpty()) {
        console.Error(file.error);
        return ExitCannotWrite;
    }
    return console.WriteOutput(file.bytes, output) ? ExitOk : ExitCannotWrite;
}

} // namespace

Subcommand PageSubcommand()
{
    return Subcommand{
        QStringLiteral("page"),
        QStringLiteral(
            "  ralvo-schedule page --basis 0|1|2 --year TEXT --month TEXT --day TEXT --cycle TEXT\n"
            "                      [--name TEXT] [--set FIELD=VALUE]... [--defaults | --settings FILE]\n"
            "                      [--paper a4|b5] [--dpi N] -o FILE.pdf|FILE.png\n"),
        ScheduleOptionsUsage()
            + QStringLiteral(
                "  --paper a4|b5        用紙: a4 (既定) か b5 (JIS B5)\n"
                "  --dpi N              解像度 (既定 600、1 から 1200 まで)\n"
                "  (page の -o は必須です。.pdf なら PDF (フォント埋め込み)、.png なら画像を書き出します)\n"),
        AddPageOptions,
        RunPage,
        true,
    };
}

} // namespace ralvo::cli
