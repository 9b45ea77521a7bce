// The "page" subcommand's drawing: the printed schedule page as a PDF or PNG
// file. Only the drawing program links it (see DrawingCommands.h).

#include "app/cli/DrawingCommands.h"

#include "app/cli/PageBatch.h"
#include "app/cli/PageOptions.h"
#include "app/cli/PregnancyCalendarOptions.h"
#include "app/cli/ScheduleOptions.h"

#include "platform/Fonts.h"
#include "print/CalendarPage.h"
#include "print/PageOutput.h"
#include "records/AppRecords.h"

#include <QDate>

#include <functional>

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

    ConsoleMessages messages(console);
    auto resolved = ResolveScheduleRecords(schedule, messages);
    if (const QString *error = std::get_if<QString>(&resolved))
        return badUsage(*error);
    AppRecords &records = std::get<AppRecords>(resolved);

    const auto read = ReadBatchPages(std::get<QByteArray>(bytes), records.settings);
    if (const QString *error = std::get_if<QString>(&read)) {
        console.Error(csvFile + u": " + *error);
        return ExitInputRefused;
    }
    const BatchPages &batch = std::get<BatchPages>(read);
    for (const BatchRowError &failure : batch.failures)
        console.Error(QStringLiteral("%1 の %2 行目: ").arg(csvFile).arg(failure.line) + failure.reason);
    if (batch.pages.empty()) {
        console.Error(QStringLiteral("ページにできる行がありません: ") + csvFile);
        return ExitInputRefused;
    }

    platform::InstallFontSubstitutions();
    SilentSounds sounds;
    const PageFile file = RenderBatchPdf(batch, records, sheet.paper, sheet.dpi, messages, sounds);
    if (file.bytes.isEmpty()) {
        console.Error(file.error.isEmpty() ? QStringLiteral("PDF を作れませんでした。") : file.error);
        return ExitCannotWrite;
    }
    if (!console.WriteOutput(file.bytes, schedule.outputFile))
        return ExitCannotWrite;
    return batch.failures.empty() ? ExitOk : ExitInputRefused;
}

// How a single page is drawn for the fields it reads, or why they make none
// (exit status 2).
using DrawingFor = std::function<std::variant<PageDrawing, QString>(const PlainInputFields &)>;

// The single page of "page" and "calendar" as a PDF or PNG file.
int RunSinglePage(const QCommandLineParser &parser, Console &console, const SheetChoice &sheet,
                  const DrawingFor &drawingFor)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };
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

    const PlainInputFields fields = PageFieldsOf(input, schedule.motherName);
    const auto drawing = drawingFor(fields);
    if (const QString *refusal = std::get_if<QString>(&drawing)) {
        console.Error(*refusal);
        return ExitInputRefused;
    }
    const PageDrawing &draw = std::get<PageDrawing>(drawing);

    platform::InstallFontSubstitutions();
    SilentSounds sounds;
    const PageSources sources{records.settings, records.notices, records.block, fields, messages, sounds};
    const PageFile file = pdf ? RenderPagePdf(sheet.paper, sheet.dpi, sources, draw)
                              : RenderPagePng(sheet.paper, sheet.dpi, sources, draw);
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

int RunPage(const QCommandLineParser &parser, Console &console)
{
    const auto sheetChoice = ReadSheetOptions(parser);
    if (const QString *error = std::get_if<QString>(&sheetChoice))
        return UsageError(console, *error);
    const SheetChoice &sheet = std::get<SheetChoice>(sheetChoice);
    if (parser.isSet(BatchOption))
        return RunBatch(parser, console, sheet);
    return RunSinglePage(parser, console, sheet,
                         [](const PlainInputFields &) -> std::variant<PageDrawing, QString> { return PageDrawing{}; });
}

// The calendar's own options: the birth date, twins or more, the clinic's
// check-up plan; a reason when one is bad.
std::variant<CalendarRequest, QString> ReadCalendarRequest(const QCommandLineParser &parser)
{
    if (parser.values(CalendarBornOption).size() > 1)
        return QStringLiteral("--%1 が二度以上指定されています。").arg(CalendarBornOption);
    auto weeks = ReadCheckupWeeks(parser);
    if (QString *error = std::get_if<QString>(&weeks))
        return std::move(*error);
    CalendarRequest request;
    request.checkupWeeks = std::move(std::get<std::vector<int>>(weeks));
    request.multiple = parser.isSet(CalendarMultipleOption);
    const QDate today = QDate::currentDate();
    request.today = CalendarDate{today.year(), today.month(), today.day()};
    if (parser.isSet(CalendarBornOption)) {
        const QString text = parser.value(CalendarBornOption);
        request.birth = ParseCalendarDay(text);
        if (!request.birth || text.contains(u'/'))
            return QStringLiteral("--born には YYYY-MM-DD の形で実在する日付を指定して下さい: ") + text;
    }
    return request;
}

int RunCalendar(const QCommandLineParser &parser, Console &console)
{
    const auto sheetChoice = ReadSheetOptions(parser);
    if (const QString *error = std::get_if<QString>(&sheetChoice))
        return UsageError(console, *error);
    const auto read = ReadCalendarRequest(parser);
    if (const QString *error = std::get_if<QString>(&read))
        return UsageError(console, *error);
    const CalendarRequest &request = std::get<CalendarRequest>(read);
    return RunSinglePage(parser, console, std::get<SheetChoice>(sheetChoice),
                         [&request](const PlainInputFields &fields) -> std::variant<PageDrawing, QString> {
                             const std::optional<CalendarPlan> plan = MakeCalendarPlan(fields, request);
                             if (plan && !plan->birthRefusal.isEmpty())
                                 return plan->birthRefusal;
                             return CalendarPageDrawing(request);
                         });
}

} // namespace

std::vector<Subcommand> DrawingSubcommands()
{
    std::vector<Subcommand> commands = Subcommands();
    for (Subcommand &command : commands) {
        if (command.name == PageSubcommand().name)
            command.run = RunPage;
        else if (command.name == CalendarSubcommand().name)
            command.run = RunCalendar;
    }
    return commands;
}

} // namespace ralvo::cli
