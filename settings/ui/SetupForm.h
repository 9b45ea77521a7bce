#pragma once

#include "kikanmei/KikanmeiBlock.h"
#include "settings/ScheduleSettings.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ralvo::platform {
class ColorGlyphButton;
class SharedColorChooser;
} // namespace ralvo::platform

namespace ralvo {

class TNoticeEditForm;

// "ｽｹｼﾞｭｰﾙ表の設定": edits a working copy of the schedule settings held in
// its controls. From it the notice editor and the institution block editor
// are opened; they change the notice table and the block at their own OK.
class TSetupForm : public QDialog
{
    Q_OBJECT

public:
    // Opens the institution block editor on `workingCopy`; true when it
    // ended with OK (the working copy then holds the edited block).
    using BlockEditor = std::function<bool(KikanmeiBlock &workingCopy)>;

    // The notice table and the block are the application's own records.
    TSetupForm(NoticeTable &notices, KikanmeiBlock &block, platform::SharedColorChooser &colorChooser,
               QWidget *parent = nullptr);

    // Links to the windows created after this one.
    void SetNoticeEditor(TNoticeEditForm *noticeEditor);
    void SetBlockEditor(BlockEditor blockEditor);

    // Puts `settings` into the controls, in the order of the stored values.
    void Fill(const ScheduleSettings &settings);
    // The settings the controls hold: texts as typed, fonts as typed.
    ScheduleSettings ControlValues() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildControls();
    void FormCreate();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void Button5Click();
    void Button9Click();
    void Button6Click();

    QList<QComboBox *> FontBoxes() const;

    // Notation ("表記法の設定").
    QLineEdit *Edit5 = nullptr;               // title, "??" standing for the mother's name (Tit)
    QRadioButton *RadioGroup1Item0 = nullptr; // due-date term "出産予定日" (Yoteiyogo 0)
    QRadioButton *RadioGroup1Item1 = nullptr; // due-date term "分娩予定日" (Yoteiyogo 1)
    QButtonGroup *RadioGroup1 = nullptr;      // the two terms; the checked id is Yoteiyogo
    QLineEdit *Edit1 = nullptr;               // month label: before the number (Tsuki1)
    QLineEdit *Edit2 = nullptr;               // month label: after the number (Tsuki2)
    QLineEdit *Edit3 = nullptr;               // week label: before the number (Shu1)
    QLineEdit *Edit4 = nullptr;               // week label: after the number (Shu2)
    // Printing ("印刷設定").
    QComboBox *ComboBox6 = nullptr; // paper size: B5, A4, the printer's (Yoshi)
    QComboBox *ComboBox7 = nullptr; // first month of the table, 2nd to 4th (Hani)
    QCheckBox *CheckBox1 = nullptr; // print the week-end dates (Shumatsucheck)
    QCheckBox *CheckBox6 = nullptr; // print the notices (Noticecheck)
    QPushButton *Button9 = nullptr; // "編集": opens the notice editor
    QCheckBox *CheckBox2 = nullptr; // print the institution block (Kikanmeicheck)
    QPushButton *Button6 = nullptr; // "編集": opens the institution block editor
    // Fonts and colours ("ﾌｫﾝﾄ設定").
    QComboBox *ComboBox1 = nullptr;                // title font (Titfont)
    QComboBox *ComboBox2 = nullptr;                // due-date line font (Yotfont)
    QComboBox *ComboBox3 = nullptr;                // month and week label font (MWfont)
    QComboBox *ComboBox4 = nullptr;                // date font (Dayfont)
    QComboBox *ComboBox5 = nullptr;                // notice font (Notfont)
    platform::ColorGlyphButton *BitBtn1 = nullptr; // title colour (Titcolor)
    platform::ColorGlyphButton *BitBtn2 = nullptr; // due-date line colour (Yotcolor)
    platform::ColorGlyphButton *BitBtn3 = nullptr; // month and week label colour (MWcolor)
    platform::ColorGlyphButton *BitBtn6 = nullptr; // date colour (Daycolor)
    platform::ColorGlyphButton *BitBtn4 = nullptr; // full-term dates' colour (Seikicolor)
    platform::ColorGlyphButton *BitBtn5 = nullptr; // due date's colour (Yoteibicolor)
    QCheckBox *CheckBox3 = nullptr;                // print in colour (Colorcheck)
    // The buttons at the bottom.
    QPushButton *Button2 = nullptr; // OK
    QPushButton *Button4 = nullptr; // Cancel
    QPushButton *Button5 = nullptr; // "標準に戻す": the first-run defaults into the controls

    NoticeTable &m_notices;
    KikanmeiBlock &m_block;
    platform::SharedColorChooser &m_colorChooser;
    TNoticeEditForm *m_noticeEditor = nullptr;
    BlockEditor m_blockEditor;
};

// The main window's settings command: fills the dialog from `settings`,
// shows it modally and, only when it ends with OK, copies the controls back.
// True when the settings were taken over.
bool EditSettings(TSetupForm &form, ScheduleSettings &settings);

} // namespace ralvo
