// The "page" subcommand's drawing: the printed schedule page as a PDF or PNG
// file. Only the drawing program links it (see DrawingCommands.h).

#include "app/cli/DrawingCommands.h"

#include "app/cli/BatchFile.h"
#include "app/cli/CsvTable.h"
#include "app/cli/PageOptions.h"
#include "app/cli/ScheduleOptions.h"

#include "platform/Fonts.h"
#include "print/PageOutput.h"
#include "records/AppRecords.h"

#include <algorithm>

namespace ralvo::cli {

namespace {

// The command line has no speaker: the refusal is told on standard error.
class SilentSounds final : public platform::Sounds
{
public:
    void Beep() override {}
    void Exclamation() override {}
};

// The records a page needs: settings, notices and the institution block.
std::variant<AppRecords, QString> ResolveScheduleRecords(const ScheduleRequest &request, platform::Messages &messages)
{
    auto resolved = ResolveStoredRecords(request, messages);
    if (const QString *error = std::get_if<QString>(&resolved))
        return *error;
    StoredRecords &stored = std::get<StoredRecords>(resolved);
    AppRecords records;
    records.settings = std::move(stored.settings);
    records.notices = std::move(stored.notices);
    if (stored.blockText)
        records.block = KikanmeiBlock::FromText(*stored.blockText);
    return records;
}

std::optional<PagePaper> PaperOf(const QString &text)
{
    if (text.compare(QLatin1String("a4"), Qt::CaseInsensitive) == 0)
        return PagePaper::A4;
    if (text.compare(QLatin1String("b5"), Qt::CaseInsensitive) == 0)
        return PagePaper::JisB5;
    return std::nullopt;
}

// The sheet options, checked; or the exit status of a refusal.
struct SheetChoice
{
    PagePaper paper = PagePaper::A4;
    int dpi = 600;
};

std::variant<SheetChoice, QString> ReadSheetOptions(const QCommandLineParser &parser)
{
    for (const QString &single : {PaperOption, DpiOption, BatchOption}) {
        if (parser.values(single).size() > 1)
            return QStringLiteral("--%1 が二度以上指定されています。").arg(single);
    }
    SheetChoice sheet;
    const std::optional<PagePaper> paper =
        PaperOf(parser.isSet(PaperOption) ? parser.value(PaperOption) : QStringLiteral("a4"));
    if (!paper)
        return QStringLiteral("--paper には a4 か b5 を指定して下さい: ") + parser.value(PaperOption);
    sheet.paper = *paper;
    if (parser.isSet(DpiOption)) {
        const std::optional<qint32> value = ParseIntegerField(parser.value(DpiOption));
        if (!value || *value < kMinPageDpi || *value > kMaxPageDpi)
            return QStringLiteral("--dpi には %1 から %2 までの整数を指定して下さい: ")
                       .arg(kMinPageDpi)
                       .arg(kMaxPageDpi)
                   + parser.value(DpiOption);
        sheet.dpi = *value;
    }
    return sheet;
}

PlainInputFields FieldsOf(const CalculationInput &input, const QString &motherName)
{
    PlainInputFields fields;
    fields.basis = int(input.basis);
    fields.year = input.year;
    fields.month = input.month;
    fields.day = input.day;
    fields.cycle = input.cycle;
    fields.mother = motherName;
    return fields;
}

// page --batch: one page per row of the CSV file, the rows that cannot be a
// page reported with their line and left out.
int RunBatch(const QCommandLineParser &parser, Console &console, const SheetChoice &sheet)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };

