#pragma once

#include "calc/UltrasoundDating.h"

#include <QGroupBox>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ralvo {

namespace platform {
struct Services;
}

// The pregnancy calendar's section "超音波で予定日を確かめる": a scan date
// (today unless changed), the kind of measurement (CRL, BPD or the weeks the
// scanner showed), its value and, for CRL, the formula. It shows the age at
// the scan, the due date that follows, and beside a menstrual due date the
// difference and the suggestion of the re-dating table, marked as advice
// (目安). "この予定日を使う" hands the scan's due date to `useDueDate`. Its
// inputs are never stored.
class TUltrasoundDatingBox final : public QGroupBox
{
    Q_OBJECT

public:
    using DueDateUser = std::function<void(const CalendarDate &dueDate)>;

    TUltrasoundDatingBox(const platform::Services &services, DueDateUser useDueDate, QWidget *parent = nullptr);

    // Starts over: the scan date today, no value, CRL by INTERGROWTH-21st;
    // `menstrualDueDate` is the due date compared with (none: no
    // comparison, the main window's basis is not the last period).
    void Reset(const std::optional<CalendarDate> &menstrualDueDate);

    // Another due date to compare with, the inputs kept.
    void SetMenstrualDueDate(const std::optional<CalendarDate> &menstrualDueDate);

private:
    void CreateControls();
    void Recompute();
    void ShowScan(const UltrasoundScan &scan);
    void ClearResults(const QString &message);
    void UseClick();

    const platform::Services &m_services;
    DueDateUser m_useDueDate;
    std::optional<CalendarDate> m_menstrualDueDate;
    std::optional<UltrasoundScan> m_scan; // the scan as last computed

    QLineEdit *ScanDate = nullptr;
    QComboBox *ScanKind = nullptr;
    QLineEdit *ScanValue = nullptr;
    QComboBox *ScanMethod = nullptr;
    QLineEdit *ScanAge = nullptr;
    QLineEdit *ScanYoteibi = nullptr;
    QLineEdit *ScanDifference = nullptr;
    QLineEdit *ScanAdvice = nullptr;
    QLabel *ScanMessage = nullptr;
    QPushButton *UseScanBtn = nullptr;
};

} // namespace ralvo
