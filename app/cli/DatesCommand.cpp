// The "dates" subcommand: every date of a pregnancy as data, as labelled
// lines or as one JSON object, and where it stands on a given day; the
// check-ups, the 戌の日 of the fifth month, and with the birth date the leave
// around it.

#include "app/cli/PregnancyCalendarOptions.h"
#include "app/cli/ScheduleOptions.h"
#include "app/cli/Subcommands.h"

#include "calc/Gestation.h"
#include "calc/PregnancyCalendar.h"
#include "calc/UltrasoundDating.h"
#include "calc/Wareki.h"
#include "platform/EscapedText.h"
#include "platform/ShiftJis.h"
#include "store/SettingsStore.h"

#include <QDate>
#include <QJsonArray>
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
const QString BornOption = QStringLiteral("born");
const QString LmpOption = QStringLiteral("lmp");

void AddDatesOptions(QCommandLineParser &parser)
{
    AddInputOptions(parser);
    parser.addOptions({
        {OnOption, QStringLiteral("妊娠週数を数える日"), QStringLiteral("YYYY-MM-DD")},
        {MultipleOption, QStringLiteral("多胎妊娠")},
        {BornOption, QStringLiteral("出産日"), QStringLiteral("YYYY-MM-DD")},
        {LmpOption, QStringLiteral("超音波の予定日と比べる最終月経開始日"), QStringLiteral("YYYY-MM-DD")},
        {JsonOption, QStringLiteral("JSON で書き出す")},
        {OutputOption, QStringLiteral("出力ファイル"), QStringLiteral("FILE")},
    });
    AddCheckupsOption(parser);
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
    std::vector<Checkup> checkups;
    std::vector<CalendarDate> inuNoHi;
    std::optional<BirthLeave> leave;        // with --born
    std::optional<UltrasoundScan> scan;     // with a scan basis
    std::optional<RedatingAdvice> redating; // with a scan basis and --lmp
};

// "redate" or "keep", as the JSON writes the suggestion.
QString SuggestionKey(const RedatingAdvice &advice)
{
    return advice.redate ? QStringLiteral("redate") : QStringLiteral("keep");
}

// The scan and its comparison with the last period under their JSON keys.
void InsertScan(QJsonObject &object, const DatesReport &report)
{
    if (!report.scan)
        return;
    const UltrasoundScan &scan = *report.scan;
    const QString method = MethodName(scan.measure, scan.method);
    object.insert(
        QStringLiteral("scan"),
        QJsonObject{
            {QStringLiteral("date"), IsoDate(scan.date)},
            {QStringLiteral("measure"), MeasureKey(scan.measure)},
            // millimetres; the days themselves for the scanner's age
            {QStringLiteral("value"), scan.measure == ScanMeasure::ScannerAge ? double(scan.value) : scan.value / 10.0},
            {QStringLiteral("method"), method.isEmpty() ? QJsonValue() : QJsonValue(method)},
            {QStringLiteral("gestationalAge"), QJsonObject{{QStringLiteral("weeks"), scan.ageDays / 7},
                                                           {QStringLiteral("days"), scan.ageDays % 7},
                                                           {QStringLiteral("totalDays"), scan.ageDays}}},
        });
    if (!report.redating)
        return;
    const RedatingAdvice &advice = *report.redating;
    const auto age = [](const std::optional<int> &days) {
        return days ? QJsonValue(WeeksAndDaysKey(*days)) : QJsonValue();
    };
    object.insert(QStringLiteral("redating"),
                  QJsonObject{
                      {QStringLiteral("lmpDueDate"), IsoDate(advice.menstrualDueDate)},
                      {QStringLiteral("differenceDays"), advice.differenceDays},
                      {QStringLiteral("suggestion"), SuggestionKey(advice)},
                      {QStringLiteral("rule"), QJsonObject{{QStringLiteral("from"), age(advice.rule.firstDay)},
                                                           {QStringLiteral("to"), age(advice.rule.lastDay)},
                                                           {QStringLiteral("moreThanDays"), advice.rule.moreThanDays}}},
                  });
}

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

qint64 DaysToDue(const DatesReport &report) { return report.age.DaysUntilDue(); }

