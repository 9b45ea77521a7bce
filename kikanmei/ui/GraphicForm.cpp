#include "kikanmei/ui/GraphicForm.h"

#include "kikanmei/ui/FormControls.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/DialogHelpers.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ralvo {

using kikanmei_ui::Placed;
using platform::SetHint;

TGraphicForm::TGraphicForm(const platform::Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("GraphicForm"));
    setWindowTitle(QStringLiteral("ｸﾞﾗﾌｨｯｸ枠の設定"));
    platform::MakeFixedDialog(*this, 328, 187);
    platform::UseDialogFont(*this);

    Label1 = Placed(new QLabel(QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名"), this), "Label1", QRect(16, 16, 200, 14));
    Edit1 = Placed(new QLineEdit(this), "Edit1", QRect(16, 32, 249, 21));
    SetHint(Edit1, QStringLiteral("枠に書き込みたいグラフィックファイル名をフルパスで入力します"));
    platform::LabelField(Label1, Edit1);
    platform::NameControl(Edit1, QStringLiteral("グラフィックファイル名"));
    Button1 = Placed(new QPushButton(QStringLiteral("参照"), this), "Button1", QRect(272, 32, 43, 25));
    Button1->setAutoDefault(false);
    SetHint(Button1, QStringLiteral("グラフィックファイル名の参照ダイアログボックスを表示します"));
    CheckBox1 =
        Placed(new QCheckBox(QStringLiteral("縦横比を固定して表示"), this), "CheckBox1", QRect(120, 72, 145, 17));
    CheckBox1->setChecked(true);
    SetHint(CheckBox1, QStringLiteral("ここをチェックすると縦横比を元の比のままに固定して表示・印刷を行ないます"));
    Button2 = Placed(new QPushButton(QStringLiteral("OK"), this), "Button2", QRect(88, 128, 57, 25));
    Button2->setDefault(true);
    Button3 = Placed(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "Button3", QRect(176, 128, 57, 25));
    Button3->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TGraphicForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button3, &QPushButton::clicked, this, &QDialog::reject);
}

void TGraphicForm::SetValues(const GraphicValues &values)
{
    Edit1->setText(values.fileName);
    CheckBox1->setChecked(values.fixedAspect);
}

GraphicValues TGraphicForm::Values() const { return {Edit1->text(), CheckBox1->isChecked()}; }

platform::FileDialogs::Request TGraphicForm::PictureRequest() const
{
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名の参照");
    request.filter = QStringLiteral("すべてのﾌｧｲﾙ (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf"
                                    "|ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)|*.bmp"
                                    "|ｱｲｺﾝ (*.ico)|*.ico"
                                    "|ｴﾝﾊﾝｽ ﾒﾀﾌｧｲﾙ (*.emf)|*.emf"
                                    "|ﾒﾀﾌｧｲﾙ (*.wmf)|*.wmf");
    request.filterIndex = 1;
    request.initialDir = m_lastFolder;
    return request;
}

void TGraphicForm::showEvent(QShowEvent *event)
{
    platform::CentreOnScreen(*this);
    QDialog::showEvent(event);
}

// "参照": a chosen file's full path replaces the text; a cancel keeps it.
void TGraphicForm::Button1Click()
{
    const std::optional<QString> chosen = m_services.fileDialogs->GetPictureFileName(PictureRequest());
    if (!chosen)
        return;
    const QFileInfo file(*chosen);
    m_lastFolder = file.absolutePath();
    Edit1->setText(file.absoluteFilePath());
}

} // namespace ralvo
