#include "calc/DueDate.h"

#include "platform/Platform.h"

#include <limits>

namespace ralvo {

namespace {

constexpr qint64 PregnancyDays = 266;  // ovulation day to due date
constexpr qint64 ImplantationDays = 7; // ovulation day to implantation day
constexpr qint64 StandardCycle = 28;

std::optional<qint32> FitInt32(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Parses, adds `direction` and writes back; none (after a beep) on failure.
std::optional<QString> StepNumber(const QString &text, int direction, platform::Sounds &sounds)
{
    const std::optional<qint32> value = ParseIntegerField(text);
    const std::optional<qint32> stepped = value ? FitInt32(qint64(*value) + direction) : std::nullopt;
    if (!stepped) {
        sounds.Beep();
        return std::nullopt;
    }
    return QString::number(*stepped);
}

} // namespace

std::optional<CalculationBasis> CalculationBasisFromInt(int value)
{
    switch (value) {
    case 0:
        return CalculationBasis::LastMenstrualPeriod;
    case 1:
        return CalculationBasis::BasalTemperatureOvulation;
    case 2:
        return CalculationBasis::UltrasoundDueDate;
    default:
        return std::nullopt;
    }
}

std::optional<CalculationBasis> AnyCalculationBasisFromInt(int value)
{
    switch (value) {
    case 3:
        return CalculationBasis::EmbryoTransferDay3;
    case 4:
        return CalculationBasis::EmbryoTransferDay5;
    default:
        return CalculationBasisFromInt(value);
    }
}

std::optional<qint32> ParseIntegerField(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    // Accumulate the magnitude; stop as soon as it leaves the 32-bit range.
    constexpr qint64 limit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > limit)
            return std::nullopt;
    }
    return FitInt32(negative ? -magnitude : magnitude);
}

std::optional<ParsedCalculationInput> ParseCalculationInput(const CalculationInput &input)
{
    const std::optional<qint32> year = ParseIntegerField(input.year);
    if (!year)
        return std::nullopt;
    const std::optional<qint32> month = ParseIntegerField(input.month);
    if (!month)
        return std::nullopt;
    const std::optional<qint32> day = ParseIntegerField(input.day);
    if (!day)
        return std::nullopt;
    const std::optional<qint32> cycle = ParseIntegerField(input.cycle);
    if (!cycle)
        return std::nullopt;
    return ParsedCalculationInput{CalendarDate{*year, *month, *day}, *cycle};
}

qint64 DueDateOffset(CalculationBasis basis, qint32 cycle) { return OvulationOffset(basis, cycle) + PregnancyDays; }

qint64 OvulationOffset(CalculationBasis basis, qint32 cycle)
{
    switch (basis) {
    case CalculationBasis::LastMenstrualPeriod:
        return qint64(cycle) - (StandardCycle - 14);
    case CalculationBasis::BasalTemperatureOvulation:
        return 0;
    case CalculationBasis::UltrasoundDueDate:
        return -PregnancyDays;
    case CalculationBasis::EmbryoTransferDay3:
        return -3;
    case CalculationBasis::EmbryoTransferDay5:
        return -5;
    }
    return 0;
}

std::optional<PregnancyDates> ComputePregnancyDates(CalculationBasis basis, const CalendarDate &base, qint32 cycle)
{
    PregnancyDates dates{base, base, base};
    if (!AddDays(dates.dueDate, DueDateOffset(basis, cycle)))
        return std::nullopt;
    if (!AddDays(dates.ovulationDate, OvulationOffset(basis, cycle)))
        return std::nullopt;
    dates.implantationDate = dates.ovulationDate;
    if (!AddDays(dates.implantationDate, ImplantationDays))
        return std::nullopt;
    return dates;
}

std::optional<PregnancyDates> ComputePregnancyDates(const CalculationInput &input, platform::Sounds &sounds)
{
    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    std::optional<PregnancyDates> dates;
    if (parsed)
        dates = ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle);
    if (!dates)
        sounds.Beep();
    return dates;
}

std::optional<QString> StepCycle(const QString &cycleText, int direction, platform::Sounds &sounds)
{
    return StepNumber(cycleText, direction, sounds);
}

std::optional<QString> StepYear(const QString &yearText, int direction, platform::Sounds &sounds)
{
    return StepNumber(yearText, direction, sounds);
}

std::optional<MonthStep> StepMonth(const QString &yearText, const QString &monthText, int direction,
                                   platform::Sounds &sounds)
{
    const std::optional<qint32> month = ParseIntegerField(monthText);
    if (!month) {
        sounds.Beep();
        return std::nullopt;
    }
    qint64 newMonth = qint64(*month) + direction;
    int yearChange = 0;
    if (newMonth > 12) {
        newMonth -= 12;
        yearChange = 1;
    } else if (newMonth < 1) {
        newMonth += 12;
        yearChange = -1;
    }
    MonthStep step{QString::number(newMonth), std::nullopt};
    if (yearChange != 0) {
        step.year = StepNumber(yearText, yearChange, sounds);
        if (!step.year)
            return std::nullopt;
    }
    return step;
}

std::optional<DayStep> StepDay(const QString &yearText, const QString &monthText, const QString &dayText, int direction,
                               platform::Sounds &sounds)
{
    const std::optional<qint32> year = ParseIntegerField(yearText);
    const std::optional<qint32> month = year ? ParseIntegerField(monthText) : std::nullopt;
    const std::optional<qint32> day = month ? ParseIntegerField(dayText) : std::nullopt;
    CalendarDate date;
    if (day) {
        date = CalendarDate{*year, *month, *day};
        if (AddDays(date, direction))
            return DayStep{QString::number(date.year), QString::number(date.month), QString::number(date.day)};
    }
    sounds.Beep();
    return std::nullopt;
}

} // namespace ralvo
