#include "textout/CalendarExport.h"

#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <libical/ical.h>

#include <QSet>
#include <QStringDecoder>

#include <map>

#include <gtest/gtest.h>

using namespace ralvo;

using test::MakeInput;

namespace {

const QDateTime Stamp(QDate(2024, 3, 5), QTime(9, 30), Qt::UTC);

CalculationInput WorkedExample() { return MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "1"); }

std::vector<CalendarEvent> EventsOf(const CalculationInput &input, const QString &name = QStringLiteral("サンプル"),
                                    const ScheduleSettings &settings = {},
                                    const NoticeTable &notices = DefaultNoticeTable())
{
    const auto schedule = BuildSchedule(input, name, settings);
    EXPECT_TRUE(schedule);
    if (!schedule)
        return {};
    return ScheduleCalendarEvents(*schedule, name, settings, notices).value_or(std::vector<CalendarEvent>{});
}

CalendarDate Date(int y, int m, int d) { return CalendarDate{y, m, d}; }

// What libical reads back from a file: SUMMARY and DESCRIPTION by UID.
struct ReadEvent
{
    QString summary;
    QString description;
};

std::map<QString, ReadEvent> ReadBack(const QByteArray &bytes)
{
    std::map<QString, ReadEvent> events;
    icalcomponent *calendar = icalparser_parse_string(bytes.constData());
    EXPECT_TRUE(calendar);
    if (!calendar)
        return events;
    for (icalcomponent *event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const char *description = icalcomponent_get_description(event);
        events[QString::fromUtf8(icalcomponent_get_uid(event))] =
            ReadEvent{QString::fromUtf8(icalcomponent_get_summary(event)),
                      description ? QString::fromUtf8(description) : QString()};
    }
    icalcomponent_free(calendar);
    return events;
}

} // namespace

TEST(ScheduleCalendarEvents, WeeksDueDateAndFullTermOnTheScheduleDays)
{
    const auto schedule = BuildSchedule(WorkedExample(), QStringLiteral("サンプル"), ScheduleSettings());
    ASSERT_TRUE(schedule);
    const std::vector<CalendarEvent> events = EventsOf(WorkedExample());
    ASSERT_EQ(events.size(), 42u);
    const NoticeTable notices = DefaultNoticeTable();
    for (std::size_t i = 0; i < 40; ++i) {
        const ScheduleRow &row = schedule->rows.at(i);
        const CalendarEvent &event = events.at(i);
        CalendarDate dayAfter = row.endDate;
        ASSERT_TRUE(AddDays(dayAfter, 1));
        EXPECT_EQ(event.start, row.startDate) << row.week;
        EXPECT_EQ(event.end, dayAfter) << row.week;
        EXPECT_EQ(event.description, notices.ForWeek(row.week).text) << row.week;
    }
    EXPECT_EQ(events.front().start, Date(2024, 1, 29));
    EXPECT_EQ(events.front().end, Date(2024, 2, 5));
    EXPECT_EQ(events.at(39).start, Date(2024, 10, 28));
    EXPECT_EQ(events.at(39).end, Date(2024, 11, 4));

    EXPECT_EQ(events.at(40).summary, QStringLiteral("出産予定日"));
    EXPECT_EQ(events.at(40).start, Date(2024, 10, 7));
    EXPECT_EQ(events.at(40).end, Date(2024, 10, 8));
    EXPECT_EQ(events.at(41).summary, QStringLiteral("正期産"));
    EXPECT_EQ(events.at(41).start, Date(2024, 9, 16)); // 37 weeks 0 days
    EXPECT_EQ(events.at(41).end, Date(2024, 10, 21));  // the day after 41 weeks 6 days
}

