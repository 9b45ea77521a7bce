#include "kikanmei/ui/MojiForm.h"

#include "kikanmei/ui/FormControls.h"
#include "platform/FontList.h"
#include "platform/SharedColorChooser.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/ColorGlyphButton.h"
#include "platform/qt/DialogHelpers.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace ralvo {

using kikanmei_ui::Placed;
using platform::SetHint;

TMojiForm::TMojiForm(const platform::Services &services, platform::SharedColorChooser &colorChooser, QWidget *parent)
    : QDialog(parent), m_services(services), m_colorChooser(colorChooser)
{
    setObjectName(QStringLiteral("MojiForm"));
    setWindowTitle(QStringLiteral("文字枠の編集"));
    platform::MakeFixedDialog(*this, 328, 279);
    platform::UseDialogFont(*this);
    // Its colour square shows the frame's text colour as it comes out on the
    // white page, so the window keeps the light colours it was designed on.
    platform::UseLightPalette(*this);

    Label1 = Placed(new QLabel(QStringLiteral("文字枠に書き込む文字列"), this), "Label1", QRect(16, 16, 200, 14));
    Edit1 = Placed(new QLineEdit(this), "Edit1", QRect(16, 32, 297, 21));
    SetHint(Edit1, QStringLiteral("文字枠に書き込む文字列を一行分書き込みます"));

    RadioGroup1Box = Placed(new QGroupBox(QStringLiteral("文字組み"), this), "RadioGroup1", QRect(16, 80, 177, 41));
    RadioGroup1Item0 =
        Placed(new QRadioButton(QStringLiteral("横組み"), RadioGroup1Box), "RadioGroup1Item0", QRect(8, 16, 80, 20));
    RadioGroup1Item1 =
        Placed(new QRadioButton(QStringLiteral("縦組み"), RadioGroup1Box), "RadioGroup1Item1", QRect(92, 16, 80, 20));
    RadioGroup1 = new QButtonGroup(this);
    RadioGroup1->addButton(RadioGroup1Item0, 0);
    RadioGroup1->addButton(RadioGroup1Item1, 1);
    RadioGroup1Item0->setChecked(true);

    SpeedButton1 = Placed(new QPushButton(QStringLiteral("ｸﾘｱ"), this), "SpeedButton1", QRect(280, 88, 33, 25));
    SpeedButton1->setAutoDefault(false);
    SetHint(SpeedButton1, QStringLiteral("文字列を消去します"));

    Label2 = Placed(new QLabel(QStringLiteral(" 文字枠に使用するフォント"), this), "Label2", QRect(56, 144, 160, 14));
    ComboBox1 = Placed(new QComboBox(this), "ComboBox1", QRect(56, 160, 153, 22));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    SetHint(ComboBox1, QStringLiteral("文字枠ごとにフォントを指定できます"));

    Label3 = Placed(new QLabel(QStringLiteral("文字色"), this), "Label3", QRect(240, 144, 60, 14));
    BitBtn1 = Placed(new platform::ColorGlyphButton(this), "BitBtn1", QRect(248, 160, 20, 20));
    platform::LabelField(Label1, Edit1);
    platform::LabelField(Label2, ComboBox1);
    platform::LabelField(Label3, BitBtn1);
    platform::NameControl(Edit1, QStringLiteral("文字枠に書き込む文字列"));
    platform::NameControl(ComboBox1, QStringLiteral("文字枠に使用するフォント"));
    platform::NameControl(BitBtn1, QStringLiteral("文字色"));
    BitBtn1->setAutoDefault(false);

    Button1 = Placed(new QPushButton(QStringLiteral("OK"), this), "Button1", QRect(96, 216, 59, 25));
    Button1->setDefault(true);
    Button2 = Placed(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "Button2", QRect(176, 216, 49, 25));
    Button2->setAutoDefault(false);

    connect(SpeedButton1, &QPushButton::clicked, this, &TMojiForm::SpeedButton1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TMojiForm::BitBtn1Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

// The typeface list, built once for the run: the fixed-pitch faces of the
// screen in the platform's order, without the "@" vertical variants.
void TMojiForm::FormCreate() { ComboBox1->addItems(platform::FixedPitchFaceNames()); }

void TMojiForm::SetValues(const MojiValues &values)
{
    Edit1->setText(values.text);
    ComboBox1->setEditText(values.fontName);
    (values.vertical ? RadioGroup1Item1 : RadioGroup1Item0)->setChecked(true);
    BitBtn1->SetGlyphColor(values.colour);
}

MojiValues TMojiForm::Values() const
{
    return {Edit1->text(), ComboBox1->currentText(), RadioGroup1->checkedId() == 1, BitBtn1->GlyphColor()};
}

void TMojiForm::showEvent(QShowEvent *event)
{
    platform::CentreOnScreen(*this);
    QDialog::showEvent(event);
    FormShow();
}

void TMojiForm::FormShow() { Edit1->setFocus(Qt::OtherFocusReason); }

// "ｸﾘｱ": empties the text after a question; the dialog stays open.
void TMojiForm::SpeedButton1Click()
{
    if (kikanmei_ui::ConfirmDeletion(m_services, QStringLiteral("文字列を削除しますか？")))
        Edit1->clear();
}

void TMojiForm::BitBtn1Click() { BitBtn1->ChooseGlyphColor(m_colorChooser); }

} // namespace ralvo
