#include "app/ui/RalvoMainForm.h"

#include "app/ui/ImageControl.h"
#include "app/ui/Pictures.h"
#include "app/ui/UpDown.h"
#include "calc/Calendar.h"
#include "calc/Gestation.h"
#include "platform/Fonts.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/DialogHelpers.h"
#include "platform/qt/DirectInputEdit.h"
#include "records/AppRecords.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>

namespace ralvo {

namespace {

// The window's font and the labels' fixed-pitch face. Pixel sizes: the
// window's controls are laid out in pixels.
QFont WindowFont(int pixels = 12, bool bold = false)
{
    QFont font = platform::DialogFont();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont GothicFont(int pixels = 12, bool bold = false)
{
    QFont font(platform::WindowFace(QStringLiteral("ＭＳ ゴシック")));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The colour, made readable on what is behind the widget's text.
void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    const QColor readable = platform::ReadableTextColour(colour, palette.color(widget->backgroundRole()));
    palette.setColor(QPalette::WindowText, readable);
    palette.setColor(QPalette::Text, readable);
    palette.setColor(QPalette::ButtonText, readable);
    widget->setPalette(palette);
}

void SetBaseColour(QLineEdit *edit, const QColor &colour)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

using platform::Named;

// A label that sizes itself to its text, placed by its top-left corner.
QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, int left, int top, const QFont &font)
{
    auto *label = Named(new QLabel(text, parent), name);
    label->setFont(font);
    label->setMargin(0);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QLineEdit *MakeEdit(QWidget *parent, const char *name, const QRect &geometry, bool numeric)
{
    // Numeric fields have the input method off: digits are typed directly.
    auto *edit = Named(numeric ? new platform::DirectInputEdit(parent) : new QLineEdit(parent), name);
    edit->setGeometry(geometry);
    return edit;
}

QLineEdit *MakeResult(QWidget *parent, const char *name, const QRect &geometry, const QColor &base)
{
    auto *edit = Named(new QLineEdit(parent), name);
    edit->setGeometry(geometry);
    edit->setReadOnly(true);
    SetBaseColour(edit, base);
    return edit;
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
                        const QString &hint)
{
    auto *button = Named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    button->setStatusTip(hint);
    button->setCursor(Qt::PointingHandCursor);
    button->setAutoDefault(false);
    return button;
}

QRadioButton *MakeRadio(QWidget *parent, const char *name, const QString &caption, const QRect &geometry,
                        const QString &hint, const QFont &font)
{
    auto *radio = Named(new QRadioButton(caption, parent), name);
    radio->setGeometry(geometry);
    radio->setStatusTip(hint);
    radio->setFont(font);
    radio->setCursor(Qt::PointingHandCursor);
    return radio;
}

QFrame *MakePanel(QWidget *parent, const char *name, const QRect &geometry, QFrame::Shadow shadow)
{
    auto *panel = Named(new QFrame(parent), name);
    panel->setFrameStyle(QFrame::Panel | shadow);
    panel->setLineWidth(1);
    panel->setGeometry(geometry);
    return panel;
}

// A 2-pixel etched line across the command panel.
QFrame *MakeSeparator(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *line = Named(new QFrame(parent), name);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setLineWidth(1);
    line->setGeometry(geometry);
    return line;
}

TUpDown *MakeUpDown(QWidget *parent, const char *name, int minimum, int maximum, const QRect &geometry)
{
    auto *upDown = Named(new TUpDown(minimum, maximum, parent), name);
    upDown->setGeometry(geometry);
    return upDown;
}

QAction *MakeItem(QMenu *menu, const char *name, const QString &caption, const QString &hint)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setStatusTip(hint);
    return action;
}

QAction *MakeSeparatorItem(QMenu *menu, const char *name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(QLatin1String(name));
    return action;
}

// Two-digit month and day of New and of the first start.
QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

} // namespace

TRalvoMainForm::TRalvoMainForm(const platform::Services &services, AppRecords &records, store::SettingsStore &store,
                               QWidget *parent)
    : QMainWindow(parent), m_services(services), m_records(records), m_store(store)
{
    platform::InstallFontSubstitutions();
    setObjectName(QStringLiteral("RalvoMainForm"));
    setWindowTitle(platform::ApplicationTitle());
    setWindowIcon(ApplicationIcon());
    setFont(WindowFont());
    // Its labels and fields have colours of their own: first the light
    // window they were chosen for, whatever the desktop's theme.
    platform::UseLightPalette(*this);
    CreateControls();
    CreateMenu();
    platform::UseWindowFontInMenus(*this);
    SetTabOrder();
    NameControls();
    ConnectHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    FormCreate();
}

TRalvoMainForm::~TRalvoMainForm() { FormDestroy(); }

void TRalvoMainForm::CreateControls()
{
    auto *client = Named(new QWidget(this), "ClientArea");
    // 32 pixels taller than the input and command panels alone need: room
    // for the 本日 line at the foot of the input panel. Every other control
    // keeps its place.
    client->setFixedSize(420, 380);
    setCentralWidget(client);

    const QString dateHint = QStringLiteral("ここに計算の基準となる日付を入力してください");
    const QString nameHint = QStringLiteral("ここに母親名を入力すると、ｽｹｼﾞｭｰﾙ表に印刷されます");
    const QString cycleHint =
        QStringLiteral("最終月経初日から算出する場合、より正確に計算するために月経周期を入力してください");
    const QColor darkGreen(0, 64, 0);

    // Left panel: input and results.
    Panel2 = MakePanel(client, "Panel2", QRect(8, 8, 265, 361), QFrame::Raised);
    QWidget *p = Panel2;

    Label4 = MakeLabel(p, "Label4", QStringLiteral("計算法"), 8, 16, GothicFont());
    Label4->setStatusTip(QStringLiteral("計算方法のもとになる日を選択してください"));
    SetTextColour(Label4, QColor(0, 0, 160));

    RadioButton1 = MakeRadio(p, "RadioButton1", QStringLiteral("最終月経開始日から"), QRect(24, 32, 129, 17),
                             QStringLiteral("最終月経の初日から計算する場合、ここを選択"), GothicFont());
    RadioButton2 =
        MakeRadio(p, "RadioButton2", QStringLiteral("基礎体温推定排卵日から"), QRect(24, 48, 153, 17),
                  QStringLiteral("基礎体温表から推定できる排卵日から計算する場合、ここを選択"), GothicFont());
    RadioButton3 =
        MakeRadio(p, "RadioButton3", QStringLiteral("超音波測定予定日から"), QRect(24, 64, 153, 17),
                  QStringLiteral("超音波測定装置から求めた出産予定日に基づき、ｽｹｼﾞｭｰﾙ表を作成したいときに、ここを選択"),
                  WindowFont());
    SetTextColour(RadioButton3, QColor(0, 0, 128));
    RadioButton1->setChecked(true);

    Label5 = MakeLabel(p, "Label5", QStringLiteral("↓"), 80, 80, GothicFont(16, true));

    Edit2 = MakeEdit(p, "Edit2", QRect(8, 96, 33, 20), true);
    Edit2->setStatusTip(dateHint);
    // A four-digit year is wider than what the frame and the style's inner
    // padding leave of 33 pixels: the text starts under the padding
    // instead, so the whole year shows and the field stays where it is.
    Edit2->setTextMargins(-2, 0, -2, 0);
    UpDown2 = MakeUpDown(p, "UpDown2", -32768, 32767, QRect(40, 96, 16, 24));
    Label6 = MakeLabel(p, "Label6", QStringLiteral("年"), 56, 104, GothicFont());
    Edit3 = MakeEdit(p, "Edit3", QRect(72, 96, 25, 20), true);
    Edit3->setStatusTip(dateHint);
    UpDown3 = MakeUpDown(p, "UpDown3", -32768, 32767, QRect(96, 96, 16, 24));
    Label7 = MakeLabel(p, "Label7", QStringLiteral("月"), 112, 104, GothicFont());
    Edit4 = MakeEdit(p, "Edit4", QRect(128, 96, 25, 20), true);
    Edit4->setStatusTip(dateHint);
    UpDown4 = MakeUpDown(p, "UpDown4", -32768, 32767, QRect(152, 96, 16, 24));
    Label8 = MakeLabel(p, "Label8", QStringLiteral("日"), 168, 104, GothicFont());
    Button1 = MakeButton(p, "Button1", QStringLiteral("新規"), QRect(208, 96, 41, 20),
                         QStringLiteral("新たに入力するときに、入力を初期状態に戻します。"));

    Label1 = MakeLabel(p, "Label1", QStringLiteral("母親名"), 8, 136, GothicFont());
    Label1->setStatusTip(nameHint);
    SetTextColour(Label1, darkGreen);
    MomName = MakeEdit(p, "MomName", QRect(8, 152, 145, 20), false);
    MomName->setStatusTip(nameHint);
    Label2 = MakeLabel(p, "Label2", QStringLiteral("月経周期"), 176, 136, GothicFont());
    Label2->setStatusTip(cycleHint);
    SetTextColour(Label2, darkGreen);
    Cycle = MakeEdit(p, "Cycle", QRect(176, 152, 25, 20), true);
    Cycle->setStatusTip(cycleHint);
    UpDown1 = MakeUpDown(p, "UpDown1", -28, 50, QRect(200, 152, 16, 24));
    Label3 = MakeLabel(p, "Label3", QStringLiteral("日周期"), 216, 160, GothicFont());

    Label9 = MakeLabel(p, "Label9", QStringLiteral("出産予定日"), 8, 192, GothicFont(15, true));
    Label9->setStatusTip(QStringLiteral("出産予定日のこと"));
    SetTextColour(Label9, Qt::red);
    Label10 = MakeLabel(p, "Label10", QStringLiteral("（らるぼ）"), 96, 194, GothicFont());
    SetTextColour(Label10, Qt::red);
    Yoteibi = MakeResult(p, "Yoteibi", QRect(8, 208, 225, 24), QColor(255, 128, 192));
    Yoteibi->setStatusTip(QStringLiteral("出産予定日の計算結果を表示します"));
    Yoteibi->setFont(WindowFont(16, true));
    SetTextColour(Yoteibi, QColor(0, 0, 255));
    Label11 = MakeLabel(p, "Label11", QStringLiteral("頃"), 240, 216, GothicFont(16, true));
    Label12 = MakeLabel(p, "Label12", QStringLiteral("推定排卵日"), 8, 256, WindowFont());
    Hairanbi = MakeResult(p, "Hairanbi", QRect(72, 248, 161, 20), QColor(255, 255, 128));
    Label13 = MakeLabel(p, "Label13", QStringLiteral("推定着床日"), 8, 288, WindowFont());
    Chakushobi = MakeResult(p, "Chakushobi", QRect(72, 280, 161, 20), QColor(255, 255, 128));
    // Today's gestational age: wider than the dates, it starts after its
    // short label. Not a tab stop, so the tab order stays as it is.
    Label14 = MakeLabel(p, "Label14", QStringLiteral("本日"), 8, 320, WindowFont());
    Honjitsu = MakeResult(p, "Honjitsu", QRect(40, 312, 217, 20), QColor(204, 236, 255));
    Honjitsu->setStatusTip(QStringLiteral("本日の妊娠週数と出産予定日までの日数を表示します"));
    Honjitsu->setFocusPolicy(Qt::ClickFocus);

    // Right panel: commands.
    Panel1 = MakePanel(client, "Panel1", QRect(280, 8, 129, 361), QFrame::Sunken);
    QWidget *c = Panel1;
    SchdlBtn = MakeButton(c, "SchdlBtn", QStringLiteral("ﾃｷｽﾄ出力"), QRect(16, 16, 97, 25),
                          QStringLiteral("ｽｹｼﾞｭｰﾙ表をﾃｷｽﾄﾌｧｲﾙに出力します"));
    Panel3 = MakeSeparator(c, "Panel3", QRect(1, 48, 128, 2));
    BitBtn1 = MakeButton(c, "BitBtn1", QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"), QRect(16, 64, 97, 25),
                         QStringLiteral("ｽｹｼﾞｭｰﾙ表の印刷ﾌﾟﾚﾋﾞｭｰ画面を表示します"));
    PrintBtn = MakeButton(c, "PrintBtn", QStringLiteral("ｽｹｼﾞｭｰﾙ印刷"), QRect(16, 96, 97, 25),
                          QStringLiteral("ｽｹｼﾞｭｰﾙ表を印刷します"));
    Panel4 = MakeSeparator(c, "Panel4", QRect(1, 136, 128, 2));

    // Image2 and Image3 only keep the released and the pressed look.
    Image2 = Named(new TImage(c), "Image2");
    Image2->SetPicture(CalculatePicture());
    Image2->hide();
    Image3 = Named(new TImage(c), "Image3");
    Image3->SetPicture(CalculatePressedPicture());
    Image3->hide();
    Image1 = Named(new TImage(c), "Image1");
    Image1->setGeometry(30, 168, 67, 58);
    Image1->SetPicture(Image2->Picture());
    Image1->setStatusTip(QStringLiteral("出産予定日を計算します"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->SetCommand(true);

    SignBtn = MakeButton(c, "SignBtn", QStringLiteral("設定"), QRect(40, 240, 49, 25),
                         QStringLiteral("ｽｹｼﾞｭｰﾙ表の設定ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示します"));
    CloseBtn =
        MakeButton(c, "CloseBtn", QStringLiteral("終了"), QRect(40, 280, 49, 25), QStringLiteral("らるぼを終了します"));
    // CloseBtn is the window's cancel button: Esc presses it.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("EscapeShortcut"));
    connect(escape, &QShortcut::activated, CloseBtn, &QPushButton::click);

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
}

void TRalvoMainForm::CreateMenu()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    N1 = Named(bar->addMenu(QStringLiteral("計算(&C)")), "N1");
    N1->menuAction()->setObjectName(QStringLiteral("N1"));
    N1->menuAction()->setStatusTip(QStringLiteral("出産予定日の計算やｽｹｼﾞｭｰﾙを出力します"));
    N11 = MakeItem(N1, "N11", QStringLiteral("出産予定日の計算(&C)"), QStringLiteral("出産予定日を計算します"));
    N2 =
        MakeItem(N1, "N2", QStringLiteral("計算日付のﾃｷｽﾄ出力(&T)"), QStringLiteral("ｽｹｼﾞｭｰﾙ表をﾃｷｽﾄﾌｧｲﾙに出力します"));
    N3 = MakeSeparatorItem(N1, "N3");
    PrintPreview1 = MakeItem(N1, "PrintPreview1", QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)"),
                             QStringLiteral("ｽｹｼﾞｭｰﾙ表の印刷ﾌﾟﾚﾋﾞｭｰ画面を表示します"));
    N7 = MakeItem(N1, "N7", QStringLiteral("ｽｹｼﾞｭｰﾙ表の印刷(&P)"), QStringLiteral("ｽｹｼﾞｭｰﾙ表を印刷します"));
    SavePdf1 = MakeItem(N1, "SavePdf1", QStringLiteral("PDFファイルに保存(&F)"),
                        QStringLiteral("ｽｹｼﾞｭｰﾙ表をPDFﾌｧｲﾙに保存します"));
    ExportCalendar1 = MakeItem(N1, "ExportCalendar1", QStringLiteral("カレンダーに書き出す(&I)"),
                               QStringLiteral("ｽｹｼﾞｭｰﾙ表をｶﾚﾝﾀﾞｰ(iCalendar)ﾌｧｲﾙに書き出します"));
    N8 = MakeSeparatorItem(N1, "N8");
    S1 = MakeItem(N1, "S1", QStringLiteral("設定(&S)"), QStringLiteral("ｽｹｼﾞｭｰﾙ表の設定ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示します"));
    Exit1 = MakeItem(N1, "Exit1", QStringLiteral("らるぼの終了(&X)"), QStringLiteral("らるぼを終了します"));
    // The clinic's tools, after the items above.
    N12 = MakeSeparatorItem(N1, "N12");
    PregnancyCalendar1 = MakeItem(N1, "PregnancyCalendar1", QStringLiteral("妊娠カレンダー(&K)"),
                                  QStringLiteral("妊婦健診の目安、戌の日、産休・育休の日付を表示し、印刷します"));
    BatchPdf1 = MakeItem(N1, "BatchPdf1", QStringLiteral("CSVから一括でPDFを作成(&B)…"),
                         QStringLiteral("CSVﾌｧｲﾙの患者ごとにｽｹｼﾞｭｰﾙ表を作成し、1つのPDFﾌｧｲﾙに保存します"));

    Help1 = Named(bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)")), "Help1");
    Help1->menuAction()->setObjectName(QStringLiteral("Help1"));
    Help1->menuAction()->setStatusTip(QStringLiteral("使い方がわからないときのﾍﾙﾌﾟやﾊﾞｰｼﾞｮﾝ情報を表示します"));
    SearchforHelpOn1 = MakeItem(Help1, "SearchforHelpOn1", QStringLiteral("ﾄﾋﾟｯｸの検索(&S)"),
                                QStringLiteral("使い方がわからないときのﾍﾙﾌﾟを表示します"));
    N9 = MakeSeparatorItem(Help1, "N9");
    About1 = MakeItem(Help1, "About1", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"),
                      QStringLiteral("らるぼのﾊﾞｰｼﾞｮﾝ情報などを表示します"));
}

void TRalvoMainForm::NameControls()
{
    // The labels beside the fields name them; where a label alone says too
    // little ("年"), the field has a fuller name of its own.
    const std::pair<QLabel *, QLineEdit *> labelled[] = {
        {Label6, Edit2},   {Label7, Edit3},     {Label8, Edit4},       {Label1, MomName},  {Label2, Cycle},
        {Label9, Yoteibi}, {Label12, Hairanbi}, {Label13, Chakushobi}, {Label14, Honjitsu}};
    for (const auto &[label, field] : labelled)
        platform::LabelField(label, field);
    const std::pair<QWidget *, QString> names[] = {
        {Edit2, QStringLiteral("基準日の年")},        {Edit3, QStringLiteral("基準日の月")},
        {Edit4, QStringLiteral("基準日の日")},        {MomName, QStringLiteral("母親名")},
        {Cycle, QStringLiteral("月経周期")},          {Yoteibi, QStringLiteral("出産予定日")},
        {Hairanbi, QStringLiteral("推定排卵日")},     {Chakushobi, QStringLiteral("推定着床日")},
        {Honjitsu, QStringLiteral("本日の妊娠週数")}, {Image1, QStringLiteral("出産予定日を計算")}};
    for (const auto &[control, name] : names)
        platform::NameControl(control, name);
    UpDown2->SetAccessibleNames(QStringLiteral("基準日の年"));
    UpDown3->SetAccessibleNames(QStringLiteral("基準日の月"));
    UpDown4->SetAccessibleNames(QStringLiteral("基準日の日"));
    UpDown1->SetAccessibleNames(QStringLiteral("月経周期"));
    // Every hint is also the control's description.
    platform::DescribeByHints(*this);
}

void TRalvoMainForm::SetTabOrder()
{
    // The command panel first, then the input panel. Of the radio buttons
    // only the checked one is a tab stop (UpdateRadioTabStops).
    const QWidget *order[] = {SchdlBtn, SignBtn,      CloseBtn,     PrintBtn, BitBtn1,     MomName,
                              Cycle,    RadioButton1, RadioButton2, Edit2,    Edit3,       Edit4,
                              Yoteibi,  Hairanbi,     Chakushobi,   Button1,  RadioButton3};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget *>(order[i]), const_cast<QWidget *>(order[i + 1]));
    UpdateRadioTabStops();
}

