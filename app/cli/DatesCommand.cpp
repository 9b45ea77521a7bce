// The "dates" subcommand: every date of a pregnancy as data, as labelled
// lines or as one JSON object, and where it stands on a given day.

#include "app/cli/ScheduleOptions.h"
#include "app/cli/Subcommands.h"

#include "calc/Gestation.h"
#include "calc/Wareki.h"
#include "platform/SettingsStore.h"
#include "platform/ShiftJis.h"

#include <QDate>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>

namespace ralvo::cli {

namespace {

const QString OnOption = QStringLiteral("on");
const QString MultipleOption = QStringLiteral("multiple");
const QString JsonOption = QStringLiteral("json");
const QString OutputOption = QStringLiteral("o");

void AddDatesOptions(QCommandLineParser &parser)
{
    AddInputOptions(parser);
    parser.addOptions({
        {OnOption, QStringLiteral("妊娠週数を数える日"), QStringLiteral("YYYY-MM-DD")},
        {MultipleOption, QStringLiteral("多胎妊娠")},
        {JsonOption, QStringLiteral("JSON で書き出す")},
        {OutputOption, QStringLiteral("出力ファイル"), QStringLiteral("FILE")},
    });
}

// "2024-10-07"; a year outside 0 to 9999 with its sign and at least four
// digits, as ISO 8601 writes expanded years ("+12345-01-01", "-0001-12-31").
QString IsoDate(const CalendarDate &date)
{
    const QString day =
        QStringLiteral("-%1-%2").arg(date.month, 2, 10, QLatin1Char('0')).arg(date.day, 2, 10, QLatin1Char('0'));
    const qint64 year = date.year;
    const QString digits = QStringLiteral("%1").arg(year < 0 ? -year : year, 4, 10, QLatin1Char('0'));
    if (year >= 0 && year <= 9999)
        return digits + day;
    return (year < 0 ? u"-" : u"+") + digits + day;
}

// A date written YYYY-MM-DD that exists; none otherwise.
std::optional<CalendarDate> ParseIsoDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const CalendarDate date{match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()};
    if (!IsNormalized(date))
        return std::nullopt;
    return date;
}

// Everything the subcommand writes, computed.
struct DatesReport
{
    PregnancyDates dates;
    CalendarDate on;
    GestationalAge age;
    DueDateMilestones milestones;
    bool multiple = false;
};

// The dates of the report under their JSON keys, in the order of the lines.
std::vector<std::pair<QString, CalendarDate>> NamedDates(const DatesReport &report)
{
    return {
        {QStringLiteral("dueDate"), report.dates.dueDate},
        {QStringLiteral("ovulationDate"), report.dates.ovulationDate},
        {QStringLiteral("implantationDate"), report.dates.implantationDate},
        {QStringLiteral("on"), report.on},
        {QStringLiteral("fullTermStart"), report.milestones.fullTermStart},
        {QStringLiteral("fullTermEnd"), report.milestones.fullTermEnd},
        {QStringLiteral("maternityLeaveStart"), report.milestones.maternityLeaveStart},
    };
}

qint64 DaysToDue(const DatesReport &report)
{
    return report.age.DaysUntilDue();
}

QByteArray JsonOf(const DatesReport &report)
{
    QJsonObject object;
    QJsonObject wareki;
    for (const auto &[key, date] : NamedDates(report)) {
        object.insert(key, IsoDate(date));
        wareki.insert(key, WarekiDateText(date));
    }
    object.insert(QStringLiteral("gestationalAge"), QJsonObject{{QStringLiteral("weeks"), report.age.Weeks()},
                                                                {QStringLiteral("days"), report.age.DayOfWeek()},
                                                                {QStringLiteral("totalDays"), report.age.days}});
    object.insert(QStringLiteral("daysToDue"), DaysToDue(report));
    object.insert(QStringLiteral("pregnancyMonth"), PregnancyMonth(report.age));
    object.insert(QStringLiteral("trimester"), TrimesterName(TrimesterOf(report.age)));
    object.insert(QStringLiteral("wareki"), wareki);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QByteArray TextOf(const DatesReport &report, platform::Messages &messages)
{
    const auto dateText = [&](const CalendarDate &date) {
        QString text = FormatDateCompact(date, messages);
        if (WarekiYearOf(date))
            text += u"　" + WarekiDateText(date);
        return text;
    };
    const DueDateMilestones &m = report.milestones;
    const std::vector<std::pair<QString, QString>> rows{
        {QStringLiteral("出産予定日"), dateText(report.dates.dueDate)},
        {QStringLiteral("推定排卵日"), dateText(report.dates.ovulationDate)},
        {QStringLiteral("推定着床日"), dateText(report.dates.implantationDate)},
        {QStringLiteral("対象日"), dateText(report.on)},
        {QStringLiteral("妊娠週数"),
         QStringLiteral("%1週%2日（%3日）").arg(report.age.Weeks()).arg(report.age.DayOfWeek()).arg(report.age.days)},
        {QStringLiteral("出産予定日まで"), QStringLiteral("%1日").arg(DaysToDue(report))},
        {QStringLiteral("妊娠月数"), QStringLiteral("妊娠%1か月").arg(PregnancyMonth(report.age))},
        {QStringLiteral("妊娠期"), TrimesterName(TrimesterOf(report.age))},
        {QStringLiteral("正期産の始まり"), dateText(m.fullTermStart)},
        {QStringLiteral("正期産の終わり"), dateText(m.fullTermEnd)},
        {report.multiple ? QStringLiteral("産前休業（多胎）") : QStringLiteral("産前休業"),
         dateText(m.maternityLeaveStart) + u"から"},
    };
    int width = 0;
    for (const auto &row : rows)
        width = std::max(width, platform::ShiftJisWidth(row.first));
    QString text;
    for (const auto &[label, value] : rows) {
        const int blanks = (width - platform::ShiftJisWidth(label)) / 2;
        text += label + QString(blanks, u'　') + u"：" + value + u'\n';
    }
    return text.toUtf8();
}

int RunDates(const QCommandLineParser &parser, Console &console)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };

