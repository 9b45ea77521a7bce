// The "page" subcommand's drawing: the printed schedule page as a PDF or PNG
// file. Only the drawing program links it (see DrawingCommands.h).

#include "app/cli/DrawingCommands.h"

#include "app/cli/PageBatch.h"
#include "app/cli/PageOptions.h"
#include "app/cli/PregnancyCalendarOptions.h"
#include "app/cli/ScheduleOptions.h"

#include "kikanmei/WakuDrawing.h"
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

// The messages of the page's drawing: a picture that cannot be loaded is
// left to UnreadablePictures, which names its file; the rest go on.
class PageMessages final : public platform::Messages
{
public:
    explicit PageMessages(platform::Messages &next) : m_next(next) {}
    void ShowMessage(const QString &text) override
    {
        if (text != PictureLoadFailedMessage())
            m_next.ShowMessage(text);
    }
    Answer Ask(const Question &question) override { return m_next.Ask(question); }

private:
    platform::Messages &m_next;
};

// Tells every frame whose picture the drawing could not load (it marked the
// frame unreadable, where `stored` has a picture), naming its file; true
// when there was none.
bool AllPicturesLoaded(Console &console, const KikanmeiBlock &stored, const KikanmeiBlock &drawn)
{
    bool loaded = true;
    for (qsizetype i = 0; i < drawn.FrameCount() && i < stored.FrameCount(); ++i) {
        const WakuRecord frame = drawn.Frame(i);
        if (frame.Kind != WakuKind::Unreadable() || stored.Frame(i).Kind == frame.Kind)
            continue;
        console.Error(PictureLoadFailedMessage() + QStringLiteral(": ") + frame.Content);
        loaded = false;
    }
    return loaded;
}

// The records a page needs: settings, notices and the institution block.
std::variant<AppRecords, RecordsRefusal> ResolveScheduleRecords(const ScheduleRequest &request,
                                                                platform::Messages &messages)
{
    auto resolved = ResolveStoredRecords(request, messages);
    if (const RecordsRefusal *refusal = std::get_if<RecordsRefusal>(&resolved))
        return *refusal;
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

// The batch table's options, checked.
struct TableChoice
{
    CsvEncoding encoding = CsvEncoding::Guess;
    qint64 maxRows = kDefaultMaxBatchRows;
};

std::variant<TableChoice, QString> ReadTableOptions(const QCommandLineParser &parser)
{
    for (const QString &single : {EncodingOption, MaxRowsOption}) {
        if (parser.values(single).size() > 1)
            return QStringLiteral("--%1 が二度以上指定されています。").arg(single);
    }
    TableChoice choice;
    if (parser.isSet(EncodingOption)) {
        const QString name = parser.value(EncodingOption);
        if (name.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
            choice.encoding = CsvEncoding::Utf8;
        else if (name.compare(QLatin1String("shift-jis"), Qt::CaseInsensitive) == 0)
            choice.encoding = CsvEncoding::ShiftJis;
        else
            return QStringLiteral("--encoding には utf-8 か shift-jis を指定して下さい: ") + name;
    }
    if (parser.isSet(MaxRowsOption)) {
        const std::optional<qint32> rows = ParseIntegerField(parser.value(MaxRowsOption));
        if (!rows || *rows < 1)
            return QStringLiteral("--max-rows には 1 以上の整数を指定して下さい: ") + parser.value(MaxRowsOption);
        choice.maxRows = *rows;
    }
    return choice;
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

    const auto table = ReadTableOptions(parser);
    if (const QString *error = std::get_if<QString>(&table))
        return badUsage(*error);
    const TableChoice &choice = std::get<TableChoice>(table);

    const QString csvFile = parser.value(BatchOption);
    if (const int status = CheckOutputIsNoInput(console, schedule.outputFile, ReadFilesOf(schedule) << csvFile))
        return status;
    const auto bytes = ReadBatchFileBytes(csvFile);
    if (const QString *error = std::get_if<QString>(&bytes)) {
        console.Error(*error);
        return ExitInputRefused;
    }

    ConsoleMessages messages(console);
    auto resolved = ResolveScheduleRecords(schedule, messages);
    if (const RecordsRefusal *refusal = std::get_if<RecordsRefusal>(&resolved))
        return RefuseRecords(console, *refusal);
    AppRecords &records = std::get<AppRecords>(resolved);

    const auto read = ReadBatchPages(std::get<QByteArray>(bytes), records.settings, {choice.encoding, choice.maxRows});
    if (const BatchRefusal *refusal = std::get_if<BatchRefusal>(&read)) {
        const QString where =
            refusal->line > 0 ? QStringLiteral("%1 の %2 行目: ").arg(csvFile).arg(refusal->line) : csvFile + u": ";
        console.Error(where + refusal->reason
                      + (refusal->tooManyRows ? QStringLiteral(" (--max-rows で変えられます)") : QString()));
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
    PageMessages pageMessages(messages);
    const KikanmeiBlock stored = records.block;
    // Each page goes to the output's temporary file as it is drawn: memory
    // stays that of one page at any row count.
    store::StreamingFileWriter writer(schedule.outputFile);
    if (writer.failed()) { // a FIFO without a reader, a dangling link, ...
        console.Written(writer.Commit(), schedule.outputFile);
        return ExitCannotWrite;
    }
    store::FileWriterDevice device(writer);
    const PageFile file = RenderBatchPdfInto(device, batch, records, sheet.paper, sheet.dpi, pageMessages, sounds);
    if (file.result != PageResult::Drawn || (!file.error.isEmpty() && !writer.failed())) {
        console.Error(file.error.isEmpty() ? QStringLiteral("PDF を作れませんでした。") : file.error);
        return ExitCannotWrite;
    }
    if (!console.Written(writer.Commit(), schedule.outputFile))
        return ExitCannotWrite;
    const bool pictures = AllPicturesLoaded(console, stored, records.block);
    return batch.failures.empty() && pictures ? ExitOk : ExitInputRefused;
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

    if (const int status = CheckOutputIsNoInput(console, output, ReadFilesOf(schedule)))
        return status;

    ConsoleMessages messages(console);
    auto resolved = ResolveScheduleRecords(schedule, messages);
    if (const RecordsRefusal *refusal = std::get_if<RecordsRefusal>(&resolved))
        return RefuseRecords(console, *refusal);
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
    PageMessages pageMessages(messages);
    const KikanmeiBlock stored = records.block;
    const PageSources sources{records.settings, records.notices, records.block, fields, pageMessages, sounds};
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
    if (!console.WriteOutput(file.bytes, output))
        return ExitCannotWrite;
    // The page is written: the block's pictures are not the schedule.
    return AllPicturesLoaded(console, stored, records.block) ? ExitOk : ExitInputRefused;
}

int RunPage(const QCommandLineParser &parser, Console &console)
{
    const auto sheetChoice = ReadSheetOptions(parser);
    if (const QString *error = std::get_if<QString>(&sheetChoice))
        return UsageError(console, *error);
    const SheetChoice &sheet = std::get<SheetChoice>(sheetChoice);
    if (parser.isSet(BatchOption))
        return RunBatch(parser, console, sheet);
    for (const QString &tableOnly : {EncodingOption, MaxRowsOption}) {
        if (parser.isSet(tableOnly))
            return UsageError(console, QStringLiteral("--%1 は --batch と一緒に指定して下さい。").arg(tableOnly));
    }
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
