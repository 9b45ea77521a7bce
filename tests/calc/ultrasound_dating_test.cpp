#include "calc/UltrasoundDating.h"

#include "support/CalcPrinters.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ralvo;

namespace {

constexpr CrlMethod Intergrowth = CrlMethod::Intergrowth21st;
constexpr CrlMethod Robinson = CrlMethod::Robinson;
constexpr ScanMeasure Crl = ScanMeasure::CrownRumpLength;
constexpr ScanMeasure Bpd = ScanMeasure::BiparietalDiameter;
constexpr ScanMeasure Ga = ScanMeasure::ScannerAge;

CalendarDate Date(int y, int m, int d) { return CalendarDate{y, m, d}; }

} // namespace

// The expected ages were computed apart from this code, with 60-digit
// decimal arithmetic (the unrounded value in the comment); the rows nearest
// to a half are the ones a misrounded measurement or formula would move.
TEST(ScanAgeDays, FormulaTables)
{
    struct Row
    {
        ScanMeasure measure;
        CrlMethod method;
        int tenths;
        int days;
    };
    const Row rows[] = {
        {Crl, Intergrowth, 150, 59},   // 58.5934, the range's first value
        {Crl, Intergrowth, 225, 64},   // 64.0097
        {Crl, Intergrowth, 372, 73},   // 73.49931, the nearest to a half in the range
        {Crl, Intergrowth, 450, 78},   // 78.1797: 11w1d
        {Crl, Intergrowth, 603, 87},   // 86.9182
        {Crl, Intergrowth, 950, 105},  // 105.3991, the last
        {Crl, Robinson, 100, 50},      // 49.6594, the first
        {Crl, Robinson, 225, 63},      // 62.6242
        {Crl, Robinson, 333, 71},      // 71.0468
        {Crl, Robinson, 450, 79},      // 78.7346
        {Crl, Robinson, 724, 93},      // 93.49899, the nearest to a half
        {Crl, Robinson, 840, 99},      // 98.8807, the last
        {Bpd, Intergrowth, 200, 92},   // 92.2208, the first
        {Bpd, Intergrowth, 500, 148},  // 147.98
        {Bpd, Intergrowth, 645, 183},  // 182.50035, the nearest to a half
        {Bpd, Intergrowth, 876, 248},  // 247.6848
        {Bpd, Intergrowth, 1000, 288}, // 287.84, the last
        {Ga, Intergrowth, 28, 28},     {Ga, Robinson, 66, 66}, {Ga, Intergrowth, 307, 307},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ScanAgeDays(row.measure, row.method, row.tenths), row.days)
            << MeasureKey(row.measure).toStdString() << ' ' << row.tenths;

    // One step beyond either end is refused, whatever the formula would give.
    const Row outside[] = {
        {Crl, Intergrowth, 149, 0}, {Crl, Intergrowth, 951, 0},  {Crl, Robinson, 99, 0},   {Crl, Robinson, 841, 0},
        {Bpd, Intergrowth, 199, 0}, {Bpd, Intergrowth, 1001, 0}, {Ga, Intergrowth, 27, 0}, {Ga, Intergrowth, 308, 0},
    };
    for (const Row &row : outside)
        EXPECT_FALSE(ScanAgeDays(row.measure, row.method, row.tenths))
            << MeasureKey(row.measure).toStdString() << ' ' << row.tenths;
    EXPECT_FALSE(ScanAgeDays(Crl, Intergrowth, std::numeric_limits<int>::min()));
}

