#pragma once

#include <QString>

namespace ralvo {

// The main window's input fields as loading and saving the last input see
// them. Setting a text fires the field's change handling as if typed;
// setting the basis has the effect of the user choosing it.
class LastInputFields
{
public:
    virtual ~LastInputFields() = default;

    // 0, 1 or 2 from the window and the store; the command line may also
    // hold the embryo-transfer bases 3 and 4, which are never stored.
    virtual int Basis() const = 0;
    virtual void SetBasis(int basis) = 0; // only called with 0, 1 or 2
    virtual QString YearText() const = 0; // Edit2
    virtual void SetYearText(const QString &text) = 0;
    virtual QString MonthText() const = 0; // Edit3
    virtual void SetMonthText(const QString &text) = 0;
    virtual QString DayText() const = 0; // Edit4
    virtual void SetDayText(const QString &text) = 0;
    virtual QString MotherName() const = 0; // MomName
    virtual void SetMotherName(const QString &text) = 0;
    virtual QString CycleText() const = 0; // Cycle
    virtual void SetCycleText(const QString &text) = 0;
};

// A plain in-memory set of fields, for the command-line tool and tests.
class PlainInputFields final : public LastInputFields
{
public:
    int basis = 0;
    QString year, month, day, mother, cycle = QStringLiteral("28");

    int Basis() const override { return basis; }
    void SetBasis(int b) override { basis = b; }
    QString YearText() const override { return year; }
    void SetYearText(const QString &t) override { year = t; }
    QString MonthText() const override { return month; }
    void SetMonthText(const QString &t) override { month = t; }
    QString DayText() const override { return day; }
    void SetDayText(const QString &t) override { day = t; }
    QString MotherName() const override { return mother; }
    void SetMotherName(const QString &t) override { mother = t; }
    QString CycleText() const override { return cycle; }
    void SetCycleText(const QString &t) override { cycle = t; }
};

} // namespace ralvo