    const auto request = ReadScheduleOptionsWithoutInput(parser);
    if (const QString *error = std::get_if<QString>(&request))
        return badUsage(*error);
    const ScheduleRequest &schedule = std::get<ScheduleRequest>(request);
    if (!schedule.outputFile.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return badUsage(QStringLiteral("--batch では -o に .pdf で終わるファイル名を指定して下さい。"));

    const QString csvFile = parser.value(BatchOption);
    const auto bytes = ReadBatchFileBytes(csvFile);
    if (const QString *error = std::get_if<QString>(&bytes)) {
        console.Error(*error);
        return ExitInputRefused;
    }
    const std::optional<QString> text = DecodeCsvBytes(std::get<QByteArray>(bytes));
    if (!text) {
        console.Error(QStringLiteral("CSV ファイルが UTF-8 でも Shift-JIS でもありません: ") + csvFile);
        return ExitInputRefused;
    }
    const auto read = ReadBatchRows(*text);
    if (const QString *error = std::get_if<QString>(&read)) {
        console.Error(csvFile + u": " + *error);
        return ExitInputRefused;
    }
    const BatchRows &batch = std::get<BatchRows>(read);

    ConsoleMessages messages(console);
    auto resolved = ResolveScheduleRecords(schedule, messages);
    if (const QString *error = std::get_if<QString>(&resolved))
        return badUsage(*error);
    AppRecords &records = std::get<AppRecords>(resolved);

    // Every row's failure in line order, those of the table and of the input alike.
    std::vector<BatchRowError> failures = batch.errors;
    std::vector<PlainInputFields> fields;
    fields.reserve(batch.rows.size());
    for (const BatchRow &row : batch.rows) {
        PlainInputFields rowFields = FieldsOf(row.input, row.name);
        if (!PageSchedule(records.settings, rowFields)) {
            failures.push_back({row.line, InputRefusalMessage(row.input)});
            continue;
        }
        fields.push_back(std::move(rowFields));
    }
    std::stable_sort(failures.begin(), failures.end(),
                     [](const BatchRowError &a, const BatchRowError &b) { return a.line < b.line; });
    for (const BatchRowError &failure : failures)
        console.Error(QStringLiteral("%1 の %2 行目: ").arg(csvFile).arg(failure.line) + failure.reason);
    if (fields.empty()) {
        console.Error(QStringLiteral("ページにできる行がありません: ") + csvFile);
        return ExitInputRefused;
    }

    platform::InstallFontSubstitutions();
    SilentSounds sounds;
    std::vector<PageSources> pages;
    pages.reserve(fields.size());
    for (const PlainInputFields &rowFields : fields)
        pages.push_back(PageSources{records.settings, records.notices, records.block, rowFields, messages, sounds});
    const PageFile file = RenderPagesPdf(sheet.paper, sheet.dpi, pages);
    if (file.bytes.isEmpty()) {
        console.Error(file.error.isEmpty() ? QStringLiteral("PDF を作れませんでした。") : file.error);
        return ExitCannotWrite;
    }
    if (!console.WriteOutput(file.bytes, schedule.outputFile))
        return ExitCannotWrite;
    return failures.empty() ? ExitOk : ExitInputRefused;
}

int RunPage(const QCommandLineParser &parser, Console &console)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };

    const auto sheetChoice = ReadSheetOptions(parser);
    if (const QString *error = std::get_if<QString>(&sheetChoice))
        return badUsage(*error);
    const SheetChoice &sheet = std::get<SheetChoice>(sheetChoice);
    if (parser.isSet(BatchOption))
        return RunBatch(parser, console, sheet);

    const auto request = ReadScheduleOptions(parser);
    if (const QString *error = std::get_if<QString>(&request))
        return badUsage(*error);
    const ScheduleRequest &schedule = std::get<ScheduleRequest>(request);

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

    // A scan becomes its due date: the page shows the dates, not the basis.
    const auto dated = DateInput(schedule.input, schedule.scan);
    if (const QString *error = std::get_if<QString>(&dated)) {
        console.Error(*error);
        return ExitInputRefused;
    }
    const CalculationInput &input = std::get<DatedInput>(dated).input;

    platform::InstallFontSubstitutions();
    const PlainInputFields fields = FieldsOf(input, schedule.motherName);
    SilentSounds sounds;
    const PageSources sources{records.settings, records.notices, records.block, fields, messages, sounds};
    const PageFile file =
        pdf ? RenderPagePdf(sheet.paper, sheet.dpi, sources) : RenderPagePng(sheet.paper, sheet.dpi, sources);
    if (file.result == PageResult::InputFailure) {
        console.Error(InputRefusalMessage(input));
        return ExitInputRefused;
    }
    if (file.bytes.isEmpty()) {
        console.Error(file.error);
        return ExitCannotWrite;
    }
    return console.WriteOutput(file.bytes, output) ? ExitOk : ExitCannotWrite;
}

} // namespace

std::vector<Subcommand> DrawingSubcommands()
{
    std::vector<Subcommand> commands = Subcommands();
    for (Subcommand &command : commands) {
        if (command.name == PageSubcommand().name)
            command.run = RunPage;
    }
    return commands;
}

} // namespace ralvo::cli
