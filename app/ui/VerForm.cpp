#include "app/ui/VerForm.h"

#include "app/ui/ImageControl.h"
#include "app/ui/Pictures.h"
#include "platform/qt/DialogHelpers.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace ralvo {

namespace {

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int pixels, bool bold, const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = parent->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->adjustSize();
    return label;
}

} // namespace

TVerForm::TVerForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("VerForm"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    platform::UseDialogFont(*this);
    platform::UseLightPalette(*this); // its coloured labels need the light window
    setFixedSize(248, 335);

    Image1 = new TImage(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(32, 24, 184, 160);
    Image1->setAccessibleName(QStringLiteral("らるぼProの絵"));

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Version 2.0"), 19, true, QColor(0, 0, 128));
    Label1->move(72, 192);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("for Windows 95/98/Me/NT/2000"), 13, false, Qt::black);
    Label3->move(32, 256);
    // A line of our own: what this build runs on.
    Label4 = MakeLabel(this, "Label4", QStringLiteral("Linux 版 (Qt %1)").arg(QString::fromLatin1(qVersion())), 12,
                       false, QColor(64, 64, 64));
    Label4->move(32, 228);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(96, 288, 49, 25);
    Button1->setDefault(true);
    Button1->setCursor(Qt::PointingHandCursor);
    connect(Button1, &QPushButton::clicked, this, &TVerForm::Button1Click);
}

void TVerForm::Button1Click() { accept(); }

void TVerForm::showEvent(QShowEvent *event)
{
    // The picture is rendered when the box is first shown, before it is
    // painted: the box is created at start-up but rarely opened.
    if (Image1->Picture().isNull())
        Image1->SetPicture(AboutPicture());
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace ralvo