TEST(ScheduleCalendarEvents, SummaryIsTheWeekLabelWithTheMonthWhereAMonthStarts)
{
    const std::vector<CalendarEvent> events = EventsOf(WorkedExample());
    ASSERT_EQ(events.size(), 42u);
    EXPECT_EQ(events.at(0).summary, QStringLiteral("妊娠 4週 【第 2か月】"));
    EXPECT_EQ(events.at(1).summary, QStringLiteral("妊娠 5週"));
    EXPECT_EQ(events.at(4).summary, QStringLiteral("妊娠 8週 【第 3か月】"));
    EXPECT_EQ(events.at(32).summary, QStringLiteral("妊娠36週 【第10か月】"));
    EXPECT_EQ(events.at(36).summary, QStringLiteral("妊娠40週")); // the due week starts no month
    EXPECT_EQ(events.at(39).summary, QStringLiteral("妊娠43週"));

    ScheduleSettings other;
    other.Shu1 = QString();
    other.Shu2 = QStringLiteral("w");
    other.Tsuki1 = QStringLiteral("第");
    other.Tsuki2 = QStringLiteral("月");
    other.Yoteiyogo = 1;
    const std::vector<CalendarEvent> relabelled = EventsOf(WorkedExample(), QString(), other);
    ASSERT_EQ(relabelled.size(), 42u);
    EXPECT_EQ(relabelled.at(0).summary, QStringLiteral("4w 第 2月"));
    EXPECT_EQ(relabelled.at(1).summary, QStringLiteral("5w"));
    EXPECT_EQ(relabelled.at(40).summary, QStringLiteral("分娩予定日"));
}

TEST(ScheduleCalendarEvents, UidsAreUniqueAndStableForTheSamePregnancy)
{
    const std::vector<CalendarEvent> events = EventsOf(WorkedExample());
    QSet<QString> uids;
    for (const CalendarEvent &event : events)
        uids.insert(event.uid);
    EXPECT_EQ(uids.size(), 42);

    // The same due date from another basis, other labels and notices: the
    // same events, so the same UIDs.
    ScheduleSettings relabelled;
    relabelled.Shu1 = QStringLiteral("第");
    NoticeTable notices;
    const std::vector<CalendarEvent> again = EventsOf(MakeInput(CalculationBasis::UltrasoundDueDate, "2024", "10", "7"),
                                                      QStringLiteral("サンプル"), relabelled, notices);
    ASSERT_EQ(again.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(again.at(i).uid, events.at(i).uid) << i;

    // The same name as printed, with control characters the page leaves out.
    const std::vector<CalendarEvent> controls = EventsOf(WorkedExample(), QStringLiteral("サン\x01プル\u0085\x7f\t"));
    ASSERT_EQ(controls.size(), events.size());
    for (std::size_t i = 0; i < events.size(); ++i)
        EXPECT_EQ(controls.at(i).uid, events.at(i).uid) << i;

    // Another mother or another due date: none of the UIDs.
    for (const auto &other : {EventsOf(WorkedExample(), QStringLiteral("別の人")),
                              EventsOf(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "2"))}) {
        ASSERT_EQ(other.size(), 42u);
        for (const CalendarEvent &event : other)
            EXPECT_FALSE(uids.contains(event.uid)) << event.uid.toStdString();
    }
}

TEST(PregnancyCalendarEvents, CheckupsOverTheirWeeksAndTheInuNoHiOfTheFifthMonth)
{
    const CalendarDate due{2026, 1, 15};
    const auto events = PregnancyCalendarEvents(due, QStringLiteral("サンプル"), PregnancyEventChoice());
    ASSERT_TRUE(events);
    ASSERT_EQ(events->size(), 14u + 2);
    const CalendarEvent &first = events->front();
    EXPECT_EQ(first.summary, QStringLiteral("第1回 妊婦健診（妊娠8週）"));
    EXPECT_EQ(first.description, QString());
    EXPECT_EQ(first.start, Date(2025, 6, 5));
    EXPECT_EQ(first.end, Date(2025, 6, 12)); // the day after the week's last
    EXPECT_EQ(events->at(13).summary, QStringLiteral("第14回 妊婦健診（妊娠39週）"));
    EXPECT_EQ(events->at(13).end, Date(2026, 1, 15));
    for (std::size_t i = 14; i < 16; ++i)
        EXPECT_EQ(events->at(i).summary, QStringLiteral("戌の日（帯祝い）"));
    EXPECT_EQ(events->at(14).description, QStringLiteral("最初の戌の日"));
    EXPECT_EQ(events->at(14).start, Date(2025, 8, 9));
    EXPECT_EQ(events->at(14).end, Date(2025, 8, 10));
    EXPECT_EQ(events->at(15).description, QString());
    EXPECT_EQ(events->at(15).start, Date(2025, 8, 21));

    // A clinic's own plan; either kind left out.
    PregnancyEventChoice own;
    own.checkupWeeks = {10, 20};
    own.inuNoHi = false;
    const auto ownEvents = PregnancyCalendarEvents(due, QString(), own);
    ASSERT_TRUE(ownEvents);
    ASSERT_EQ(ownEvents->size(), 2u);
    EXPECT_EQ(ownEvents->at(1).summary, QStringLiteral("第2回 妊婦健診（妊娠20週）"));
    EXPECT_EQ(ownEvents->at(1).start, Date(2025, 8, 28));
    PregnancyEventChoice inuOnly;
    inuOnly.checkupWeeks.clear();
    EXPECT_EQ(PregnancyCalendarEvents(due, QStringLiteral("サンプル"), inuOnly).value().size(), 2u);
    own.checkupWeeks = {20, 10};
    EXPECT_FALSE(PregnancyCalendarEvents(due, QString(), own));
    // The years a calendar file holds bound these days too.
    EXPECT_FALSE(PregnancyCalendarEvents(Date(1, 7, 1), QString(), PregnancyEventChoice()));
    EXPECT_TRUE(PregnancyCalendarEvents(Date(1, 7, 1), QString(), inuOnly));
}

