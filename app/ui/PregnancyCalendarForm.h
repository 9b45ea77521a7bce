#pragma once

#include "print/CalendarPlan.h"
#include "print/SchedulePdf.h"

#include <QDateTime>
#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ralvo {

struct AppRecords;
class SchedulePrinter;
class TUltrasoundDatingBox;
namespace platform {
struct Services;
}

// The pregnancy calendar window: the dates of the main window's pregnancy
// read in the chosen way, the check-up plan with this week's visit marked,
// the 戌の日 of the fifth month, and the leave around a birth date when one
// is typed in; below them a scan's due date checked against the main
// window's, which may become the main window's input. Prints its page,
// saves it as PDF and writes the calendar file. Modal; filled afresh from
// the main window's fields every time it is opened, its own choices
// starting over.
class TPregnancyCalendarForm final : public QDialog
{
    Q_OBJECT

public:
    TPregnancyCalendarForm(const platform::Services &services, AppRecords &records, SchedulePrinter &printer,
                           FileWriter write, std::function<QDateTime()> now, QWidget *parent = nullptr);

    // Fills the window from the fields and shows it modally; a field that
    // holds no integer beeps and nothing opens (false). "この予定日を使う"
    // writes into `mainWindow` while the window is open.
    bool Open(LastInputFields &mainWindow);

private:
    void CreateControls();
    void ConnectHandlers();
    void Recompute();
    void ShowPlan(const CalendarPlan &plan);
    void ShowBirth(const CalendarPlan &plan);
    CalendarRequest Request() const;
    PlainInputFields Fields() const;

    void PrintClick();
    void PdfClick();
    void IcsClick();
    void UseScanDueDate(const CalendarDate &dueDate);

    const platform::Services &m_services;
    AppRecords &m_records;
    SchedulePrinter &m_printer;
    FileWriter m_write;
    std::function<QDateTime()> m_now;
    PlainInputFields m_mainWindow;                 // the main window's fields as last opened
    LastInputFields *m_mainWindowFields = nullptr; // the main window itself while open

    QLineEdit *MomName = nullptr;
    QComboBox *BasisChoice = nullptr;
    QLineEdit *Yoteibi = nullptr;
    QLineEdit *Wareki = nullptr;
    QLineEdit *Hairanbi = nullptr;
    QLineEdit *Chakushobi = nullptr;
    QLineEdit *Honjitsu = nullptr;
    QLineEdit *MonthTrimester = nullptr;
    QLineEdit *FullTerm = nullptr;
    QLineEdit *LeaveStart = nullptr;
    QCheckBox *Multiple = nullptr;
    QTableWidget *Checkups = nullptr;
    QLineEdit *InuNoHi = nullptr;
    QLineEdit *Birth = nullptr;
    QLabel *BirthMessage = nullptr;
    QLineEdit *Postnatal = nullptr;
    QLineEdit *Childcare = nullptr;
    QLineEdit *Allowance = nullptr;
    TUltrasoundDatingBox *Ultrasound = nullptr;
    QPushButton *PrintBtn = nullptr;
    QPushButton *PdfBtn = nullptr;
    QPushButton *IcsBtn = nullptr;
    QPushButton *CloseBtn = nullptr;
};

} // namespace ralvo
