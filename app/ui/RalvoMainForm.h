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
namespace platform { class SettingsStore; }

// The main window: the calculation input, the three results, today's
// gestational age and every command. Creating it loads the settings, the notices, the institution
// block and the last input (FormCreate); closing it stores them (FormClose)
// and, when that succeeded, emits Closed.
class TRalvoMainForm final : public QMainWindow, public LastInputFields
{
    Q_OBJECT

public:
    TRalvoMainForm(const platform::Services &services, AppRecords &records,
                   platform::SettingsStore &store, QWidget *parent = nullptr);
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

    // Shared operations.
    void Calculate();
    void ClearResults();
    void ShowHint(const QString &hint);
    void UpdateRadioTabStops();
    void NewInput();
    static void Run(const std::function<void()> &command);

    platform::Services m_services;
    AppRecords &m_records;
    platform::SettingsStore &m_store;
    MainCommands m_commands;
    bool m_centred = false;

    // Left panel: input and results.
    QFrame *Panel2 = nullptr;
    QLabel *Label4 = nullptr;
    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QRadioButton *RadioButton3 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Edit2 = nullptr;
    TUpDown *UpDown2 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *Edit3 = nullptr;
    TUpDown *UpDown3 = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *Edit4 = nullptr;
    TUpDown *UpDown4 = nullptr;
    QLabel *Label8 = nullptr;
    QPushButton *Button1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *MomName = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Cycle = nullptr;
    TUpDown *UpDown1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLineEdit *Yoteibi = nullptr;
    QLabel *Label11 = nullptr;
    QLabel *Label12 = nullptr;
    QLineEdit *Hairanbi = nullptr;
    QLabel *Label13 = nullptr;
    QLineEdit *Chakushobi = nullptr;
    QLabel *Label14 = nullptr;      // 本日
    QLineEdit *Honjitsu = nullptr;  // today's gestational age

    // Right panel: commands.
    QFrame *Panel1 = nullptr;
    QPushButton *SchdlBtn = nullptr;
    QFrame *Panel3 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *PrintBtn = nullptr;
    QFrame *Panel4 = nullptr;
    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;
    TImage *Image3 = nullptr;
    QPushButton *SignBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

    // Main menu and status bar.
    QMenu *N1 = nullptr;
    QAction *N11 = nullptr;
    QAction *N2 = nullptr;
    QAction *N3 = nullptr;
    QAction *PrintPreview1 = nullptr;
    QAction *N7 = nullptr;
    QAction *SavePdf1 = nullptr;        // PDFファイルに保存
    QAction *ExportCalendar1 = nullptr; // カレンダーに書き出す
    QAction *N8 = nullptr;
    QAction *S1 = nullptr;
    QAction *Exit1 = nullptr;
    QMenu *Help1 = nullptr;
    QAction *SearchforHelpOn1 = nullptr;
    QAction *N9 = nullptr;
    QAction *About1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
};

} // namespace ralvo