TEST(PregnancyCalendarEvents, UidsAreStableAndApartFromTheSchedulesEvents)
{
    const auto schedule = EventsOf(WorkedExample());
    const auto events = PregnancyCalendarEvents(Date(2024, 10, 7), QStringLiteral("サンプル"), PregnancyEventChoice());
    ASSERT_TRUE(events);
    QSet<QString> uids;
    for (const auto *list : {&schedule, &*events}) {
        for (const CalendarEvent &event : *list)
            uids.insert(event.uid);
    }
    EXPECT_EQ(uids.size(), qsizetype(schedule.size() + events->size()));

    // The same visit week keeps its UID in another plan, whatever its number.
    PregnancyEventChoice own;
    own.checkupWeeks = {12, 16};
    const auto again = PregnancyCalendarEvents(Date(2024, 10, 7), QStringLiteral("サンプル"), own);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->at(0).uid, events->at(1).uid);
    EXPECT_EQ(again->at(0).summary, QStringLiteral("第1回 妊婦健診（妊娠12週）"));
    EXPECT_EQ(again->at(2).uid, events->at(14).uid); // the first 戌の日
    const auto otherMother = PregnancyCalendarEvents(Date(2024, 10, 7), QStringLiteral("別の人"), own);
    EXPECT_FALSE(uids.contains(otherMother.value().at(0).uid));

    // The file holds them after the schedule's, or leaves them out.
    const NoticeTable notices = DefaultNoticeTable();
    PregnancyEventChoice none;
    none.checkupWeeks.clear();
    none.inuNoHi = false;
    const std::map<QString, ReadEvent> read = ReadBack(
        ScheduleCalendarFile(WorkedExample(), QStringLiteral("サンプル"), ScheduleSettings(), notices, Stamp, own)
            .bytes);
    EXPECT_EQ(read.size(), 42u + 2 + 2);
    EXPECT_EQ(read.at(again->at(2).uid).description, QStringLiteral("最初の戌の日"));
    EXPECT_EQ(ReadBack(ScheduleCalendarFile(WorkedExample(), QString(), ScheduleSettings(), notices, Stamp, none).bytes)
                  .size(),
              42u);
}

TEST(ScheduleCalendarFile, RefusesInputsAndYearsACalendarCannotHold)
{
    const NoticeTable notices = DefaultNoticeTable();
    const auto resultOf = [&](const CalculationInput &input) {
        return ScheduleCalendarFile(input, QString(), ScheduleSettings(), notices, Stamp).result;
    };
    EXPECT_EQ(resultOf(WorkedExample()), CalendarFileResult::Made);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "x")),
              CalendarFileResult::InputFailure);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "13", "1")),
              CalendarFileResult::InputFailure);
    // Week 4 in year 0; the due date in 10000; week 43 ending on 9999-12-31
    // (its DTEND would be in 10000); the largest cycle.
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::LastMenstrualPeriod, "0", "11", "1")),
              CalendarFileResult::OutOfRange);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::UltrasoundDueDate, "10000", "1", "1")),
              CalendarFileResult::OutOfRange);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::UltrasoundDueDate, "9999", "12", "4")),
              CalendarFileResult::OutOfRange);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::UltrasoundDueDate, "9999", "12", "3")), CalendarFileResult::Made);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "1", "1", "2147483647")),
              CalendarFileResult::OutOfRange);
    EXPECT_EQ(resultOf(MakeInput(CalculationBasis::UltrasoundDueDate, "1", "10", "7")), CalendarFileResult::Made);
}