void TRalvoMainForm::ConnectHandlers()
{
    connect(Image1, &TImage::Click, this, &TRalvoMainForm::Image1Click);
    connect(Image1, &TImage::MouseDown, this, &TRalvoMainForm::Image1MouseDown);
    connect(Image1, &TImage::MouseUp, this, &TRalvoMainForm::Image1MouseUp);
    connect(N11, &QAction::triggered, this, &TRalvoMainForm::N11Click);

    for (QLineEdit *field : {Edit2, Edit3, Edit4, Cycle})
        connect(field, &QLineEdit::textChanged, this, &TRalvoMainForm::Edit2Change);
    for (QRadioButton *radio : {RadioButton1, RadioButton2, RadioButton3}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked)
                RadioButton1Click();
        });
    }

    connect(UpDown1, &TUpDown::Click, this, &TRalvoMainForm::UpDown1Click);
    connect(UpDown2, &TUpDown::Click, this, &TRalvoMainForm::UpDown2Click);
    connect(UpDown3, &TUpDown::Click, this, &TRalvoMainForm::UpDown3Click);
    connect(UpDown4, &TUpDown::Click, this, &TRalvoMainForm::UpDown4Click);
    connect(Button1, &QPushButton::clicked, this, &TRalvoMainForm::Button1Click);

    connect(SchdlBtn, &QPushButton::clicked, this, &TRalvoMainForm::SchdlBtnClick);
    connect(N2, &QAction::triggered, this, &TRalvoMainForm::N2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TRalvoMainForm::BitBtn1Click);
    connect(PrintPreview1, &QAction::triggered, this, &TRalvoMainForm::PrintPreview1Click);
    connect(PrintBtn, &QPushButton::clicked, this, &TRalvoMainForm::PrintBtnClick);
    connect(N7, &QAction::triggered, this, &TRalvoMainForm::N7Click);
    connect(SavePdf1, &QAction::triggered, this, &TRalvoMainForm::SavePdf1Click);
    connect(ExportCalendar1, &QAction::triggered, this, &TRalvoMainForm::ExportCalendar1Click);
    // The calendar export shows only where the application provides it.
    connect(N1, &QMenu::aboutToShow, this, [this] { ExportCalendar1->setVisible(bool(m_commands.exportCalendar)); });
    connect(SignBtn, &QPushButton::clicked, this, &TRalvoMainForm::SignBtnClick);
    connect(S1, &QAction::triggered, this, &TRalvoMainForm::S1Click);
    connect(Exit1, &QAction::triggered, this, &TRalvoMainForm::Exit1Click);
    connect(CloseBtn, &QPushButton::clicked, this, &TRalvoMainForm::CloseBtnClick);
    connect(SearchforHelpOn1, &QAction::triggered, this, &TRalvoMainForm::SearchforHelpOn1Click);
    connect(About1, &QAction::triggered, this, &TRalvoMainForm::About1Click);
    connect(PregnancyCalendar1, &QAction::triggered, this, &TRalvoMainForm::PregnancyCalendar1Click);
    connect(BatchPdf1, &QAction::triggered, this, &TRalvoMainForm::BatchPdf1Click);

    // Qt shows the hints of menu items, not those of the menu titles: a
    // highlighted or opened title shows its own here.
    connect(menuBar(), &QMenuBar::hovered, this, [this](QAction *action) { ShowHint(action->statusTip()); });
    for (QMenu *menu : {N1, Help1}) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { ShowHint(menu->menuAction()->statusTip()); });
        connect(menu, &QMenu::aboutToHide, this, [this] { ShowHint(QString()); });
    }
}

