#include "textout/CalendarExport.h"

#include "store/FileWriter.h"

#include <QCryptographicHash>

#include <libical/ical.h>

#include <cstdlib>
#include <memory>

namespace ralvo {

namespace {

constexpr int FirstTermWeek = 37;
constexpr int LastTermWeek = 41;

bool InCalendarRange(const CalendarDate &date)
{
    return date.year >= FirstCalendarYear && date.year <= LastCalendarYear;
}

// The day after `date`; none past the range.
std::optional<CalendarDate> DayAfter(CalendarDate date)
{
    if (!AddDays(date, 1) || !InCalendarRange(date))
        return std::nullopt;
    return date;
}

// An iCalendar TEXT holds no control character but the tab, and a line break
// only as the escaped "\n" libical writes for LF: CR LF and lone CR become LF,
// other controls are dropped.
QString CalendarText(const QString &text)
{
    QString clean = text;
    clean.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    clean.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QString result;
    result.reserve(clean.size());
    for (const QChar c : clean) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n') || u == 0x7f)
            continue;
        result += c;
    }
    return result;
}

// The name as the page and the calendar show it: without control
// characters (C0, DEL, C1) and surrounding blanks.
QString PrintedName(const QString &name)
{
    QString printed;
    printed.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && (u < 0x7f || u > 0x9f))
            printed += c;
    }
    return printed.trimmed();
}

// "<32 hex digits>-<key>@ralvo": the mother's name as printed, the due date
// and the event's key hashed, so the same pregnancy gives the same UIDs on
// every export.
QString EventUid(const QString &motherName, const CalendarDate &dueDate, const QString &key)
{
    const QString identity = QStringLiteral("ralvo-schedule\n%1\n%2-%3-%4\n%5")
                                 .arg(PrintedName(motherName))
                                 .arg(dueDate.year)
                                 .arg(dueDate.month)
                                 .arg(dueDate.day)
                                 .arg(key);
    const QByteArray hash = QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.toHex().left(32)) + u'-' + key + QStringLiteral("@ralvo");
}

// A DATE property written from its digits: libical's own date type turns
// years past 3000 into 00000000 when it writes them.
icalproperty *DateProperty(icalproperty_kind kind, const CalendarDate &date)
{
    const QByteArray digits = QStringLiteral("%1%2%3")
                                  .arg(date.year, 4, 10, QLatin1Char('0'))
                                  .arg(date.month, 2, 10, QLatin1Char('0'))
                                  .arg(date.day, 2, 10, QLatin1Char('0'))
                                  .toLatin1();
    icalproperty *property = icalproperty_new(kind);
    icalproperty_set_value(property, icalvalue_new_from_string(ICAL_DATE_VALUE, digits.constData()));
    return property;
}

struct ComponentFree
{
    void operator()(icalcomponent *component) const { icalcomponent_free(component); }
};

} // namespace

std::optional<std::vector<CalendarEvent>> ScheduleCalendarEvents(const Schedule &schedule, const QString &motherName,
                                                                 const ScheduleSettings &settings,
                                                                 const NoticeTable &notices)
{
    if (schedule.rows.size() != std::size_t(LastScheduleWeek) - FirstScheduleWeek + 1
        || schedule.rows.front().week != FirstScheduleWeek)
        return std::nullopt;
    const CalendarDate due = schedule.dates.dueDate;

    std::vector<CalendarEvent> events;
    events.reserve(schedule.rows.size() + 2);
    const ScheduleRow *termStart = nullptr;
    const ScheduleRow *termEnd = nullptr;
    for (const ScheduleRow &row : schedule.rows) {
        const std::optional<CalendarDate> end = DayAfter(row.endDate);
        if (!InCalendarRange(row.startDate) || !end)
            return std::nullopt;
        CalendarEvent event;
        event.uid = EventUid(motherName, due, QStringLiteral("week%1").arg(row.week, 2, 10, QLatin1Char('0')));
        event.summary = CalendarText(WeekLabel(row, settings));
        if (row.monthNumber)
            event.summary += u' ' + CalendarText(MonthLabel(row, settings)).trimmed();
        event.summary = event.summary.trimmed();
        event.description = CalendarText(notices.ForWeek(row.week).text).trimmed();
        event.start = row.startDate;
        event.end = *end;
        events.push_back(std::move(event));
        if (row.week == FirstTermWeek)
            termStart = &row;
        if (row.week == LastTermWeek)
            termEnd = &row;
    }

    const std::optional<CalendarDate> dayAfterDue = DayAfter(due);
    if (!InCalendarRange(due) || !dayAfterDue || !termStart || !termEnd)
        return std::nullopt;
    events.push_back(CalendarEvent{EventUid(motherName, due, QStringLiteral("due")), schedule.dueDateTerm, QString(),
                                   due, *dayAfterDue});
    events.push_back(CalendarEvent{EventUid(motherName, due, QStringLiteral("term")), QStringLiteral("正期産"),
                                   QString(), termStart->startDate, *DayAfter(termEnd->endDate)});
    return events;
}