// Each event's days as the file writes them, four-digit years included:
// the years around 3000, past which libical's date type writes zeros, and
// the last one a calendar can hold.
TEST(EncodeCalendar, WritesEveryDayOfTheYearsOneTo9999)
{
    const auto digits = [](const CalendarDate &date) {
        return QStringLiteral("%1%2%3")
            .arg(date.year, 4, 10, QLatin1Char('0'))
            .arg(date.month, 2, 10, QLatin1Char('0'))
            .arg(date.day, 2, 10, QLatin1Char('0'))
            .toLatin1();
    };
    for (const CalculationInput &input : {MakeInput(CalculationBasis::UltrasoundDueDate, "2999", "6", "1"),
                                          MakeInput(CalculationBasis::UltrasoundDueDate, "3000", "12", "31"),
                                          MakeInput(CalculationBasis::LastMenstrualPeriod, "3001", "1", "1"),
                                          MakeInput(CalculationBasis::UltrasoundDueDate, "9999", "12", "3"),
                                          MakeInput(CalculationBasis::UltrasoundDueDate, "1", "10", "7")}) {
        // The schedule's events alone (the check-ups and 戌の日 are dated alike).
        const CalendarFile file = ScheduleCalendarFile(input, QString(), ScheduleSettings(), DefaultNoticeTable(),
                                                       Stamp, PregnancyEventChoice{{}, false});
        ASSERT_EQ(file.result, CalendarFileResult::Made) << input.year.toStdString();
        EXPECT_FALSE(file.bytes.contains("00000000")) << input.year.toStdString();
        QByteArray expected;
        for (const CalendarEvent &event : EventsOf(input, QString()))
            expected +=
                "DTSTART;VALUE=DATE:" + digits(event.start) + "\r\nDTEND;VALUE=DATE:" + digits(event.end) + "\r\n";
        QByteArray written;
        for (const QByteArray &line : file.bytes.split('\n')) {
            if (line.startsWith("DTSTART") || line.startsWith("DTEND"))
                written += line + '\n';
        }
        EXPECT_EQ(written.toStdString(), expected.toStdString()) << input.year.toStdString();
    }
}

TEST(EncodeCalendar, FoldedUtf8LinesWithCrLfAndTextThatReadsBack)
{
    NoticeTable notices = DefaultNoticeTable();
    notices.ForWeek(9).text = QStringLiteral("一行目\r\n二行目, 三; \\四\x01");
    notices.ForWeek(10).text = QString(60, u'あ'); // 180 octets: folded
    const CalendarFile file =
        ScheduleCalendarFile(WorkedExample(), QStringLiteral("サンプル"), ScheduleSettings(), notices, Stamp);
    ASSERT_EQ(file.result, CalendarFileResult::Made);
    EXPECT_EQ(file.title, QStringLiteral("サンプルさんの出産までのスケジュール"));
    ASSERT_TRUE(file.bytes.startsWith("BEGIN:VCALENDAR\r\n"));
    ASSERT_TRUE(file.bytes.endsWith("END:VCALENDAR\r\n"));
    EXPECT_TRUE(file.bytes.contains("\r\nDTSTAMP:20240305T093000Z\r\n"));
    EXPECT_TRUE(file.bytes.contains("\r\nDTSTART;VALUE=DATE:20240129\r\nDTEND;VALUE=DATE:20240205\r\n"));

    // Every line ends in CR LF, holds at most 75 octets and is UTF-8 on its
    // own: folding never cuts a character in two.
    const QList<QByteArray> lines = file.bytes.chopped(1).split('\n');
    for (const QByteArray &line : lines) {
        ASSERT_TRUE(line.endsWith('\r')) << line.toStdString();
        const QByteArray content = line.chopped(1);
        EXPECT_FALSE(content.contains('\r'));
        EXPECT_LE(content.size(), 75) << content.toStdString();
        QStringDecoder decoder(QStringDecoder::Utf8);
        (void)QString(decoder.decode(content));
        EXPECT_FALSE(decoder.hasError()) << content.toStdString();
    }

    const std::map<QString, ReadEvent> read = ReadBack(file.bytes);
    ASSERT_EQ(read.size(), 42u + 14 + 2); // the week table's, the check-ups and two 戌の日
    const std::vector<CalendarEvent> events = EventsOf(WorkedExample(), QStringLiteral("サンプル"), {}, notices);
    EXPECT_EQ(read.at(events.at(5).uid).description, QStringLiteral("一行目\n二行目, 三; \\四"));
    EXPECT_EQ(read.at(events.at(6).uid).description, QString(60, u'あ'));
    EXPECT_EQ(read.at(events.at(7).uid).description, QString()); // an empty notice: no DESCRIPTION
    EXPECT_EQ(read.at(events.at(4).uid).summary, QStringLiteral("妊娠 8週 【第 3か月】"));
}

