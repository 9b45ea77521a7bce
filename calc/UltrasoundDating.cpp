#include "calc/UltrasoundDating.h"

#include "calc/GestationalAge.h"
#include "calc/Rounding.h"

#include <QRegularExpression>

#include <array>
#include <cmath>
#include <cstdlib>

namespace ralvo {

namespace {

constexpr int MaxTenthsDigits = 7; // 999999.9

// Weeks and days written as the table writes them.
constexpr int Days(int weeks, int days) { return weeks * 7 + days; }

// The re-dating table, in order of age.
constexpr std::array<RedatingRule, 5> RedatingTable{{
    {std::nullopt, Days(8, 6), 5},
    {Days(9, 0), Days(15, 6), 7},
    {Days(16, 0), Days(21, 6), 10},
    {Days(22, 0), Days(27, 6), 14},
    {Days(28, 0), std::nullopt, 21},
}};

double IntergrowthDays(double crl) { return 40.9041 + 3.21585 * std::sqrt(crl) + 0.348956 * crl; }

double RobinsonDays(double crl) { return 8.052 * std::sqrt(1.037 * crl) + 23.73; }

double HadlockDays(double bpdCm) { return 7 * (9.54 + 1.482 * bpdCm + 0.1676 * bpdCm * bpdCm); }

} // namespace

std::optional<int> ParseTenths(const QString &typed)
{
    const QString text = typed.normalized(QString::NormalizationForm_KC); // full-width digits as typed by an IME
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qsizetype whole = point < 0 ? text.size() : point;
    if (whole == 0 || whole > MaxTenthsDigits - 1 || (point >= 0 && text.size() != point + 2))
        return std::nullopt;
    int tenths = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == point)
            continue;
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        tenths = tenths * 10 + (c - u'0');
    }
    return point < 0 ? tenths * 10 : tenths;
}

QString TenthsText(int tenths) { return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10); }

ScanRange RangeOf(ScanMeasure measure, CrlMethod method)
{
    switch (measure) {
    case ScanMeasure::CrownRumpLength:
        return method == CrlMethod::Robinson ? ScanRange{100, 840} : ScanRange{150, 950};
    case ScanMeasure::BiparietalDiameter:
        return ScanRange{200, 1000};
    case ScanMeasure::ScannerAge:
        return ScanRange{Days(4, 0), Days(43, 6)};
    }
    return {};
}

std::optional<int> ScanAgeDays(ScanMeasure measure, CrlMethod method, int value)
{
    const ScanRange range = RangeOf(measure, method);
    if (value < range.first || value > range.last)
        return std::nullopt;
    const double millimetres = value / 10.0;
    switch (measure) {
    case ScanMeasure::CrownRumpLength:
        return RoundHalfEven(method == CrlMethod::Robinson ? RobinsonDays(millimetres) : IntergrowthDays(millimetres));
    case ScanMeasure::BiparietalDiameter:
        return RoundHalfEven(HadlockDays(value / 100.0)); // the formula takes centimetres
    case ScanMeasure::ScannerAge:
        return value;
    }
    return std::nullopt;
}

std::optional<int> ParseScannerAge(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2})(?:\\+([0-6])|[wW]([0-6])[dD]|週([0-6])日)$"));
    const QRegularExpressionMatch match = pattern.match(text.normalized(QString::NormalizationForm_KC));
    if (!match.hasMatch())
        return std::nullopt;
    int days = 0;
    for (int group = 2; group <= 4; ++group) {
        if (match.hasCaptured(group))
            days = match.captured(group).toInt();
    }
    return Days(match.captured(1).toInt(), days);
}

QString WeeksAndDaysText(int days) { return QStringLiteral("%1週%2日").arg(days / 7).arg(days % 7); }

QString WeeksAndDaysKey(int days) { return QStringLiteral("%1w%2d").arg(days / 7).arg(days % 7); }

QString MeasureName(ScanMeasure measure)
{
    switch (measure) {
    case ScanMeasure::CrownRumpLength:
        return QStringLiteral("CRL");
    case ScanMeasure::BiparietalDiameter:
        return QStringLiteral("BPD");
    case ScanMeasure::ScannerAge:
        return QStringLiteral("表示週数");
    }
    return {};
}

QString MeasureKey(ScanMeasure measure)
{
    switch (measure) {
    case ScanMeasure::CrownRumpLength:
        return QStringLiteral("crl");
    case ScanMeasure::BiparietalDiameter:
        return QStringLiteral("bpd");
    case ScanMeasure::ScannerAge:
        return QStringLiteral("ga");
    }
    return {};
}

QString MethodName(ScanMeasure measure, CrlMethod method)
{
    switch (measure) {
    case ScanMeasure::CrownRumpLength:
        return method == CrlMethod::Robinson ? QStringLiteral("Robinson") : QStringLiteral("INTERGROWTH-21st");
    case ScanMeasure::BiparietalDiameter:
        return QStringLiteral("Hadlock");
    case ScanMeasure::ScannerAge:
        return {};
    }
    return {};
}

std::optional<UltrasoundScan> DateByScan(const CalendarDate &date, ScanMeasure measure, CrlMethod method, int value)
{
    const std::optional<int> age = ScanAgeDays(measure, method, value);
    const std::optional<CalendarDate> day = MovedBy(date, 0);
    if (!age || !day)
        return std::nullopt;
    const std::optional<CalendarDate> due = MovedBy(*day, DaysToDueDate - *age);
    if (!due)
        return std::nullopt;
    return UltrasoundScan{*day, measure, method, value, *age, *due};
}

QString ScanSummary(const UltrasoundScan &scan)
{
    QString age = WeeksAndDaysText(scan.ageDays);
    if (scan.measure == ScanMeasure::ScannerAge)
        return age;
    return MeasureName(scan.measure) + u' ' + TenthsText(scan.value) + u"mm・" + age;
}

RedatingRule RedatingRuleFor(int ageDays)
{
    for (const RedatingRule &rule : RedatingTable) {
        if (!rule.lastDay || ageDays <= *rule.lastDay)
            return rule;
    }
    return RedatingTable.back();
}

QString RedatingRuleText(const RedatingRule &rule)
{
    QString ages;
    if (!rule.firstDay)
        ages = WeeksAndDaysText(rule.lastDay.value_or(0)) + u"までは";
    else if (!rule.lastDay)
        ages = WeeksAndDaysText(*rule.firstDay) + u"からは";
    else
        ages = WeeksAndDaysText(*rule.firstDay) + u"～" + WeeksAndDaysText(*rule.lastDay) + u"は";
    return ages + QStringLiteral("%1日を超える差").arg(rule.moreThanDays);
}

std::optional<RedatingAdvice> CompareWithMenstrualDueDate(const UltrasoundScan &scan,
                                                          const CalendarDate &menstrualDueDate)
{
    const std::optional<qint64> difference = SignedDaysBetween(menstrualDueDate, scan.dueDate);
    if (!difference)
        return std::nullopt;
    const RedatingRule rule = RedatingRuleFor(scan.ageDays);
    return RedatingAdvice{menstrualDueDate, *difference, std::llabs(*difference) > rule.moreThanDays, rule};
}

} // namespace ralvo