// The pregnancy's calendar under its JSON keys, dates written by `text`
// (ISO or the era calendar).
void InsertPregnancyCalendar(QJsonObject &object, const DatesReport &report, QString (*text)(const CalendarDate &date))
{
    const auto span = [&](const DateSpan &days) {
        return QJsonObject{{QStringLiteral("start"), text(days.first)}, {QStringLiteral("end"), text(days.last)}};
    };
    QJsonArray checkups;
    for (const Checkup &checkup : report.checkups) {
        QJsonObject visit = span(checkup.days);
        visit.insert(QStringLiteral("number"), checkup.number);
        visit.insert(QStringLiteral("week"), checkup.week);
        checkups.append(visit);
    }
    object.insert(QStringLiteral("checkups"), checkups);
    QJsonArray inuNoHi;
    for (const CalendarDate &day : report.inuNoHi)
        inuNoHi.append(text(day));
    object.insert(QStringLiteral("inuNoHi"), inuNoHi);
    if (!report.leave)
        return;
    const BirthLeave &leave = *report.leave;
    object.insert(QStringLiteral("birth"), text(leave.birth));
    object.insert(QStringLiteral("postnatalLeaveStart"), text(leave.postnatalLeave.first));
    object.insert(QStringLiteral("postnatalLeaveEnd"), text(leave.postnatalLeave.last));
    object.insert(QStringLiteral("childcareLeaveStart"), text(leave.childcareLeave.first));
    object.insert(QStringLiteral("childcareLeaveEnd"), text(leave.childcareLeave.last));
    object.insert(QStringLiteral("maternityAllowance"), span(leave.maternityAllowance));
}

QByteArray JsonOf(const DatesReport &report)
{
    QJsonObject object;
    QJsonObject wareki;
    for (const auto &[key, date] : NamedDates(report)) {
        object.insert(key, IsoDate(date));
        wareki.insert(key, WarekiDateText(date));
    }
    InsertPregnancyCalendar(object, report, IsoDate);
    InsertPregnancyCalendar(wareki, report, WarekiDateText);
    object.insert(QStringLiteral("gestationalAge"), QJsonObject{{QStringLiteral("weeks"), report.age.Weeks()},
                                                                {QStringLiteral("days"), report.age.DayOfWeek()},
                                                                {QStringLiteral("totalDays"), report.age.days}});
    object.insert(QStringLiteral("daysToDue"), DaysToDue(report));
    object.insert(QStringLiteral("pregnancyMonth"), PregnancyMonth(report.age));
    object.insert(QStringLiteral("trimester"), TrimesterName(TrimesterOf(report.age)));
    object.insert(QStringLiteral("wareki"), wareki);
    InsertScan(object, report);
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
    const auto spanText = [&](const DateSpan &days) {
        QString text = FormatDateCompact(days.first, messages) + u"～" + FormatDateCompact(days.last, messages);
        if (WarekiYearOf(days.first))
            text += u"　" + WarekiDateText(days.first) + u"～" + WarekiDateText(days.last);
        return text;
    };
    const DueDateMilestones &m = report.milestones;
    std::vector<std::pair<QString, QString>> rows{
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
    };
    // The scan and its comparison after the dates it gave.
    std::vector<std::pair<QString, QString>> scanRows;
    if (report.scan) {
        const UltrasoundScan &scan = *report.scan;
        const QString method = MethodName(scan.measure, scan.method);
        scanRows.emplace_back(QStringLiteral("超音波計測日"), dateText(scan.date));
        scanRows.emplace_back(QStringLiteral("計測時の妊娠週数"),
                              ScanSummary(scan) + (method.isEmpty() ? QString() : u"（" + method + u"）"));
    }
    if (report.redating) {
        const RedatingAdvice &advice = *report.redating;
        scanRows.emplace_back(QStringLiteral("最終月経からの予定日"), dateText(advice.menstrualDueDate));
        scanRows.emplace_back(QStringLiteral("予定日の差"),
                              QStringLiteral("%1日（超音波 − 最終月経）").arg(advice.differenceDays));
        scanRows.emplace_back(QStringLiteral("修正の目安"), (advice.redate ? QStringLiteral("超音波の予定日に修正")
                                                                           : QStringLiteral("最終月経の予定日のまま"))
                                                                + u"（" + RedatingRuleText(advice.rule) + u"で修正）");
    }
    rows.insert(rows.begin() + 3, scanRows.begin(), scanRows.end());
    QString prenatalLeave = dateText(m.maternityLeaveStart) + u"から";
    if (report.leave && report.leave->prenatalLeave)
        prenatalLeave = spanText(*report.leave->prenatalLeave);
    else if (report.leave)
        prenatalLeave = QStringLiteral("なし（出産が産前休業の始まりより前）");
    rows.emplace_back(report.multiple ? QStringLiteral("産前休業（多胎）") : QStringLiteral("産前休業"), prenatalLeave);
    if (report.leave) {
        const BirthLeave &leave = *report.leave;
        rows.emplace_back(QStringLiteral("出産日"), dateText(leave.birth));
        rows.emplace_back(QStringLiteral("産後休業"), spanText(leave.postnatalLeave));
        rows.emplace_back(QStringLiteral("育児休業"), spanText(leave.childcareLeave));
        rows.emplace_back(QStringLiteral("出産手当金"), spanText(leave.maternityAllowance));
    }
    for (const Checkup &checkup : report.checkups)
        rows.emplace_back(QStringLiteral("第%1回妊婦健診").arg(checkup.number),
                          QStringLiteral("妊娠%1週　").arg(checkup.week) + spanText(checkup.days));
    for (const CalendarDate &day : report.inuNoHi)
        rows.emplace_back(QStringLiteral("戌の日"),
                          dateText(day)
                              + (day == report.inuNoHi.front() ? QStringLiteral("（最初の戌の日）") : QString()));
    int width = 0;
    for (const auto &row : rows)
        width = std::max(width, platform::ShiftJisWidth(row.first));
    QString text;
    for (const auto &[label, value] : rows) {
        // Full-width blanks, and a half-width one for a label of odd width.
        const int blanks = width - platform::ShiftJisWidth(label);
        text += label + QString(blanks / 2, u'　') + QString(blanks % 2, u' ') + u"：" + value + u'\n';
    }
    return text.toUtf8();
}

