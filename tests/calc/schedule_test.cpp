#include "calc/Schedule.h"
#include "settings/ScheduleSettings.h"

#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace ralvo;

namespace {

CalculationInput Input(CalculationBasis basis, int y, int m, int d, int cycle = 28)
{
    return CalculationInput{basis, QString::number(y), QString::number(m), QString::number(d), QString::number(cycle)};
}

const ScheduleRow &Row(const Schedule &schedule, int week)
{
    return schedule.rows.at(std::size_t(week - schedule.rows.front().week));
}

} // namespace

TEST(BuildSchedule, RowsAnchoredAtTheOvulationDayForEveryBasis)
{
    const ScheduleSettings settings;
    for (const CalculationInput &input : {Input(CalculationBasis::LastMenstrualPeriod, 2024, 1, 1),
                                          Input(CalculationBasis::BasalTemperatureOvulation, 2024, 1, 15),
                                          Input(CalculationBasis::UltrasoundDueDate, 2024, 10, 7)}) {
        const auto schedule = BuildSchedule(input, QStringLiteral("サンプル"), settings);
        ASSERT_TRUE(schedule);
        ASSERT_EQ(schedule->rows.size(), 40u);
        EXPECT_EQ(Row(*schedule, 4).startDate, (CalendarDate{2024, 1, 29}));
        EXPECT_EQ(Row(*schedule, 4).endDate, (CalendarDate{2024, 2, 4}));
        EXPECT_EQ(Row(*schedule, 36).startDate, (CalendarDate{2024, 9, 9}));
        EXPECT_EQ(Row(*schedule, 40).startDate, schedule->dates.dueDate);
        EXPECT_EQ(Row(*schedule, 40).endDate, (CalendarDate{2024, 10, 13}));
        EXPECT_EQ(Row(*schedule, 43).endDate, (CalendarDate{2024, 11, 3}));
    }
}

TEST(BuildSchedule, FlagsMonthsTermWindowAndDueWeek)
{
    const auto schedule =
        BuildSchedule(Input(CalculationBasis::LastMenstrualPeriod, 2024, 1, 1), QString(), ScheduleSettings());
    ASSERT_TRUE(schedule);
    for (const ScheduleRow &row : schedule->rows) {
        const bool monthStart = row.week % 4 == 0 && row.week != 40;
        EXPECT_EQ(row.monthNumber, monthStart ? std::optional(row.week / 4 + 1) : std::nullopt) << row.week;
        EXPECT_EQ(row.inTermWindow, row.week >= 37 && row.week <= 41) << row.week;
        EXPECT_EQ(row.isDueWeek, row.week == 40) << row.week;
    }
    EXPECT_EQ(Row(*schedule, 36).monthNumber, 10);
}

TEST(BuildSchedule, LaterFirstWeeksAndFailures)
{
    const auto input = Input(CalculationBasis::LastMenstrualPeriod, 2024, 1, 1);
    const auto fromMonth3 = BuildSchedule(input, QString(), ScheduleSettings(), FirstWeekForHani(1));
    ASSERT_TRUE(fromMonth3);
    EXPECT_EQ(fromMonth3->rows.size(), 36u);
    EXPECT_EQ(fromMonth3->rows.front().startDate, (CalendarDate{2024, 2, 26}));
    const auto fromMonth4 = BuildSchedule(input, QString(), ScheduleSettings(), FirstWeekForHani(2));
    ASSERT_TRUE(fromMonth4);
    EXPECT_EQ(fromMonth4->rows.front().week, 12);
    EXPECT_EQ(fromMonth4->rows.front().startDate, (CalendarDate{2024, 3, 25}));
    EXPECT_EQ(FirstWeekForHani(7), 4);

    CalculationInput empty = input;
    empty.cycle.clear();
    EXPECT_FALSE(BuildSchedule(empty, QString(), ScheduleSettings()));
    EXPECT_FALSE(
        BuildSchedule(Input(CalculationBasis::LastMenstrualPeriod, 2024, 13, 1), QString(), ScheduleSettings()));
    // Week 43 of a due date in the last representable year lies beyond it.
    EXPECT_FALSE(
        BuildSchedule(Input(CalculationBasis::UltrasoundDueDate, 2147483647, 12, 20), QString(), ScheduleSettings()));
}