TEST(ParseTenths, DecimalsWithAtMostOneDecimalPlace)
{
    EXPECT_EQ(ParseTenths(QStringLiteral("45")), 450);
    EXPECT_EQ(ParseTenths(QStringLiteral("45.0")), 450);
    EXPECT_EQ(ParseTenths(QStringLiteral("22.5")), 225);
    EXPECT_EQ(ParseTenths(QStringLiteral("0.1")), 1);
    EXPECT_EQ(ParseTenths(QStringLiteral("007.3")), 73);
    EXPECT_EQ(ParseTenths(QStringLiteral("999999.9")), 9999999);
    EXPECT_EQ(ParseTenths(QStringLiteral("４５．３")), 453);
    for (const char *bad : {"", ".", "45.", ".5", "22.55", "4.5.", "4..", "-5", "+5", " 45", "45 ", "1e2", "45mm",
                            "4,5", "1000000", "0x10", "nan"})
        EXPECT_FALSE(ParseTenths(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(TenthsText(450), QStringLiteral("45.0"));
    EXPECT_EQ(TenthsText(7), QStringLiteral("0.7"));
}

TEST(ParseScannerAge, ThreeWritings)
{
    for (const char *text : {"9+3", "9w3d", "9W3D", "9週3日", "９週３日", "09+3", "９＋３"})
        EXPECT_EQ(ParseScannerAge(QString::fromUtf8(text)), 66) << text;
    EXPECT_EQ(ParseScannerAge(QStringLiteral("43+6")), 307);
    EXPECT_EQ(ParseScannerAge(QStringLiteral("0+0")), 0); // the range is checked by the age
    for (const char *bad :
         {"", "9", "9+", "9+7", "9w3", "9w7d", "9週", "9週3", "+3", "9 + 3", "100+0", "9+3+1", "9.3", "9-3", "-9+3"})
        EXPECT_FALSE(ParseScannerAge(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(WeeksAndDaysText(78), QStringLiteral("11週1日"));
    EXPECT_EQ(WeeksAndDaysKey(63), QStringLiteral("9w0d"));
}

TEST(DateByScan, DueDateIsScanDatePlus280MinusTheAge)
{
    // CRL 45 mm on 2026-06-10: 78 days, due 202 days later.
    const auto scan = DateByScan(Date(2026, 6, 10), Crl, Intergrowth, 450);
    ASSERT_TRUE(scan);
    EXPECT_EQ(*scan, (UltrasoundScan{Date(2026, 6, 10), Crl, Intergrowth, 450, 78, Date(2026, 12, 29)}));
    EXPECT_EQ(ScanSummary(*scan), QStringLiteral("CRL 45.0mm・11週1日"));

    // Over 29 February, and a scan date typed beyond its month's end.
    const auto bpd = DateByScan(Date(2024, 2, 30), Bpd, Intergrowth, 500);
    ASSERT_TRUE(bpd);
    EXPECT_EQ(bpd->date, Date(2024, 3, 1));
    EXPECT_EQ(bpd->dueDate, Date(2024, 7, 11)); // 2024-03-01 + 132
    EXPECT_EQ(ScanSummary(*bpd), QStringLiteral("BPD 50.0mm・21週1日"));

    const auto ga = DateByScan(Date(2024, 1, 1), Ga, Intergrowth, 280);
    ASSERT_TRUE(ga);
    EXPECT_EQ(ga->dueDate, Date(2024, 1, 1)); // 40w0d: due on the scan day
    EXPECT_EQ(ScanSummary(*ga), QStringLiteral("40週0日"));

    EXPECT_FALSE(DateByScan(Date(2026, 6, 10), Crl, Intergrowth, 960));
    EXPECT_FALSE(DateByScan(Date(2026, 13, 10), Crl, Intergrowth, 450));
    EXPECT_FALSE(DateByScan(Date(std::numeric_limits<qint32>::max(), 12, 31), Ga, Intergrowth, 28));
}

TEST(RedatingRuleFor, TableBoundaries)
{
    struct Row
    {
        int ageDays;
        int moreThan;
    };
    // The last and first day of every row: 8w6d, 9w0d, 15w6d, 16w0d, …
    // clang-format off
    const Row rows[] = {
        {28, 5},   // 4w0d
        {62, 5},   // 8w6d
        {63, 7},   // 9w0d
        {111, 7},  // 15w6d
        {112, 10}, // 16w0d
        {153, 10}, // 21w6d
        {154, 14}, // 22w0d
        {195, 14}, // 27w6d
        {196, 21}, // 28w0d
        {307, 21}, // 43w6d
        {0, 5},
    };
    // clang-format on
    for (const Row &row : rows)
        EXPECT_EQ(RedatingRuleFor(row.ageDays).moreThanDays, row.moreThan) << row.ageDays;
    EXPECT_EQ(RedatingRuleFor(70), (RedatingRule{63, 111, 7}));
    EXPECT_EQ(RedatingRuleText(RedatingRuleFor(70)), QStringLiteral("9週0日～15週6日は7日を超える差"));
    EXPECT_EQ(RedatingRuleText(RedatingRuleFor(30)), QStringLiteral("8週6日までは5日を超える差"));
    EXPECT_EQ(RedatingRuleText(RedatingRuleFor(200)), QStringLiteral("28週0日からは21日を超える差"));
}

TEST(CompareWithMenstrualDueDate, RedateOnlyBeyondTheRowsLimit)
{
    // The worked example: CRL 45 mm on 2026-06-10 against a last period of
    // 2026-04-05 (due 2027-01-10): 12 days earlier, beyond 7 at 11w1d.
    const auto scan = DateByScan(Date(2026, 6, 10), Crl, Intergrowth, 450);
    ASSERT_TRUE(scan);
    const auto advice = CompareWithMenstrualDueDate(*scan, Date(2027, 1, 10));
    ASSERT_TRUE(advice);
    EXPECT_EQ(*advice, (RedatingAdvice{Date(2027, 1, 10), -12, true, RedatingRule{63, 111, 7}}));

    // Exactly the limit keeps the dates, one more day re-dates: both signs,
    // at the first row (8w6d) and the last (28w0d).
    struct Row
    {
        int ageDays;
        int difference;
        bool redate;
    };
    // Age at the scan, days between the two due dates, whether to re-date.
    // clang-format off
    const Row rows[] = {
        {62, 5, false},  {62, 6, true},  {62, -5, false},  {62, -6, true}, // 8w6d: more than 5
        {63, 7, false},  {63, -8, true},                                   // 9w0d: more than 7
        {196, 21, false}, {196, 22, true}, {196, -22, true}, {196, 0, false}, // 28w0d: more than 21
    };
    // clang-format on
    for (const Row &row : rows) {
        const auto at = DateByScan(Date(2026, 6, 10), Ga, Intergrowth, row.ageDays);
        ASSERT_TRUE(at);
        const auto menstrual = MovedBy(at->dueDate, -row.difference);
        ASSERT_TRUE(menstrual);
        const auto compared = CompareWithMenstrualDueDate(*at, *menstrual);
        ASSERT_TRUE(compared);
        EXPECT_EQ(compared->differenceDays, row.difference);
        EXPECT_EQ(compared->redate, row.redate) << row.ageDays << ' ' << row.difference;
    }
    EXPECT_FALSE(CompareWithMenstrualDueDate(*scan, Date(2027, 0, 10)));
}