bool TRalvoMainForm::event(QEvent *event)
{
    // The hint of the control under the pointer or of the highlighted menu
    // item; while a menu is open with no item highlighted, its title's.
    if (event->type() == QEvent::StatusTip) {
        QString hint = static_cast<QStatusTipEvent *>(event)->tip();
        if (hint.isEmpty()) {
            for (QMenu *menu : {N1, Help1}) {
                if (menu->isVisible() && !menu->activeAction())
                    hint = menu->menuAction()->statusTip();
            }
        }
        ShowHint(hint);
        return true;
    }
    return QMainWindow::event(event);
}

void TRalvoMainForm::ShowHint(const QString &hint)
{
    if (hint.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(hint);
}

// ------------------------------------------------------------- lifecycle

void TRalvoMainForm::FormCreate()
{
    // The hint display is the status bar: every control and menu item
    // carries its hint as status tip, which Qt reports to this window while
    // the pointer is over it or the item is highlighted.
    LoadSettings(m_store, m_records, *this, m_services);
}

void TRalvoMainForm::FormDestroy()
{
    // The records and the help viewer belong to the application, which
    // releases them after the windows.
}

bool TRalvoMainForm::FormClose() { return SaveSettings(m_store, m_records, *this, m_services); }

void TRalvoMainForm::closeEvent(QCloseEvent *event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT Closed();
}

void TRalvoMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_centred)
        return;
    m_centred = true;
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// -------------------------------------------------------------- handlers

