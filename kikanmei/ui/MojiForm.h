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

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QGroupBox *RadioGroup1Box = nullptr;
    QButtonGroup *RadioGroup1 = nullptr;
    QRadioButton *RadioGroup1Item0 = nullptr;
    QRadioButton *RadioGroup1Item1 = nullptr;
    QPushButton *SpeedButton1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label3 = nullptr;
    platform::ColorGlyphButton *BitBtn1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void SpeedButton1Click();
    void BitBtn1Click();

    platform::Services m_services;
    platform::SharedColorChooser &m_colorChooser;
};

} // namespace ralvo
