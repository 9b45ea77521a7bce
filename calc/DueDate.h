#pragma once

// The due-date calculation: reading the four input texts, computing the due
// date, the ovulation day and the implantation day from a base date, and the
// step rules of the input fields' spinners.
//
// Refusals: a text that is not a decimal 32-bit integer, a base month outside
// 1 to 12, or a computed date whose year does not fit 32 bits all count as a
// failure of the input: the caller sounds the default beep and computes
// nothing.

#include "calc/Calendar.h"

#include <QString>

#include <optional>

namespace ralvo::platform {
class Sounds;
}

namespace ralvo {

// What the base date means. The window offers the first three, whose
// numbers are the values stored as `Kijun`; the embryo-transfer bases are
// chosen on the command line only and never stored.
enum class CalculationBasis : int {
    LastMenstrualPeriod = 0,       // "最終月経開始日から"
    BasalTemperatureOvulation = 1, // "基礎体温推定排卵日から"
    UltrasoundDueDate = 2,         // "超音波測定予定日から"
    EmbryoTransferDay3 = 3,        // transfer day of a day-3 embryo (ovulation 3 days before)
    EmbryoTransferDay5 = 4,        // transfer day of a day-5 embryo (ovulation 5 days before)
};

// The basis stored as `value`, or none for a value other than 0, 1 or 2.
std::optional<CalculationBasis> CalculationBasisFromInt(int value);

// Any basis by its number, the embryo-transfer ones (3, 4) included; none for
// other values. For inputs that never reach the store.
std::optional<CalculationBasis> AnyCalculationBasisFromInt(int value);

// The basis and the four texts as the user typed them.
struct CalculationInput
{
    CalculationBasis basis = CalculationBasis::LastMenstrualPeriod;
    QString year;
    QString month;
    QString day;
    QString cycle = QStringLiteral("28"); // menstrual cycle in days

    friend bool operator==(const CalculationInput &, const CalculationInput &) = default;
};

// The four inputs as integers; `baseDate` is exactly as parsed (not normalized).
struct ParsedCalculationInput
{
    CalendarDate baseDate;
    qint32 cycle = 28;

    friend bool operator==(const ParsedCalculationInput &, const ParsedCalculationInput &) = default;
};

// The three computed dates, all normalized.
struct PregnancyDates
{
    CalendarDate dueDate;
    CalendarDate ovulationDate;
    CalendarDate implantationDate;

    friend bool operator==(const PregnancyDates &, const PregnancyDates &) = default;
};

// Parses one field's text: optional leading blanks (space or tab), an optional
// sign, then decimal digits only, within the signed 32-bit range. Anything
// else (empty text, other characters, trailing blanks) is a failure.
std::optional<qint32> ParseIntegerField(const QString &text);

// Parses year, month, day and cycle in that order; none on the first failure.
std::optional<ParsedCalculationInput> ParseCalculationInput(const CalculationInput &input);

// Days from the base date to the due date, and to the ovulation day, for a
// basis and cycle length (64-bit: a cycle of 2147483647 does not overflow).
qint64 DueDateOffset(CalculationBasis basis, qint32 cycle);
qint64 OvulationOffset(CalculationBasis basis, qint32 cycle);

// The three dates from a base date (its day may lie outside the month and is
// normalized on the way). None when the base month is outside 1 to 12 or a
// result's year does not fit 32 bits.
std::optional<PregnancyDates> ComputePregnancyDates(CalculationBasis basis, const CalendarDate &base, qint32 cycle);

// The calculation command: parses the input and computes the dates. On any
// failure (see above) sounds the default beep once and returns none.
std::optional<PregnancyDates> ComputePregnancyDates(const CalculationInput &input, platform::Sounds &sounds);

// Step operations of the spinners; `direction` is +1 or -1. Each parses its
// texts, and on failure (not an integer, or a result outside 32 bits) sounds
// the default beep and returns none: the caller changes no field. Texts
// written back are plain decimal numbers.

// The cycle plus `direction`.
std::optional<QString> StepCycle(const QString &cycleText, int direction, platform::Sounds &sounds);

// The year plus `direction`; month and day are not touched.
std::optional<QString> StepYear(const QString &yearText, int direction, platform::Sounds &sounds);

// Result of StepMonth: the new month text, and the new year text when the
// month carried over.
struct MonthStep
{
    QString month;
    std::optional<QString> year;
};

// The month plus `direction`; above 12 it loses 12 and the year is raised,
// below 1 it gains 12 and the year is lowered. The day is not adjusted.
std::optional<MonthStep> StepMonth(const QString &yearText, const QString &monthText, int direction,
                                   platform::Sounds &sounds);

// Result of StepDay: the three new texts.
struct DayStep
{
    QString year;
    QString month;
    QString day;
};

// The date moved by `direction` days with AddDays (carries into month and year).
// A month outside 1 to 12 is a failure.
std::optional<DayStep> StepDay(const QString &yearText, const QString &monthText, const QString &dayText, int direction,
                               platform::Sounds &sounds);

} // namespace ralvo
