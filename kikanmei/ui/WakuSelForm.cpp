#include "kikanmei/ui/WakuSelForm.h"

#include "kikanmei/ui/FormControls.h"
#include "platform/qt/DialogHelpers.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace ralvo {

using kikanmei_ui::Placed;

TWakuSelForm::TWakuSelForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WakuSelForm"));
    setWindowTitle(QStringLiteral("挿入枠の選択"));
    platform::MakeFixedDialog(*this, 240, 190);
    platform::UseDialogFont(*this);
    platform::UseLightPalette(*this); // its coloured label needs the light window

    Label1 = Placed(platform::ColouredLabel(QStringLiteral("この枠に書き込みたいものを指定して下さい。"),
                                            MakeColour(0, 0, 255), this),
                    "Label1", QRect(24, 16, 192, 34));
    Label1->setWordWrap(true);
    QFont labelFont = font();
    labelFont.setPixelSize(17);
    Label1->setFont(labelFont);

    auto *group = Placed(new QFrame(this), "RadioGroup1", QRect(16, 64, 209, 41));
    group->setFrameShape(QFrame::StyledPanel);
    RadioGroup1Item0 =
        Placed(new QRadioButton(QStringLiteral("文字列"), group), "RadioGroup1Item0", QRect(8, 10, 92, 21));
    RadioGroup1Item1 =
        Placed(new QRadioButton(QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ"), group), "RadioGroup1Item1", QRect(108, 10, 96, 21));
    RadioGroup1 = new QButtonGroup(this);
    RadioGroup1->addButton(RadioGroup1Item0, Text);
    RadioGroup1->addButton(RadioGroup1Item1, Picture);
    RadioGroup1Item0->setChecked(true);

    Button1 = Placed(new QPushButton(QStringLiteral("OK"), this), "Button1", QRect(56, 136, 49, 25));
    Button1->setDefault(true);
    Button2 = Placed(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "Button2", QRect(136, 136, 49, 25));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

int TWakuSelForm::ItemIndex() const { return RadioGroup1->checkedId() == Picture ? Picture : Text; }

void TWakuSelForm::showEvent(QShowEvent *event)
{
    platform::CentreOnScreen(*this);
    QDialog::showEvent(event);
}

} // namespace ralvo