int RunDates(const QCommandLineParser &parser, Console &console)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };

    const auto read = ReadInputOptions(parser);
    if (const QString *error = std::get_if<QString>(&read))
        return badUsage(*error);
    const InputRequest &request = std::get<InputRequest>(read);
    for (const QString &single : {OnOption, OutputOption, BornOption, LmpOption}) {
        if (parser.values(single).size() > 1)
            return badUsage(QStringLiteral("-%1%2 が二度以上指定されています。")
                                .arg(single.size() > 1 ? QStringLiteral("-") : QString(), single));
    }

    const auto checkupWeeks = ReadCheckupWeeks(parser);
    if (const QString *error = std::get_if<QString>(&checkupWeeks))
        return badUsage(*error);
    std::optional<CalendarDate> born;
    if (parser.isSet(BornOption)) {
        born = ParseIsoDate(parser.value(BornOption));
        if (!born)
            return badUsage(QStringLiteral("--born には YYYY-MM-DD の形で実在する日付を指定して下さい: ")
                            + platform::EscapeControlCharacters(parser.value(BornOption)));
    }

    std::optional<CalendarDate> lmp;
    if (parser.isSet(LmpOption)) {
        if (!request.scan)
            return badUsage(QStringLiteral("--lmp は --basis crl, bpd, ga のときだけ指定できます。"));
        lmp = ParseIsoDate(parser.value(LmpOption));
        if (!lmp)
            return badUsage(QStringLiteral("--lmp には YYYY-MM-DD の形で実在する日付を指定して下さい: ")
                            + platform::EscapeControlCharacters(parser.value(LmpOption)));
    }
    if (const int status =
            CheckOutputIsNoInput(console, parser.value(OutputOption), {store::SettingsStore::UserStorePath()}))
        return status;

    DatesReport report;
    report.multiple = parser.isSet(MultipleOption);
    if (parser.isSet(OnOption)) {
        const std::optional<CalendarDate> on = ParseIsoDate(parser.value(OnOption));
        if (!on)
            return badUsage(QStringLiteral("--on には YYYY-MM-DD の形で実在する日付を指定して下さい: ")
                            + platform::EscapeControlCharacters(parser.value(OnOption)));
        report.on = *on;
    } else {
        const QDate today = QDate::currentDate();
        report.on = CalendarDate{today.year(), today.month(), today.day()};
    }

    const auto dated = DateInput(request.input, request.scan);
    if (const QString *error = std::get_if<QString>(&dated)) {
        console.Error(*error);
        return ExitInputRefused;
    }
    const CalculationInput &input = std::get<DatedInput>(dated).input;
    report.scan = std::get<DatedInput>(dated).scan;

    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    const std::optional<PregnancyDates> dates =
        parsed ? ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle) : std::nullopt;
    const std::optional<DueDateMilestones> milestones =
        dates ? MilestonesOf(dates->dueDate, report.multiple) : std::nullopt;
    const std::optional<GestationalAge> age = dates ? GestationalAgeOn(dates->dueDate, report.on) : std::nullopt;
    const auto checkups = dates ? CheckupsOf(dates->dueDate, std::get<std::vector<int>>(checkupWeeks)) : std::nullopt;
    const auto inuNoHi = dates ? FifthMonthInuNoHi(dates->dueDate) : std::nullopt;
    if (!milestones || !age || !checkups || !inuNoHi) {
        console.Error(InputRefusalMessage(input));
        return ExitInputRefused;
    }
    report.dates = *dates;
    report.milestones = *milestones;
    report.age = *age;
    report.checkups = *checkups;
    report.inuNoHi = *inuNoHi;
    if (lmp) {
        // The menstrual due date: the last period and the cycle as basis 0 takes them.
        const std::optional<PregnancyDates> menstrual =
            ComputePregnancyDates(CalculationBasis::LastMenstrualPeriod, *lmp, parsed->cycle);
        report.redating = menstrual ? CompareWithMenstrualDueDate(*report.scan, menstrual->dueDate) : std::nullopt;
        if (!report.redating) {
            console.Error(QStringLiteral("計算した日付の年が扱える範囲を超えています。"));
            return ExitInputRefused;
        }
    }
    if (born) {
        report.leave = BirthLeaveOf(dates->dueDate, *born, report.multiple);
        if (!report.leave) {
            const std::optional<DateSpan> range = BirthDateRange(dates->dueDate);
            console.Error(range ? QStringLiteral("出産日は妊娠12週1日 (%1) から43週6日 (%2) までの日付にして下さい: %3")
                                      .arg(IsoDate(range->first), IsoDate(range->last), IsoDate(*born))
                                : InputRefusalMessage(input));
            return ExitInputRefused;
        }
    }

    ConsoleMessages messages(console);
    const QByteArray bytes = parser.isSet(JsonOption) ? JsonOf(report) : TextOf(report, messages);
    return console.WriteOutput(bytes, parser.value(OutputOption)) ? ExitOk : ExitCannotWrite;
}

} // namespace