void TRalvoMainForm::Image1Click() { Calculate(); }
void TRalvoMainForm::N11Click() { Calculate(); }

void TRalvoMainForm::Image1MouseDown() { Image1->SetPicture(Image3->Picture()); }
void TRalvoMainForm::Image1MouseUp() { Image1->SetPicture(Image2->Picture()); }

void TRalvoMainForm::Edit2Change() { ClearResults(); }

void TRalvoMainForm::RadioButton1Click()
{
    ClearResults();
    Cycle->setEnabled(RadioButton1->isChecked());
    UpdateRadioTabStops();
}

void TRalvoMainForm::UpdateRadioTabStops()
{
    // Of the basis buttons only the checked one is a tab stop; the others
    // still take the focus when clicked.
    for (QRadioButton *radio : {RadioButton1, RadioButton2, RadioButton3})
        radio->setFocusPolicy(radio->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

void TRalvoMainForm::UpDown1Click(int direction)
{
    if (const auto cycle = StepCycle(Cycle->text(), direction, *m_services.sounds))
        Cycle->setText(*cycle);
}

void TRalvoMainForm::UpDown2Click(int direction)
{
    if (const auto year = StepYear(Edit2->text(), direction, *m_services.sounds))
        Edit2->setText(*year);
}

void TRalvoMainForm::UpDown3Click(int direction)
{
    const auto step = StepMonth(Edit2->text(), Edit3->text(), direction, *m_services.sounds);
    if (!step)
        return;
    if (step->year)
        Edit2->setText(*step->year);
    Edit3->setText(step->month);
}

void TRalvoMainForm::UpDown4Click(int direction)
{
    const auto step = StepDay(Edit2->text(), Edit3->text(), Edit4->text(), direction, *m_services.sounds);
    if (!step)
        return;
    Edit2->setText(step->year);
    Edit3->setText(step->month);
    Edit4->setText(step->day);
}

void TRalvoMainForm::Button1Click() { NewInput(); }

void TRalvoMainForm::SchdlBtnClick() { Run(m_commands.textOutput); }
void TRalvoMainForm::N2Click() { Run(m_commands.textOutput); }
void TRalvoMainForm::BitBtn1Click() { Run(m_commands.printPreview); }
void TRalvoMainForm::PrintPreview1Click() { Run(m_commands.printPreview); }
void TRalvoMainForm::PrintBtnClick() { Run(m_commands.print); }
void TRalvoMainForm::N7Click() { Run(m_commands.print); }
void TRalvoMainForm::SavePdf1Click() { Run(m_commands.savePdf); }
void TRalvoMainForm::ExportCalendar1Click() { Run(m_commands.exportCalendar); }
void TRalvoMainForm::SignBtnClick() { Run(m_commands.editSettings); }
void TRalvoMainForm::S1Click() { Run(m_commands.editSettings); }

void TRalvoMainForm::Exit1Click() { close(); }
void TRalvoMainForm::CloseBtnClick() { close(); }

void TRalvoMainForm::SearchforHelpOn1Click()
{
    if (m_services.help)
        m_services.help->ShowHelp(QString());
}

void TRalvoMainForm::About1Click() { Run(m_commands.showAbout); }

void TRalvoMainForm::PregnancyCalendar1Click() { Run(m_commands.pregnancyCalendar); }

void TRalvoMainForm::BatchPdf1Click() { Run(m_commands.batchPdf); }

// ------------------------------------------------------ shared operations

void TRalvoMainForm::Run(const std::function<void()> &command)
{
    if (command)
        command();
}

void TRalvoMainForm::Calculate()
{
    const auto dates = ComputePregnancyDates(Input(), *m_services.sounds);
    if (!dates)
        return;
    Yoteibi->setText(FormatDateCompact(dates->dueDate, *m_services.messages));
    Hairanbi->setText(FormatDateCompact(dates->ovulationDate, *m_services.messages));
    Chakushobi->setText(FormatDateCompact(dates->implantationDate, *m_services.messages));
    const QDate today = m_services.clock->Today();
    const std::optional<GestationalAge> age =
        GestationalAgeOn(dates->dueDate, CalendarDate{today.year(), today.month(), today.day()});
    // (A valid due date and day always have an age; without one the day
    // counts as outside the pregnancy.)
    Honjitsu->setText(TodayLineText(age.value_or(GestationalAge{-1})));
}

void TRalvoMainForm::ClearResults()
{
    Yoteibi->clear();
    Hairanbi->clear();
    Chakushobi->clear();
    Honjitsu->clear();
}

void TRalvoMainForm::NewInput()
{
    const QDate today = m_services.clock->Today();
    Cycle->setText(QStringLiteral("28"));
    Edit2->setText(QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0')));
    Edit3->setText(TwoDigits(today.month()));
    Edit4->setText(TwoDigits(today.day()));
    MomName->clear();
}

// ------------------------------------------------------------ the fields

CalculationInput TRalvoMainForm::Input() const
{
    CalculationInput input;
    input.basis = CalculationBasisFromInt(Basis()).value_or(CalculationBasis::LastMenstrualPeriod);
    input.year = Edit2->text();
    input.month = Edit3->text();
    input.day = Edit4->text();
    input.cycle = Cycle->text();
    return input;
}

int TRalvoMainForm::Basis() const
{
    if (RadioButton2->isChecked())
        return 1;
    if (RadioButton3->isChecked())
        return 2;
    return 0;
}

void TRalvoMainForm::SetBasis(int basis)
{
    QRadioButton *radios[] = {RadioButton1, RadioButton2, RadioButton3};
    if (basis >= 0 && basis < 3)
        radios[basis]->setChecked(true);
}

QString TRalvoMainForm::YearText() const { return Edit2->text(); }
void TRalvoMainForm::SetYearText(const QString &text) { Edit2->setText(text); }
QString TRalvoMainForm::MonthText() const { return Edit3->text(); }
void TRalvoMainForm::SetMonthText(const QString &text) { Edit3->setText(text); }
QString TRalvoMainForm::DayText() const { return Edit4->text(); }
void TRalvoMainForm::SetDayText(const QString &text) { Edit4->setText(text); }
QString TRalvoMainForm::MotherName() const { return MomName->text(); }
void TRalvoMainForm::SetMotherName(const QString &text) { MomName->setText(text); }
QString TRalvoMainForm::CycleText() const { return Cycle->text(); }
void TRalvoMainForm::SetCycleText(const QString &text) { Cycle->setText(text); }

} // namespace ralvo