std::optional<std::vector<CalendarEvent>> PregnancyCalendarEvents(const CalendarDate &dueDate,
                                                                  const QString &motherName,
                                                                  const PregnancyEventChoice &choice)
{
    std::vector<CalendarEvent> events;
    const auto add = [&](const QString &key, const QString &summary, const QString &description, const DateSpan &days) {
        const std::optional<CalendarDate> end = DayAfter(days.last);
        if (!InCalendarRange(days.first) || !end)
            return false;
        events.push_back(CalendarEvent{EventUid(motherName, dueDate, key), summary, description, days.first, *end});
        return true;
    };
    if (!choice.checkupWeeks.empty()) {
        const auto checkups = CheckupsOf(dueDate, choice.checkupWeeks);
        if (!checkups)
            return std::nullopt;
        for (const Checkup &checkup : *checkups) {
            if (!add(QStringLiteral("checkup%1").arg(checkup.week, 2, 10, QLatin1Char('0')),
                     QStringLiteral("第%1回 妊婦健診（妊娠%2週）").arg(checkup.number).arg(checkup.week), QString(),
                     checkup.days))
                return std::nullopt;
        }
    }
    if (choice.inuNoHi) {
        const auto days = FifthMonthInuNoHi(dueDate);
        if (!days)
            return std::nullopt;
        for (std::size_t i = 0; i < days->size(); ++i) {
            if (!add(QStringLiteral("inu%1").arg(i + 1), QStringLiteral("戌の日（帯祝い）"),
                     i == 0 ? QStringLiteral("最初の戌の日") : QString(), DateSpan{days->at(i), days->at(i)}))
                return std::nullopt;
        }
    }
    return events;
}

QByteArray EncodeCalendar(const QString &calendarName, const std::vector<CalendarEvent> &events, const QDateTime &stamp)
{
    std::unique_ptr<icalcomponent, ComponentFree> calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//ralvo//ralvo 2.0//JA"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    const QByteArray name = CalendarText(calendarName).toUtf8();
    if (!name.isEmpty()) {
        // The name is text, escaped as SUMMARY is.
        icalproperty *calendarNameProperty = icalproperty_new(ICAL_X_PROPERTY);
        icalproperty_set_x_name(calendarNameProperty, "X-WR-CALNAME");
        icalproperty_set_value(calendarNameProperty, icalvalue_new_text(name.constData()));
        icalcomponent_add_property(calendar.get(), calendarNameProperty);
    }

    const icaltimetype dtstamp =
        icaltime_from_timet_with_zone(time_t(stamp.toSecsSinceEpoch()), 0, icaltimezone_get_utc_timezone());
    for (const CalendarEvent &event : events) {
        icalcomponent *vevent = icalcomponent_new_vevent();
        icalcomponent_add_property(vevent, icalproperty_new_uid(event.uid.toUtf8().constData()));
        icalcomponent_add_property(vevent, icalproperty_new_dtstamp(dtstamp));
        icalcomponent_add_property(vevent, DateProperty(ICAL_DTSTART_PROPERTY, event.start));
        icalcomponent_add_property(vevent, DateProperty(ICAL_DTEND_PROPERTY, event.end));
        icalcomponent_add_property(vevent, icalproperty_new_summary(CalendarText(event.summary).toUtf8().constData()));
        const QByteArray description = CalendarText(event.description).toUtf8();
        if (!description.isEmpty())
            icalcomponent_add_property(vevent, icalproperty_new_description(description.constData()));
        // A day of the schedule does not make its owner busy.
        icalcomponent_add_property(vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        icalcomponent_add_component(calendar.get(), vevent);
    }

    char *text = icalcomponent_as_ical_string_r(calendar.get());
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

CalendarFile ScheduleCalendarFile(const CalculationInput &input, const QString &motherName,
                                  const ScheduleSettings &settings, const NoticeTable &notices, const QDateTime &stamp,
                                  const PregnancyEventChoice &choice)
{
    CalendarFile file;
    const std::optional<Schedule> schedule = BuildSchedule(input, motherName, settings, FirstScheduleWeek);
    if (!schedule)
        return file;
    file.title = schedule->title;
    auto events = ScheduleCalendarEvents(*schedule, motherName, settings, notices);
    const auto pregnancyEvents = PregnancyCalendarEvents(schedule->dates.dueDate, motherName, choice);
    if (events && pregnancyEvents)
        events->insert(events->end(), pregnancyEvents->begin(), pregnancyEvents->end());
    if (!events || !pregnancyEvents) {
        file.result = CalendarFileResult::OutOfRange;
        return file;
    }
    file.result = CalendarFileResult::Made;
    file.bytes = EncodeCalendar(schedule->title, *events, stamp);
    return file;
}

QString CalendarFileFilter() { return QStringLiteral("iCalendarファイル (*.ics)|*.ics"); }

QString CalendarOutOfRangeMessage()
{
    return QStringLiteral("カレンダーには西暦%1年から%2年までの日付しか書き出せません。")
        .arg(FirstCalendarYear)
        .arg(LastCalendarYear);
}

CalendarExportResult ExportScheduleCalendar(const CalendarExportSources &sources, const platform::Services &services,
                                            const std::function<bool(const QString &, const QByteArray &)> &write)
{
    const CalendarFile file =
        ScheduleCalendarFile(sources.input, sources.motherName, sources.settings, sources.notices, sources.stamp);
    if (file.result == CalendarFileResult::InputFailure) {
        services.sounds->Beep();
        return CalendarExportResult::InputFailure;
    }
    if (file.result == CalendarFileResult::OutOfRange) {
        services.messages->ShowMessage(CalendarOutOfRangeMessage());
        return CalendarExportResult::OutOfRange;
    }

    platform::FileDialogs::Request request;
    request.title = QStringLiteral("カレンダーに書き出す");
    request.filter = CalendarFileFilter();
    request.filterIndex = 1;
    request.fileName = ScheduleFileBaseName(file.title) + QStringLiteral(".ics");
    request.defaultSuffix = QStringLiteral("ics");
    const std::optional<QString> path = services.fileDialogs->GetSaveFileName(request);
    if (!path || path->isEmpty())
        return CalendarExportResult::Cancelled;
    if (!write || !write(*path, file.bytes)) {
        services.messages->ShowMessage(store::CannotCreateFileMessage(*path));
        return CalendarExportResult::WriteFailed;
    }
    return CalendarExportResult::Saved;
}

} // namespace ralvo
