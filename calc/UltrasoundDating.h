#pragma once

// Dating a pregnancy by ultrasound: the gestational age at the scan from the
// embryo's crown–rump length (CRL), the head's biparietal diameter (BPD) or
// the age the scanner showed, the due date that follows from it, and how it
// compares with the due date of the last menstrual period.
//
// A (the age at the scan) is in whole days; the due date is the scan date
// + 280 − A. Measurements are millimetres with at most one decimal place,
// kept as whole tenths so that "22.5" is exactly 225 tenths; the formulas
// run in double and round() halves to even.

#include "calc/Calendar.h"

#include <QString>

#include <optional>

namespace ralvo {

enum class ScanMeasure {
    CrownRumpLength,    // CRL, first trimester
    BiparietalDiameter, // BPD, Hadlock (1982)
    ScannerAge,         // the weeks and days the scanner showed
};

// The CRL formula.
enum class CrlMethod {
    Intergrowth21st, // Papageorghiou et al. 2014, the default
    Robinson,        // Robinson and Fleming 1975, as the British Medical Ultrasound Society gives it
};

// A measurement written as a decimal number with at most one decimal place
// ("45", "45.0", "22.5"), in tenths (450, 450, 225); none for anything else
// (blanks, signs, "45.", ".5", "22.55", "1e2") or a value beyond 999999.9.
// Full-width digits count as digits.
std::optional<int> ParseTenths(const QString &text);

// "45.0" for 450.
QString TenthsText(int tenths);

// The range of a measurement, both ends included, in tenths of a millimetre
// (for the scanner age: in days).
struct ScanRange
{
    int first = 0;
    int last = 0;
};

// CRL 15–95 mm (INTERGROWTH-21st), 10–84 mm (Robinson); BPD 20–100 mm;
// scanner age 4w0d–43w6d (28 to 307 days).
ScanRange RangeOf(ScanMeasure measure, CrlMethod method);

// The formula's age in days for a value in tenths of a millimetre (for the
// scanner age: the days themselves); none outside the range.
std::optional<int> ScanAgeDays(ScanMeasure measure, CrlMethod method, int value);

// The scanner's age written "9+3", "9w3d" or "9週3日" (full-width digits
// and letters too; days 0 to 6), in days; none for another form. The range
// is not checked here.
std::optional<int> ParseScannerAge(const QString &text);

// "11週1日" for 78 days.
QString WeeksAndDaysText(int days);

// "11w1d" for 78 days, as the JSON and the table rows write ages.
QString WeeksAndDaysKey(int days);

// "CRL", "BPD" or "表示週数" (the text's name of the kind); MeasureKey gives
// the command line's and the JSON's "crl", "bpd", "ga".
QString MeasureName(ScanMeasure measure);
QString MeasureKey(ScanMeasure measure);

// "INTERGROWTH-21st", "Robinson", "Hadlock"; empty for the scanner age.
QString MethodName(ScanMeasure measure, CrlMethod method);

// One scan and what follows from it.
struct UltrasoundScan
{
    CalendarDate date; // S, normalized
    ScanMeasure measure = ScanMeasure::CrownRumpLength;
    CrlMethod method = CrlMethod::Intergrowth21st; // for CRL only
    int value = 0;                                 // tenths of a millimetre; days for the scanner age
    int ageDays = 0;                               // A
    CalendarDate dueDate;                          // S + 280 − A

    friend bool operator==(const UltrasoundScan &, const UltrasoundScan &) = default;
};

// The scan on `date` (normalized on the way); none when the value is out of
// its range, the date's month is outside 1 to 12 or a year leaves 32 bits.
std::optional<UltrasoundScan> DateByScan(const CalendarDate &date, ScanMeasure measure, CrlMethod method, int value);

// "CRL 45.0mm・11週1日", "BPD 50.0mm・21週1日", "9週3日" for the scanner age.
QString ScanSummary(const UltrasoundScan &scan);

// A row of the re-dating table: the ages it covers (none: open at that end)
// and the difference it tolerates.
struct RedatingRule
{
    std::optional<int> firstDay; // none: from the start
    std::optional<int> lastDay;  // none: to the end
    int moreThanDays = 0;        // re-date when |difference| is more than this

    friend bool operator==(const RedatingRule &, const RedatingRule &) = default;
};

// The row for an age at the scan: up to 8w6d 5 days, 9w0d–15w6d 7, 16w0d–21w6d
// 10, 22w0d–27w6d 14, from 28w0d 21.
RedatingRule RedatingRuleFor(int ageDays);

// "9週0日～15週6日は7日を超える差", "8週6日までは5日を超える差",
// "28週0日からは21日を超える差".
QString RedatingRuleText(const RedatingRule &rule);

// The comparison with the due date of the last menstrual period: a
// suggestion for the clinician, never applied by itself.
struct RedatingAdvice
{
    CalendarDate menstrualDueDate;
    qint64 differenceDays = 0; // scan due date − menstrual due date
    bool redate = false;       // |difference| beyond the rule's limit
    RedatingRule rule;

    friend bool operator==(const RedatingAdvice &, const RedatingAdvice &) = default;
};

// None when either due date's month is outside 1 to 12.
std::optional<RedatingAdvice> CompareWithMenstrualDueDate(const UltrasoundScan &scan,
                                                          const CalendarDate &menstrualDueDate);

} // namespace ralvo
