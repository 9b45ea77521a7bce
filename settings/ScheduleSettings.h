#pragma once

#include "calc/Schedule.h"
#include "platform/Colour.h"

#include <QString>

#include <array>

namespace ralvo {

// The schedule settings, one field per stored value under SetData, named as
// the value. The initialisers are the first-run defaults.
struct ScheduleSettings
{
    QString Tit = QStringLiteral("??さんの出産までのスケジュール");
    int Yoteiyogo = 0; // 0 "出産予定日", 1 "分娩予定日"
    QString Tsuki1 = QStringLiteral("【第");
    QString Tsuki2 = QStringLiteral("か月】");
    QString Shu1 = QStringLiteral("妊娠");
    QString Shu2 = QStringLiteral("週");
    int Yoshi = 2;             // paper: 0 B5, 1 A4, 2 as the printer has it
    int Hani = 0;              // first month of the table: 0 2nd, 1 3rd, 2 4th
    bool Shumatsucheck = true; // print the week's last day
    bool Noticecheck = true;   // print the notices
    bool Kikanmeicheck = true; // print the institution block
    QString Titfont = QStringLiteral("ＭＳ ゴシック");
    Colour Titcolor = 0x808000; // teal
    QString Yotfont = QStringLiteral("ＭＳ ゴシック");
    Colour Yotcolor = 0x0000FF; // red
    QString MWfont = QStringLiteral("ＭＳ ゴシック");
    Colour MWcolor = 0x000000;
    QString Dayfont = QStringLiteral("ＭＳ ゴシック");
    Colour Daycolor = 0x000000;
    QString Notfont = QStringLiteral("ＭＳ ゴシック");
    Colour Seikicolor = 0x008000;   // green: full-term weeks 37 to 41
    Colour Yoteibicolor = 0x0000FF; // red: the due date in week 40
    bool Colorcheck = true;         // print in colour

    friend bool operator==(const ScheduleSettings &, const ScheduleSettings &) = default;
};

// One week's notice on the page.
struct Notice
{
    QString text;
    Colour color = 0x000000;

    friend bool operator==(const Notice &, const Notice &) = default;
};

// The 40 notices of weeks 4 to 43, in week order (index 0 is week 4).
struct NoticeTable
{
    static constexpr int FirstWeek = 4;
    static constexpr int LastWeek = 43;
    static constexpr int Count = LastWeek - FirstWeek + 1;

    std::array<Notice, Count> notices;

    Notice &ForWeek(int week) { return notices.at(std::size_t(week - FirstWeek)); }
    const Notice &ForWeek(int week) const { return notices.at(std::size_t(week - FirstWeek)); }

    friend bool operator==(const NoticeTable &, const NoticeTable &) = default;
};

// The first-run notice table.
NoticeTable DefaultNoticeTable();

// The table that the notice editor's "初期状態に戻す" puts back: the first-run
// table except week 41, which becomes black.
NoticeTable RestoredNoticeTable();

// The last input of the main window, as stored under LastData.
struct LastInput
{
    int Kijun = 0; // 0 last menstrual period, 1 basal temperature, 2 ultrasound
    int KijunY = 0;
    int KijunM = 0;
    int KijunD = 0;
    QString Mother;
    int Shuki = 28;

    friend bool operator==(const LastInput &, const LastInput &) = default;
};

// The schedule's texts as these settings make them.
inline ScheduleNotation NotationOf(const ScheduleSettings &settings)
{
    return {settings.Tit, settings.Yoteiyogo, settings.Tsuki1, settings.Tsuki2, settings.Shu1, settings.Shu2};
}

inline std::optional<Schedule> BuildSchedule(const CalculationInput &input, const QString &motherName,
                                             const ScheduleSettings &settings, int firstWeek = FirstScheduleWeek)
{
    return BuildSchedule(input, motherName, NotationOf(settings), firstWeek);
}

inline QString MonthLabel(const ScheduleRow &row, const ScheduleSettings &settings)
{
    return MonthLabel(row, NotationOf(settings));
}

inline QString WeekLabel(const ScheduleRow &row, const ScheduleSettings &settings)
{
    return WeekLabel(row, NotationOf(settings));
}

} // namespace ralvo
