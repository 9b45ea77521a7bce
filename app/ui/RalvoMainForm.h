#pragma once

#include "app/ui/MainCommands.h"
#include "calc/DueDate.h"
#include "platform/Platform.h"
#include "settings/LastInputFields.h"

#include <QMainWindow>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace ralvo {

struct AppRecords;
class TImage;
class TUpDown;
namespace store {
class SettingsStore;
}

// The main window: the calculation input, the three results, today's
// gestational age and every command. Creating it loads the settings, the notices, the institution
// block and the last input (FormCreate); closing it stores them (FormClose)
// and, when that succeeded, emits Closed.
class TRalvoMainForm final : public QMainWindow, public LastInputFields
{
    Q_OBJECT

public:
    TRalvoMainForm(const platform::Services &services, AppRecords &records, store::SettingsStore &store,
                   QWidget *parent = nullptr);
    ~TRalvoMainForm() override;

    // What the command buttons and menu items call; see MainCommands.
    MainCommands &Commands() { return m_commands; }

    // The calculation input as the fields hold it now (read afresh by every
    // command that computes from it).
    CalculationInput Input() const;

    // LastInputFields: the fields as loading and saving see them.
    int Basis() const override;
    void SetBasis(int basis) override;
    QString YearText() const override;
    void SetYearText(const QString &text) override;
    QString MonthText() const override;
    void SetMonthText(const QString &text) override;
    QString DayText() const override;
    void SetDayText(const QString &text) override;
    QString MotherName() const override;
    void SetMotherName(const QString &text) override;
    QString CycleText() const override;
    void SetCycleText(const QString &text) override;

Q_SIGNALS:
    // The window was closed after the settings were stored.
    void Closed();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void CreateMenu();
    void SetTabOrder();
    void NameControls();
    void ConnectHandlers();

    void FormCreate();
    void FormDestroy();
    bool FormClose();

    // Event handlers.
    void Image1Click();
    void N11Click();
    void Image1MouseDown();
    void Image1MouseUp();
    void Edit2Change();
    void RadioButton1Click();
    void UpDown1Click(int direction);
    void UpDown2Click(int direction);
    void UpDown3Click(int direction);
    void UpDown4Click(int direction);
    void Button1Click();
    void SchdlBtnClick();
    void N2Click();
    void BitBtn1Click();
    void PrintPreview1Click();
    void PrintBtnClick();
    void N7Click();
    void SavePdf1Click();
    void ExportCalendar1Click();
    void SignBtnClick();
    void S1Click();
    void Exit1Click();
    void CloseBtnClick();
    void SearchforHelpOn1Click();
    void About1Click();
    void PregnancyCalendar1Click();
    void BatchPdf1Click();

    // Shared operations.
    void Calculate();
    void ClearResults();
    void ShowHint(const QString &hint);
    void UpdateRadioTabStops();
    void NewInput();
    static void Run(const std::function<void()> &command);

    platform::Services m_services;
    AppRecords &m_records;
    store::SettingsStore &m_store;
    MainCommands m_commands;
    bool m_centred = false;

    // Left panel: input and results.
    QFrame *Panel2 = nullptr;             // the input and the results
    QLabel *Label4 = nullptr;             // "計算法": the calculation basis
    QRadioButton *RadioButton1 = nullptr; // basis: first day of the last menstrual period
    QRadioButton *RadioButton2 = nullptr; // basis: ovulation day from the temperature chart
    QRadioButton *RadioButton3 = nullptr; // basis: due date measured by ultrasound
    QLabel *Label5 = nullptr;             // "↓"
    QLineEdit *Edit2 = nullptr;           // base date: year
    TUpDown *UpDown2 = nullptr;           // steps the year
    QLabel *Label6 = nullptr;             // "年"
    QLineEdit *Edit3 = nullptr;           // base date: month
    TUpDown *UpDown3 = nullptr;           // steps the month
    QLabel *Label7 = nullptr;             // "月"
    QLineEdit *Edit4 = nullptr;           // base date: day
    TUpDown *UpDown4 = nullptr;           // steps the day
    QLabel *Label8 = nullptr;             // "日"
    QPushButton *Button1 = nullptr;       // "新規": today's date, cycle 28, no name
    QLabel *Label1 = nullptr;             // "母親名"
    QLineEdit *MomName = nullptr;         // the mother's name
    QLabel *Label2 = nullptr;             // "月経周期"
    QLineEdit *Cycle = nullptr;           // menstrual cycle length in days
    TUpDown *UpDown1 = nullptr;           // steps the cycle, -28 to +50 net steps
    QLabel *Label3 = nullptr;             // "日周期"
    QLabel *Label9 = nullptr;             // "出産予定日"
    QLabel *Label10 = nullptr;            // "（らるぼ）"
    QLineEdit *Yoteibi = nullptr;         // result: the due date
    QLabel *Label11 = nullptr;            // "頃"
    QLabel *Label12 = nullptr;            // "推定排卵日"
    QLineEdit *Hairanbi = nullptr;        // result: the estimated ovulation day
    QLabel *Label13 = nullptr;            // "推定着床日"
    QLineEdit *Chakushobi = nullptr;      // result: the estimated implantation day
    QLabel *Label14 = nullptr;            // "本日"
    QLineEdit *Honjitsu = nullptr;        // today's gestational age

    // Right panel: commands.
    QFrame *Panel1 = nullptr;        // the command buttons
    QPushButton *SchdlBtn = nullptr; // "ﾃｷｽﾄ出力": text output
    QFrame *Panel3 = nullptr;        // separator
    QPushButton *BitBtn1 = nullptr;  // "印刷ﾌﾟﾚﾋﾞｭｰ": print preview
    QPushButton *PrintBtn = nullptr; // "ｽｹｼﾞｭｰﾙ印刷": print
    QFrame *Panel4 = nullptr;        // separator
    TImage *Image1 = nullptr;        // the calculate picture: computes the three results
    TImage *Image2 = nullptr;        // hidden: Image1's released look
    TImage *Image3 = nullptr;        // hidden: Image1's pressed look
    QPushButton *SignBtn = nullptr;  // "設定": the settings dialog
    QPushButton *CloseBtn = nullptr; // "終了": close (also Esc)

    // Main menu and status bar.
    QMenu *N1 = nullptr;                   // "計算(&C)"
    QAction *N11 = nullptr;                // calculate
    QAction *N2 = nullptr;                 // text output
    QAction *N3 = nullptr;                 // separator
    QAction *PrintPreview1 = nullptr;      // print preview
    QAction *N7 = nullptr;                 // print
    QAction *SavePdf1 = nullptr;           // "PDFファイルに保存": the page as a PDF file
    QAction *ExportCalendar1 = nullptr;    // "カレンダーに書き出す": the dates as a calendar file
    QAction *N8 = nullptr;                 // separator
    QAction *S1 = nullptr;                 // the settings dialog
    QAction *Exit1 = nullptr;              // close the window
    QAction *N12 = nullptr;                // separator
    QAction *PregnancyCalendar1 = nullptr; // "妊娠カレンダー(&K)": the pregnancy calendar window
    QAction *BatchPdf1 = nullptr;          // "CSVから一括でPDFを作成(&B)…": a day's patients as one PDF
    QMenu *Help1 = nullptr;                // "ﾍﾙﾌﾟ(&H)"
    QAction *SearchforHelpOn1 = nullptr;   // open the help
    QAction *N9 = nullptr;                 // separator
    QAction *About1 = nullptr;             // the About box
    QStatusBar *StatusBar1 = nullptr;      // the current hint
};

} // namespace ralvo
