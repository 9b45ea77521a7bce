// The "ics" subcommand: the schedule as an iCalendar file for a calendar
// application.

#include "app/cli/PregnancyCalendarOptions.h"
#include "app/cli/ScheduleOptions.h"
#include "app/cli/Subcommands.h"

#include "textout/CalendarExport.h"

#include <QDateTime>

namespace ralvo::cli {

namespace {

int RunIcs(const QCommandLineParser &parser, Console &console)
{
    const auto choice = ReadCalendarEventOptions(parser);
    if (const QString *error = std::get_if<QString>(&choice))
        return UsageError(console, *error);
    ConsoleMessages messages(console);
    const auto run = ReadScheduleRun(parser, console, messages);
    if (const int *status = std::get_if<int>(&run))
        return *status;
    const ScheduleRun &made = std::get<ScheduleRun>(run);
    const ScheduleRequest &schedule = made.request;
    const StoredRecords &records = made.records;

    const CalendarFile file =
        ScheduleCalendarFile(schedule.input, schedule.motherName, records.settings, records.notices,
                             QDateTime::currentDateTimeUtc(), std::get<PregnancyEventChoice>(choice));
    switch (file.result) {
    case CalendarFileResult::InputFailure:
        console.Error(InputRefusalMessage(schedule.input));
        return ExitInputRefused;
    case CalendarFileResult::OutOfRange:
        console.Error(CalendarOutOfRangeMessage());
        return ExitInputRefused;
    case CalendarFileResult::Made:
        break;
    }
    return console.WriteOutput(file.bytes, schedule.outputFile) ? ExitOk : ExitCannotWrite;
}

} // namespace

Subcommand IcsSubcommand()
{
    return Subcommand{
        QStringLiteral("ics"),
        QStringLiteral("  ralvo-schedule ics --basis 0|1|2|ivf3|ivf5|crl|bpd|ga --year TEXT --month TEXT --day TEXT\n"
                       "                     --cycle TEXT [--name TEXT] [--set FIELD=VALUE]...\n"
                       "                     [--crl MM [--method intergrowth|robinson] | --bpd MM | --ga W+D]\n"
                       "                     [--defaults | --settings FILE] [--checkups LIST | --no-checkups]\n"
                       "                     [--no-inu] [-o FILE.ics]\n"),
        ScheduleOptionsUsage() + CalendarEventOptionsUsage()
            + QStringLiteral("  (ics は iCalendar (RFC 5545) のファイルを書き出します: 妊娠4週から43週までの週ごと\n"
                             "   の終日の予定 (週の見出しとお知らせ)、出産予定日、正期産 (37週から41週)、妊婦健診\n"
                             "   (その週の終日、「第1回 妊婦健診（妊娠8週）」)、妊娠5か月 (16週0日から19週6日)\n"
                             "   の戌の日 (「戌の日（帯祝い）」、最初の日に「最初の戌の日」)。同じ名前と出産予定日\n"
                             "   からは同じ UID になるので、読み込み直すと予定が更新されます)\n"),
        [](QCommandLineParser &parser) {
            AddScheduleOptions(parser);
            AddCalendarEventOptions(parser);
        },
        RunIcs,
    };
}

} // namespace ralvo::cli