namespace {

struct Export
{
    test::FakePlatform fake;
    ScheduleSettings settings;
    NoticeTable notices = DefaultNoticeTable();
    std::vector<std::pair<QString, QByteArray>> written;
    bool writeSucceeds = true;

    CalendarExportResult Run(const CalculationInput &input, const QString &name = QStringLiteral("サンプル"))
    {
        const CalendarExportSources sources{input, name, settings, notices, Stamp};
        return ExportScheduleCalendar(sources, fake.Services(), [this](const QString &path, const QByteArray &bytes) {
            written.emplace_back(path, bytes);
            return writeSucceeds;
        });
    }
};

} // namespace

TEST(ExportScheduleCalendar, AsksForTheFileWithTheTitleAndWritesIt)
{
    Export e;
    e.fake.fileDialogs.answers.push_back(QStringLiteral("/tmp/out.ics"));
    EXPECT_EQ(e.Run(WorkedExample()), CalendarExportResult::Saved);
    ASSERT_EQ(e.fake.fileDialogs.requests.size(), 1u);
    const auto &request = e.fake.fileDialogs.requests.front();
    EXPECT_EQ(request.fileName, QStringLiteral("サンプルさんの出産までのスケジュール.ics"));
    EXPECT_EQ(request.filter, QStringLiteral("iCalendarファイル (*.ics)|*.ics"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("ics"));
    ASSERT_EQ(e.written.size(), 1u);
    EXPECT_EQ(e.written.front().first, QStringLiteral("/tmp/out.ics"));
    EXPECT_EQ(e.written.front().second,
              ScheduleCalendarFile(WorkedExample(), QStringLiteral("サンプル"), e.settings, e.notices, Stamp).bytes);
    EXPECT_TRUE(e.fake.messages.shown.empty());
    EXPECT_EQ(e.fake.sounds.beeps, 0);
}

TEST(ExportScheduleCalendar, RefusalsCancelAndWriteFailure)
{
    {
        Export e; // a field that is no integer: one beep, no dialog
        EXPECT_EQ(e.Run(MakeInput(CalculationBasis::LastMenstrualPeriod, "2024", "", "1")),
                  CalendarExportResult::InputFailure);
        EXPECT_EQ(e.fake.sounds.beeps, 1);
        EXPECT_TRUE(e.fake.fileDialogs.requests.empty());
        EXPECT_TRUE(e.fake.messages.shown.empty());
    }
    {
        Export e; // a year no calendar file holds: told, no dialog
        EXPECT_EQ(e.Run(MakeInput(CalculationBasis::UltrasoundDueDate, "12000", "1", "1")),
                  CalendarExportResult::OutOfRange);
        EXPECT_EQ(e.fake.messages.shown, std::vector<QString>{CalendarOutOfRangeMessage()});
        EXPECT_TRUE(e.fake.fileDialogs.requests.empty());
        EXPECT_EQ(e.fake.sounds.beeps, 0);
    }
    {
        Export e; // cancelled: nothing written, nothing said
        EXPECT_EQ(e.Run(WorkedExample()), CalendarExportResult::Cancelled);
        EXPECT_TRUE(e.written.empty());
        EXPECT_TRUE(e.fake.messages.shown.empty());
    }
    {
        Export e;
        e.writeSucceeds = false;
        e.fake.fileDialogs.answers.push_back(QStringLiteral("/nowhere/x\x1b[2J\n.ics"));
        EXPECT_EQ(e.Run(WorkedExample(), QString()), CalendarExportResult::WriteFailed);
        EXPECT_EQ(e.fake.messages.shown,
                  std::vector<QString>{QStringLiteral("ファイル /nowhere/x\\x1b[2J\\n.ics を作成できません")});
        EXPECT_EQ(e.fake.fileDialogs.requests.front().fileName, QStringLiteral("さんの出産までのスケジュール.ics"));
    }
}
