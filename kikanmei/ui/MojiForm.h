#pragma once

#include "kikanmei/FrameDialogValues.h"
#include "platform/Platform.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ralvo::platform {
class ColorGlyphButton;
class SharedColorChooser;
} // namespace ralvo::platform

namespace ralvo {

// "文字枠の編集": the text of a text frame, its face, colour and orientation.
// The editor fills the controls before showing it and reads them after OK;
// the dialog checks nothing.
class TMojiForm : public QDialog
{
    Q_OBJECT

public:
    TMojiForm(const platform::Services &services, platform::SharedColorChooser &colorChooser,
              QWidget *parent = nullptr);

    void SetValues(const MojiValues &values);
    MojiValues Values() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void SpeedButton1Click();
    void BitBtn1Click();

    QLabel *Label1 = nullptr;                      // "文字枠に書き込む文字列"
    QLineEdit *Edit1 = nullptr;                    // the frame's text
    QGroupBox *RadioGroup1Box = nullptr;           // "文字組み", the box of the two below
    QButtonGroup *RadioGroup1 = nullptr;           // orientation: 0 horizontal, 1 vertical
    QRadioButton *RadioGroup1Item0 = nullptr;      // "横組み": horizontal (kind "L")
    QRadioButton *RadioGroup1Item1 = nullptr;      // "縦組み": vertical (kind "P")
    QPushButton *SpeedButton1 = nullptr;           // "ｸﾘｱ": empties the text after a question
    QLabel *Label2 = nullptr;                      // " 文字枠に使用するフォント"
    QComboBox *ComboBox1 = nullptr;                // typeface (fixed-pitch list, or typed)
    QLabel *Label3 = nullptr;                      // "文字色"
    platform::ColorGlyphButton *BitBtn1 = nullptr; // "■" in the text colour; chooses it
    QPushButton *Button1 = nullptr;                // OK
    QPushButton *Button2 = nullptr;                // Cancel

    platform::Services m_services;
    platform::SharedColorChooser &m_colorChooser;
};

} // namespace ralvo
