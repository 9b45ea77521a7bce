#include "app/cli/PregnancyCalendarOptions.h"

#include "calc/PregnancyCalendar.h"

namespace ralvo::cli {

void AddCheckupsOption(QCommandLineParser &parser)
{
    parser.addOption({CheckupsOption, QStringLiteral("妊婦健診の週"), QStringLiteral("LIST")});
}

QString CheckupsOptionUsage()
{
    return QStringLiteral("  --checkups LIST      医療機関の妊婦健診の予定: 妊娠週数 (4 から 43 まで) を小さい順に\n"
                          "                       重複なくコンマで区切ります (例 8,12,16,20,24,28,32,36,38)。\n"
                          "                       既定は標準の14回 8,12,16,20,24,26,28,30,32,34,36,37,38,39\n");
}

std::variant<std::vector<int>, QString> ReadCheckupWeeks(const QCommandLineParser &parser)
{
    const QStringList values = parser.values(CheckupsOption);
    if (values.isEmpty())
        return StandardCheckupWeeks();
    if (values.size() > 1)
        return QStringLiteral("--%1 が二度以上指定されています。").arg(CheckupsOption);
    std::optional<std::vector<int>> weeks = ParseCheckupWeeks(values.front());
    if (!weeks)
        return QStringLiteral("--%1 には %2 から %3 までの週数を小さい順に重複なくコンマで区切って指定して下さい: %4")
            .arg(CheckupsOption)
            .arg(FirstCheckupWeek)
            .arg(LastCheckupWeek)
            .arg(values.front());
    return std::move(*weeks);
}

void AddCalendarEventOptions(QCommandLineParser &parser)
{
    AddCheckupsOption(parser);
    parser.addOptions({
        {NoCheckupsOption, QStringLiteral("妊婦健診を書き出さない")},
        {NoInuOption, QStringLiteral("戌の日を書き出さない")},
    });
}

QString CalendarEventOptionsUsage()
{
    return CheckupsOptionUsage()
           + QStringLiteral("  --no-checkups        妊婦健診の予定を書き出しません\n"
                            "  --no-inu             戌の日 (帯祝い) の予定を書き出しません\n");
}

std::variant<PregnancyEventChoice, QString> ReadCalendarEventOptions(const QCommandLineParser &parser)
{
    if (parser.isSet(CheckupsOption) && parser.isSet(NoCheckupsOption))
        return QStringLiteral("--%1 と --%2 は同時に指定できません。").arg(CheckupsOption, NoCheckupsOption);
    auto weeks = ReadCheckupWeeks(parser);
    if (const QString *error = std::get_if<QString>(&weeks))
        return *error;
    PregnancyEventChoice choice;
    if (parser.isSet(NoCheckupsOption))
        choice.checkupWeeks.clear();
    else
        choice.checkupWeeks = std::move(std::get<std::vector<int>>(weeks));
    choice.inuNoHi = !parser.isSet(NoInuOption);
    return choice;
}

} // namespace ralvo::cli
