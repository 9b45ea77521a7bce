#include "calc/DueDate.h"

#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace ralvo;

using test::MakeInput;

TEST(ParseIntegerField, BlanksSignDigitsAnd32BitRange)
{
    struct Case
    {
        const char *text;
        std::optional<qint32> value;
    };
    const Case cases[] = {
        {"28", 28},
        {"  28", 28},
        {"\t-3", -3},
        {"+7", 7},
        {"007", 7},
        {"-0", 0},
        {"2147483647", 2147483647},
        {"-2147483648", qint32(-2147483647 - 1)},
        {"00000000000000000002147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"28 ", std::nullopt},
        {"2 8", std::nullopt},
        {"0x1C", std::nullopt},
        {"1e3", std::nullopt},
        {"２８", std::nullopt},
        {"　28", std::nullopt},
        {"28.0", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseIntegerField(QString::fromUtf8(c.text)), c.value) << '"' << c.text << '"';
}

TEST(ParseCalculationInput, KeepsTheDateAsTypedAndFailsOnAnyField)
{
    const auto parsed =
        ParseCalculationInput(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "2", "30", "35"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->baseDate, (CalendarDate{2024, 2, 30}));
    EXPECT_EQ(parsed->cycle, 35);
    EXPECT_FALSE(ParseCalculationInput(MakeInput(CalculationBasis::UltrasoundDueDate, "2024", "1", "1", "")));
    EXPECT_FALSE(ParseCalculationInput(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "x", "1")));
}

TEST(ComputePregnancyDates, ThreeBasesAndCycleLengths)
{
    using B = CalculationBasis;
    struct Case
    {
        B basis;
        CalendarDate base;
        qint32 cycle;
        PregnancyDates expected;
    };
    const PregnancyDates standard{{2024, 10, 7}, {2024, 1, 15}, {2024, 1, 22}};
    const Case cases[] = {
        {B::LastMenstrualPeriod, {2024, 1, 1}, 28, standard},
        {B::LastMenstrualPeriod, {2024, 1, 1}, 35, {{2024, 10, 14}, {2024, 1, 22}, {2024, 1, 29}}},
        {B::LastMenstrualPeriod, {2024, 1, 1}, 21, {{2024, 9, 30}, {2024, 1, 8}, {2024, 1, 15}}},
        {B::BasalTemperatureOvulation, {2024, 1, 15}, 99, standard},
        {B::UltrasoundDueDate, {2024, 10, 7}, -5, standard},
        // Embryo transfer: ovulation 3 or 5 days before, due 263 or 261 days after.
        {B::EmbryoTransferDay3, {2024, 1, 18}, 28, standard},
        {B::EmbryoTransferDay5, {2024, 1, 20}, 99, standard},
        {B::EmbryoTransferDay5, {2024, 3, 1}, 28, {{2024, 11, 17}, {2024, 2, 25}, {2024, 3, 3}}},
        {B::LastMenstrualPeriod, {2023, 12, 31}, 28, {{2024, 10, 6}, {2024, 1, 14}, {2024, 1, 21}}},
        {B::LastMenstrualPeriod, {2024, 2, 30}, 28, {{2024, 12, 6}, {2024, 3, 15}, {2024, 3, 22}}},
        {B::UltrasoundDueDate, {1582, 1, 1}, 28, {{1582, 1, 1}, {1581, 4, 10}, {1581, 4, 17}}},
        {B::UltrasoundDueDate, {2024, 5, 0}, 28, {{2024, 4, 30}, {2023, 8, 8}, {2023, 8, 15}}},
        // The largest cycle: the offset does not fit 32 bits, the year does.
        {B::LastMenstrualPeriod, {2024, 1, 1}, 2147483647, {{5881635, 3, 20}, {5881634, 6, 27}, {5881634, 7, 4}}},
    };
    for (const Case &c : cases) {
        const auto dates = ComputePregnancyDates(c.basis, c.base, c.cycle);
        ASSERT_TRUE(dates) << c.base.year;
        EXPECT_EQ(dates->dueDate, c.expected.dueDate) << c.base.year << " cycle " << c.cycle;
        EXPECT_EQ(dates->ovulationDate, c.expected.ovulationDate) << c.base.year;
        EXPECT_EQ(dates->implantationDate, c.expected.implantationDate) << c.base.year;
    }
}

TEST(CalculationBasis, StoredNumbersStayThreeWhileTransferBasesHaveTheirOwn)
{
    EXPECT_FALSE(CalculationBasisFromInt(3));
    EXPECT_FALSE(CalculationBasisFromInt(4));
    EXPECT_EQ(AnyCalculationBasisFromInt(2), CalculationBasis::UltrasoundDueDate);
    EXPECT_EQ(AnyCalculationBasisFromInt(3), CalculationBasis::EmbryoTransferDay3);
    EXPECT_EQ(AnyCalculationBasisFromInt(4), CalculationBasis::EmbryoTransferDay5);
    EXPECT_FALSE(AnyCalculationBasisFromInt(5));
    EXPECT_FALSE(AnyCalculationBasisFromInt(-1));
}

TEST(ComputePregnancyDates, RefusesBadMonthsAndYearsBeyond32Bits)
{
    using B = CalculationBasis;
    EXPECT_FALSE(ComputePregnancyDates(B::LastMenstrualPeriod, {2024, 13, 1}, 28));
    EXPECT_FALSE(ComputePregnancyDates(B::LastMenstrualPeriod, {2024, 0, 1}, 28));
    EXPECT_FALSE(ComputePregnancyDates(B::LastMenstrualPeriod, {2147483647, 12, 1}, 28));
    EXPECT_FALSE(ComputePregnancyDates(B::UltrasoundDueDate, {-2147483647 - 1, 1, 1}, 28));
}

TEST(ComputePregnancyDates, CommandBeepsOnceOnEveryFailure)
{
    test::FakeSounds sounds;
    EXPECT_TRUE(ComputePregnancyDates(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "1"), sounds));
    EXPECT_EQ(sounds.beeps, 0);
    EXPECT_FALSE(ComputePregnancyDates(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", ""), sounds));
    EXPECT_EQ(sounds.beeps, 1);
    EXPECT_FALSE(ComputePregnancyDates(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "13", "1"), sounds));
    EXPECT_EQ(sounds.beeps, 2);
}

TEST(StepOperations, CycleAndYear)
{
    test::FakeSounds sounds;
    EXPECT_EQ(StepCycle(QStringLiteral(" 28"), 1, sounds), QStringLiteral("29"));
    EXPECT_EQ(StepCycle(QStringLiteral("0"), -1, sounds), QStringLiteral("-1"));
    EXPECT_EQ(StepYear(QStringLiteral("+0099"), -1, sounds), QStringLiteral("98"));
    EXPECT_EQ(sounds.beeps, 0);
    EXPECT_FALSE(StepCycle(QString(), 1, sounds));
    EXPECT_FALSE(StepCycle(QStringLiteral("2147483647"), 1, sounds));
    EXPECT_FALSE(StepYear(QStringLiteral("-2147483648"), -1, sounds));
    EXPECT_EQ(sounds.beeps, 3);
}

TEST(StepOperations, MonthCarriesIntoTheYear)
{
    test::FakeSounds sounds;
    struct Case
    {
        const char *year;
        const char *month;
        int d;
        const char *newMonth;
        const char *newYear;
    };
    const Case cases[] = {
        {"2024", "12", 1, "1", "2025"}, {"2024", "1", -1, "12", "2023"},
        {"2024", "5", 1, "6", nullptr}, {"2024", "20", 1, "9", "2025"}, // out of range: only shifted by 12
        {"x", "5", -1, "4", nullptr},                                   // the year is only read on a carry
    };
    for (const Case &c : cases) {
        const auto step = StepMonth(QString::fromUtf8(c.year), QString::fromUtf8(c.month), c.d, sounds);
        ASSERT_TRUE(step) << c.month;
        EXPECT_EQ(step->month, QString::fromUtf8(c.newMonth));
        EXPECT_EQ(step->year, c.newYear ? std::optional(QString::fromUtf8(c.newYear)) : std::nullopt);
    }
    EXPECT_EQ(sounds.beeps, 0);
    EXPECT_FALSE(StepMonth(QStringLiteral("2024"), QStringLiteral("m"), 1, sounds));
    EXPECT_FALSE(StepMonth(QStringLiteral(""), QStringLiteral("12"), 1, sounds));
    EXPECT_FALSE(StepMonth(QStringLiteral("2147483647"), QStringLiteral("12"), 1, sounds));
    EXPECT_EQ(sounds.beeps, 3);
}

TEST(StepOperations, DayCarriesThroughMonthsYearsAndLeapDays)
{
    test::FakeSounds sounds;
    struct Case
    {
        const char *y, *m, *d;
        int dir;
        const char *ny, *nm, *nd;
    };
    const Case cases[] = {
        {"2024", "2", "28", 1, "2024", "2", "29"},    {"2024", "2", "29", 1, "2024", "3", "1"},
        {"2024", "1", "1", -1, "2023", "12", "31"},   {"2024", "12", "31", 1, "2025", "1", "1"},
        {"2023", "2", "31", 0 + 1, "2023", "3", "4"},
    };
    for (const Case &c : cases) {
        const auto step =
            StepDay(QString::fromUtf8(c.y), QString::fromUtf8(c.m), QString::fromUtf8(c.d), c.dir, sounds);
        ASSERT_TRUE(step);
        EXPECT_EQ(step->year, QString::fromUtf8(c.ny));
        EXPECT_EQ(step->month, QString::fromUtf8(c.nm));
        EXPECT_EQ(step->day, QString::fromUtf8(c.nd));
    }
    EXPECT_EQ(sounds.beeps, 0);
    EXPECT_FALSE(StepDay(QStringLiteral("2024"), QStringLiteral("1"), QString(), 1, sounds));
    EXPECT_FALSE(StepDay(QStringLiteral("2024"), QStringLiteral("13"), QStringLiteral("1"), 1, sounds));
    EXPECT_FALSE(StepDay(QStringLiteral("2147483647"), QStringLiteral("12"), QStringLiteral("31"), 1, sounds));
    EXPECT_EQ(sounds.beeps, 3);
}