    const auto read = ReadInputOptions(parser);
    if (const QString *error = std::get_if<QString>(&read))
        return badUsage(*error);
    const CalculationInput &input = std::get<CalculationInput>(read);
    for (const QString &single : {OnOption, OutputOption}) {
        if (parser.values(single).size() > 1)
            return badUsage(QStringLiteral("-%1%2 が二度以上指定されています。")
                                .arg(single.size() > 1 ? QStringLiteral("-") : QString(), single));
    }

    if (const int status =
            CheckOutputIsNoInput(console, parser.value(OutputOption), {platform::SettingsStore::UserStorePath()}))
        return status;

    DatesReport report;
    report.multiple = parser.isSet(MultipleOption);
    if (parser.isSet(OnOption)) {
        const std::optional<CalendarDate> on = ParseIsoDate(parser.value(OnOption));
        if (!on)
            return badUsage(QStringLiteral("--on には YYYY-MM-DD の形で実在する日付を指定して下さい: ")
                            + parser.value(OnOption));
        report.on = *on;
    } else {
        const QDate today = QDate::currentDate();
        report.on = CalendarDate{today.year(), today.month(), today.day()};
    }

    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    const std::optional<PregnancyDates> dates =
        parsed ? ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle) : std::nullopt;
    const std::optional<DueDateMilestones> milestones =
        dates ? MilestonesOf(dates->dueDate, report.multiple) : std::nullopt;
    const std::optional<GestationalAge> age = dates ? GestationalAgeOn(dates->dueDate, report.on) : std::nullopt;
    if (!milestones || !age) {
        console.Error(InputRefusalMessage(input));
        return ExitInputRefused;
    }
    report.dates = *dates;
    report.milestones = *milestones;
    report.age = *age;

    ConsoleMessages messages(console);
    const QByteArray bytes = parser.isSet(JsonOption) ? JsonOf(report) : TextOf(report, messages);
    return console.WriteOutput(bytes, parser.value(OutputOption)) ? ExitOk : ExitCannotWrite;
}

} // namespace

Subcommand DatesSubcommand()
{
    return Subcommand{
        QStringLiteral("dates"),
        QStringLiteral("  ralvo-schedule dates --basis 0|1|2|ivf3|ivf5 --year TEXT --month TEXT --day TEXT\n"
                       "                       --cycle TEXT [--on YYYY-MM-DD] [--multiple] [--json] [-o FILE]\n"),
        InputOptionsUsage()
            + QStringLiteral("  --on YYYY-MM-DD      妊娠週数を数える日 (既定は今日)\n"
                             "  --multiple           多胎妊娠: 産前休業を出産予定日の97日前からにします\n"
                             "                       (単胎は41日前から)\n"
                             "  --json               UTF-8 の JSON で書き出します (日付は 2024-10-07 の形、\n"
                             "                       和暦は wareki の中)\n"
                             "  -o FILE              標準出力の代わりに FILE へ書き出します\n"),
        AddDatesOptions,
        RunDates,
    };
}

} // namespace ralvo::cli