Subcommand DatesSubcommand()
{
    return Subcommand{
        QStringLiteral("dates"),
        QStringLiteral("  ralvo-schedule dates --basis 0|1|2|ivf3|ivf5|crl|bpd|ga --year TEXT --month TEXT --day TEXT\n"
                       "                       --cycle TEXT [--on YYYY-MM-DD] [--multiple] [--born YYYY-MM-DD]\n"
                       "                       [--crl MM [--method intergrowth|robinson] | --bpd MM | --ga W+D]\n"
                       "                       [--lmp YYYY-MM-DD] [--checkups LIST] [--json] [-o FILE]\n"),
        InputOptionsUsage()
            + QStringLiteral("  --on YYYY-MM-DD      妊娠週数を数える日 (既定は今日)\n"
                             "  --lmp YYYY-MM-DD     最終月経開始日 (--basis crl, bpd, ga のとき): その予定日 (周期は\n"
                             "                       --cycle) と超音波の予定日の差と、ACOG の表による修正の目安を\n"
                             "                       書き出します (8週6日までは5日、9週0日～15週6日は7日、16週0日～\n"
                             "                       21週6日は10日、22週0日～27週6日は14日、28週0日からは21日を\n"
                             "                       超える差で修正。目安であり、予定日は変えません)\n"
                             "  --multiple           多胎妊娠: 産前休業を出産予定日の97日前から (単胎は41日前\n"
                             "                       から)、出産手当金を出産日までの98日分 (単胎は42日分) にします\n"
                             "  --born YYYY-MM-DD    出産日 (妊娠12週1日から43週6日まで): 産後休業、育児休業\n"
                             "                       (子の1歳の誕生日の前日まで) と出産手当金の期間も書き出します\n")
            + CheckupsOptionUsage()
            + QStringLiteral("  --json               UTF-8 の JSON で書き出します (日付は 2024-10-07 の形、\n"
                             "                       和暦は wareki の中)\n"
                             "  -o FILE              標準出力の代わりに FILE へ書き出します\n"
                             "  (dates は妊婦健診をその週の期間で、戌の日を妊娠5か月 (16週0日から19週6日) の\n"
                             "   戌の日で書き出します)\n"),
        AddDatesOptions,
        RunDates,
    };
}

} // namespace ralvo::cli