TEST(ScheduleTexts, TitleAndTerm)
{
    const QString tit = QStringLiteral("??さんの出産までのスケジュール");
    EXPECT_EQ(ScheduleTitle(tit, QStringLiteral("サンプル")), QStringLiteral("サンプルさんの出産までのスケジュール"));
    EXPECT_EQ(ScheduleTitle(tit, QString()), QStringLiteral("さんの出産までのスケジュール"));
    EXPECT_EQ(ScheduleTitle(QStringLiteral("??と??"), QStringLiteral("A")), QStringLiteral("Aと??"));
    EXPECT_EQ(ScheduleTitle(QStringLiteral("予定表"), QStringLiteral("A")), QStringLiteral("予定表"));
    EXPECT_EQ(ScheduleTitle(QStringLiteral("???"), QStringLiteral("A")), QStringLiteral("A?"));
    EXPECT_EQ(DueDateTerm(0), QStringLiteral("出産予定日"));
    EXPECT_EQ(DueDateTerm(1), QStringLiteral("分娩予定日"));
}

TEST(ScheduleTexts, LabelsKeepTheirColumnWidth)
{
    ScheduleRow week4;
    week4.week = 4;
    week4.monthNumber = 2;
    ScheduleRow week36 = week4;
    week36.week = 36;
    week36.monthNumber = 10;
    ScheduleRow week5;
    week5.week = 5;

    ScheduleSettings settings;
    EXPECT_EQ(MonthLabel(week4, settings), QStringLiteral("【第 2か月】"));
    EXPECT_EQ(MonthLabel(week36, settings), QStringLiteral("【第10か月】"));
    EXPECT_EQ(MonthLabel(week5, settings), QString(12, QLatin1Char(' ')));
    EXPECT_EQ(WeekLabel(week4, settings), QStringLiteral("妊娠 4週"));
    EXPECT_EQ(WeekLabel(week36, settings), QStringLiteral("妊娠36週"));

    settings.Tsuki1.clear();
    settings.Tsuki2.clear();
    settings.Shu1.clear();
    settings.Shu2 = QStringLiteral("w");
    EXPECT_EQ(MonthLabel(week4, settings), QStringLiteral(" 2"));
    EXPECT_EQ(MonthLabel(week36, settings), QStringLiteral("10"));
    EXPECT_EQ(MonthLabel(week5, settings), QStringLiteral("  "));
    EXPECT_EQ(WeekLabel(week4, settings), QStringLiteral(" 4w"));

    // Half-width katakana count one column, JIS tilde two.
    settings.Tsuki1 = QStringLiteral("ｶ〜");
    EXPECT_EQ(MonthLabel(week5, settings), QString(5, QLatin1Char(' ')));
}

TEST(ScheduleTexts, RowDatesHaveWeekdaysFrom1582)
{
    test::FakeMessages messages;
    EXPECT_EQ(RowDateText({2024, 1, 29}, messages), QStringLiteral(" 1月29日(月)"));
    EXPECT_EQ(RowDateText({2024, 10, 13}, messages), QStringLiteral("10月13日(日)"));
    EXPECT_EQ(RowDateText({1581, 4, 24}, messages), QStringLiteral(" 4月24日"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST(ScheduleTexts, FileNameFromTheTitle)
{
    EXPECT_EQ(ScheduleFileBaseName(QStringLiteral("サンプルさんの出産までのスケジュール")),
              QStringLiteral("サンプルさんの出産までのスケジュール"));
    // A name typed with a slash must not point into another folder.
    EXPECT_EQ(ScheduleFileBaseName(QStringLiteral("../a/b\\c:d*e?f\"g<h>i|j\tk")),
              QStringLiteral(".._a_b_c_d_e_f_g_h_i_j_k"));
    EXPECT_EQ(ScheduleFileBaseName(QStringLiteral("  ")), QStringLiteral("スケジュール"));
    EXPECT_EQ(ScheduleFileBaseName(QString()), QStringLiteral("スケジュール"));
    EXPECT_EQ(ScheduleFileBaseName(QStringLiteral("..")), QStringLiteral("スケジュール"));
}
