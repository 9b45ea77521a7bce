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
    TSetupForm(NoticeTable &notices, KikanmeiBlock &block,
               platform::SharedColorChooser &colorChooser, QWidget *parent = nullptr);

    // Links to the windows created after this one.
    void SetNoticeEditor(TNoticeEditForm *noticeEditor);
    void SetBlockEditor(BlockEditor blockEditor);

    // Puts `settings` into the controls, in the order of the stored values.
    void Fill(const ScheduleSettings &settings);
    // The settings the controls hold: texts as typed, fonts as typed.
    ScheduleSettings ControlValues() const;

    // Controls, named as the window's parts.
    QLineEdit *Edit5 = nullptr;
    QRadioButton *RadioGroup1Item0 = nullptr;
    QRadioButton *RadioGroup1Item1 = nullptr;
    QButtonGroup *RadioGroup1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QComboBox *ComboBox6 = nullptr;
    QComboBox *ComboBox7 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox6 = nullptr;
    QPushButton *Button9 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QPushButton *Button6 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QComboBox *ComboBox2 = nullptr;
    QComboBox *ComboBox3 = nullptr;
    QComboBox *ComboBox4 = nullptr;
    QComboBox *ComboBox5 = nullptr;
    platform::ColorGlyphButton *BitBtn1 = nullptr;
    platform::ColorGlyphButton *BitBtn2 = nullptr;
    platform::ColorGlyphButton *BitBtn3 = nullptr;
    platform::ColorGlyphButton *BitBtn6 = nullptr;
    platform::ColorGlyphButton *BitBtn4 = nullptr;
    platform::ColorGlyphButton *BitBtn5 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;

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
