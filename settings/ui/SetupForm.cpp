#include "settings/ui/SetupForm.h"

#include "platform/FontList.h"
#include "platform/SharedColorChooser.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/ColorGlyphButton.h"
#include "platform/qt/DialogHelpers.h"
#include "settings/DialogValues.h"
#include "settings/ui/NoticeEditForm.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ralvo {

namespace {

constexpr int ClientWidth = 551;
constexpr int ClientHeight = 431;
constexpr int PaperEntries = 3;
constexpr int RangeEntries = 3;
constexpr int TermEntries = 2;

QLabel *BlueLabel(const QString &text, QWidget *parent) { return platform::ColouredLabel(text, 0xFF0000, parent); }

using platform::Named;
using platform::SetHint;

} // namespace

TSetupForm::TSetupForm(NoticeTable &notices, KikanmeiBlock &block, platform::SharedColorChooser &colorChooser,
                       QWidget *parent)
    : QDialog(parent), m_notices(notices), m_block(block), m_colorChooser(colorChooser)
{
    setObjectName(QStringLiteral("SetupForm"));
    setWindowTitle(QStringLiteral("ｽｹｼﾞｭｰﾙ表の設定"));
    platform::MakeFixedDialog(*this, ClientWidth, ClientHeight);
    platform::UseDialogFont(*this);
    platform::UseLightPalette(*this); // its coloured labels need the light window
    BuildControls();
    platform::DescribeByHints(*this);
    FormCreate();
}

void TSetupForm::BuildControls()
{
    // Notation.
    auto *notation = new QGroupBox(QStringLiteral("表記法の設定"), this);
    auto *notationGrid = new QGridLayout(notation);
    auto *titleLabel = new QVBoxLayout;
    QLabel *titleCaption = BlueLabel(QStringLiteral("◆表題"), notation);
    titleLabel->addWidget(titleCaption);
    titleLabel->addWidget(new QLabel(QStringLiteral("( ?? = 母親名 )"), notation));
    notationGrid->addLayout(titleLabel, 0, 0);
    Edit5 = Named(new QLineEdit(notation), "Edit5");
    platform::LabelField(titleCaption, Edit5);
    platform::NameControl(Edit5, QStringLiteral("表題"));
    SetHint(Edit5,
            QStringLiteral("表題に記載させたい内容を設定してください。??を記入するとそこに母親名が挿入されます"));
    notationGrid->addWidget(Edit5, 0, 1, 1, 3);

    QLabel *termCaption = BlueLabel(QStringLiteral("◆予定日"), notation);
    notationGrid->addWidget(termCaption, 1, 0);
    auto *termBox = Named(new QFrame(notation), "RadioGroup1");
    platform::NameControl(termBox, QStringLiteral("予定日欄の用語"));
    termBox->setFrameShape(QFrame::StyledPanel);
    SetHint(termBox, QStringLiteral("表題の下の予定日欄の記載させたい用語を選択してください"));
    auto *termRow = new QHBoxLayout(termBox);
    termRow->setContentsMargins(6, 2, 6, 2);
    RadioGroup1Item0 = Named(new QRadioButton(QStringLiteral("出産予定日"), termBox), "RadioGroup1Item0");
    RadioGroup1Item1 = Named(new QRadioButton(QStringLiteral("分娩予定日"), termBox), "RadioGroup1Item1");
    termRow->addWidget(RadioGroup1Item0, 1);
    termRow->addWidget(RadioGroup1Item1, 1);
    RadioGroup1 = new QButtonGroup(this);
    RadioGroup1->addButton(RadioGroup1Item0, 0);
    RadioGroup1->addButton(RadioGroup1Item1, 1);
    notationGrid->addWidget(termBox, 1, 1, 1, 3);

    const QString notationHint = QStringLiteral("表内の月と週の欄の記載方法を設定してください");
    const auto notationRow = [&](int row, const QString &caption, const QString &item, QLineEdit *&before,
                                 const char *beforeName, QLineEdit *&after, const char *afterName) {
        QLabel *label = BlueLabel(caption, notation);
        notationGrid->addWidget(label, row, 0);
        before = Named(new QLineEdit(notation), beforeName);
        after = Named(new QLineEdit(notation), afterName);
        platform::LabelField(label, before);
        platform::NameControl(before, item + QStringLiteral("の表記（数字の前）"));
        platform::NameControl(after, item + QStringLiteral("の表記（数字の後）"));
        SetHint(before, notationHint);
        SetHint(after, notationHint);
        notationGrid->addWidget(before, row, 1);
        notationGrid->addWidget(new QLabel(QStringLiteral("00"), notation), row, 2);
        notationGrid->addWidget(after, row, 3);
    };
    notationRow(2, QStringLiteral("◆月"), QStringLiteral("月"), Edit1, "Edit1", Edit2, "Edit2");
    notationRow(3, QStringLiteral("◆週"), QStringLiteral("週"), Edit3, "Edit3", Edit4, "Edit4");
    notationGrid->setColumnStretch(1, 1);
    notationGrid->setColumnStretch(3, 1);

    // Printing.
    auto *printing = new QGroupBox(QStringLiteral("印刷設定"), this);
    auto *printGrid = new QGridLayout(printing);
    auto *paperLabel = new QLabel(QStringLiteral("用紙ｻｲｽﾞ"), printing);
    printGrid->addWidget(paperLabel, 0, 0);
    ComboBox6 = Named(new QComboBox(printing), "ComboBox6");
    platform::LabelField(paperLabel, ComboBox6);
    platform::NameControl(ComboBox6, QStringLiteral("用紙サイズ"));
    ComboBox6->addItems({QStringLiteral("B5"), QStringLiteral("A4"), QStringLiteral("ﾌﾟﾘﾝﾀの設定による")});
    SetHint(ComboBox6, QStringLiteral("スケジュール表印刷の用紙サイズを変更することができます"));
    printGrid->addWidget(ComboBox6, 0, 1);
    auto *rangeLabel = new QLabel(QStringLiteral("記載範囲"), printing);
    printGrid->addWidget(rangeLabel, 1, 0);
    ComboBox7 = Named(new QComboBox(printing), "ComboBox7");
    platform::LabelField(rangeLabel, ComboBox7);
    platform::NameControl(ComboBox7, QStringLiteral("記載範囲"));
    ComboBox7->addItems(
        {QStringLiteral("第2か月から記載"), QStringLiteral("第3か月から記載"), QStringLiteral("第4か月から記載")});
    SetHint(ComboBox7, QStringLiteral("スケジュール表に印刷させたい期間を選択してください"));
    printGrid->addWidget(ComboBox7, 1, 1);
    CheckBox1 = Named(new QCheckBox(QStringLiteral("週末日付を印刷する"), printing), "CheckBox1");
    SetHint(CheckBox1, QStringLiteral("表内に週の末の日付を印刷させたい場合にﾁｪｯｸします"));
    printGrid->addWidget(CheckBox1, 2, 0, 1, 2);
    CheckBox6 = Named(new QCheckBox(QStringLiteral("注意項目を印刷する"), printing), "CheckBox6");
    SetHint(CheckBox6, QStringLiteral("表内に各週毎の注意事項などを記載させたい場合にﾁｪｯｸします"));
    Button9 = Named(new QPushButton(QStringLiteral("編集"), printing), "Button9");
    SetHint(Button9, QStringLiteral("表内に各週毎の記載させたい注意事項などを設定するときにｸﾘｯｸしてください"));
    platform::NameControl(Button9, QStringLiteral("注意項目の編集"));
    printGrid->addWidget(CheckBox6, 3, 0, 1, 2);
    printGrid->addWidget(Button9, 3, 1, Qt::AlignRight);
    CheckBox2 = Named(new QCheckBox(QStringLiteral("機関名等を印刷する"), printing), "CheckBox2");
    SetHint(CheckBox2, QStringLiteral("表の下部に発行医療機関名等を記載させたい場合にﾁｪｯｸします"));
    Button6 = Named(new QPushButton(QStringLiteral("編集"), printing), "Button6");
    SetHint(Button6, QStringLiteral("表の下部に記載させたい発行医療機関名等を設定するときにｸﾘｯｸしてください"));
    platform::NameControl(Button6, QStringLiteral("機関名等の編集"));
    Button6->setEnabled(false); // until the block editor is linked
    Button9->setFixedWidth(52);
    Button6->setFixedWidth(52);
    printGrid->addWidget(CheckBox2, 4, 0, 1, 2);
    printGrid->addWidget(Button6, 4, 1, Qt::AlignRight);
    printGrid->setColumnStretch(1, 1);

    // Fonts and colours.
    auto *fonts = new QGroupBox(QStringLiteral("ﾌｫﾝﾄ設定"), this);
    auto *fontGrid = new QGridLayout(fonts);
    // The font labels are in the dialog's ordinary colour: blue marks only
    // the items that also shape the text output.
    const auto fontRow = [&](int row, const QString &caption, const QString &item, QComboBox *&box, const char *boxName,
                             const QString &fontHint, platform::ColorGlyphButton **button, const char *buttonName,
                             const QString &colourHint) {
        auto *label = new QLabel(caption, fonts);
        fontGrid->addWidget(label, row, 0);
        box = Named(new QComboBox(fonts), boxName);
        platform::LabelField(label, box);
        platform::NameControl(box, item + QStringLiteral("のフォント"));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr); // a typed name stays as typed, not completed
        SetHint(box, fontHint);
        fontGrid->addWidget(box, row, 1);
        if (!button)
            return;
        fontGrid->addWidget(new QLabel(QStringLiteral("色"), fonts), row, 2);
        *button = Named(new platform::ColorGlyphButton(fonts), buttonName);
        platform::NameControl(*button, item + QStringLiteral("の文字色"));
        (*button)->setFixedSize(22, 22);
        SetHint(*button, colourHint);
        fontGrid->addWidget(*button, row, 3);
    };
    fontRow(0, QStringLiteral("◆表題ﾌｫﾝﾄ"), QStringLiteral("表題"), ComboBox1, "ComboBox1",
            QStringLiteral("表題に使用するﾌｫﾝﾄを選択してください"), &BitBtn1, "BitBtn1",
            QStringLiteral("表題の文字色を設定してください"));
    fontRow(1, QStringLiteral("◆予定日欄ﾌｫﾝﾄ"), QStringLiteral("予定日欄"), ComboBox2, "ComboBox2",
            QStringLiteral("表題の下に記載する出産予定日欄のﾌｫﾝﾄを選択してください"), &BitBtn2, "BitBtn2",
            QStringLiteral("表題の下に記載する出産予定日欄の文字色を設定してください"));
    fontRow(2, QStringLiteral("◆月/週ﾌｫﾝﾄ"), QStringLiteral("月/週"), ComboBox3, "ComboBox3",
            QStringLiteral("表内の月と週表記のﾌｫﾝﾄを選択してください"), &BitBtn3, "BitBtn3",
            QStringLiteral("表内の月と週表記の文字色を設定してください"));
    fontRow(3, QStringLiteral("◆日付ﾌｫﾝﾄ"), QStringLiteral("日付"), ComboBox4, "ComboBox4",
            QStringLiteral("表内の日付表記のﾌｫﾝﾄを選択してください"), &BitBtn6, "BitBtn6",
            QStringLiteral("表内の日付表記の文字色を設定してください"));
    fontRow(4, QStringLiteral("◆注意項目ﾌｫﾝﾄ"), QStringLiteral("注意項目"), ComboBox5, "ComboBox5",
            QStringLiteral("表内の注意項目のﾌｫﾝﾄを選択してください。文字色は週毎に設定できます"), nullptr, nullptr,
            QString());
    fontGrid->setColumnStretch(1, 1);
    fontGrid->setColumnMinimumWidth(4, 8);

    const auto colourRow = [&](int row, const QString &caption, platform::ColorGlyphButton *&button, const char *name,
                               const QString &hint) {
        auto *label = new QLabel(caption, fonts);
        fontGrid->addWidget(label, row, 5);
        button = Named(new platform::ColorGlyphButton(fonts), name);
        platform::LabelField(label, button);
        platform::NameControl(button, caption);
        button->setFixedSize(22, 22);
        SetHint(button, hint);
        fontGrid->addWidget(button, row, 6);
    };
    colourRow(0, QStringLiteral("正期産期間の文字色"), BitBtn4, "BitBtn4",
              QStringLiteral("表内日付のうち正期産期間の日付の文字色を設定してください"));
    colourRow(1, QStringLiteral("予定日日付の文字色"), BitBtn5, "BitBtn5",
              QStringLiteral("表内日付のうち出産予定日の文字色を設定してください"));

    auto *separator = new QFrame(fonts);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    fontGrid->addWidget(separator, 3, 5, 2, 1, Qt::AlignLeft);
    CheckBox3 = Named(new QCheckBox(QStringLiteral("カラーで印刷する"), fonts), "CheckBox3");
    SetHint(
        CheckBox3,
        QStringLiteral("カラー印刷させたいときにチェックします。モノクロプリンタのときはチェックをはずしてください。"));
    auto *colourSwitch = new QHBoxLayout;
    colourSwitch->addSpacing(12);
    colourSwitch->addWidget(CheckBox3);
    fontGrid->addLayout(colourSwitch, 3, 5, 2, 2);

    // The note and the buttons.
    Button2 = Named(new QPushButton(QStringLiteral("OK"), this), "Button2");
    Button2->setDefault(true);
    Button4 = Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "Button4");
    Button4->setAutoDefault(false);
    Button5 = Named(new QPushButton(QStringLiteral("標準に戻す"), this), "Button5");
    Button5->setAutoDefault(false);
    SetHint(Button5, QStringLiteral("すべての設定を標準に戻したいときにｸﾘｯｸしてください"));

    auto *top = new QHBoxLayout;
    top->addWidget(notation, 1);
    top->addWidget(printing, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Button2);
    bottom->addWidget(Button4);
    bottom->addWidget(Button5);
    auto *page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(fonts);
    page->addStretch(1);
    page->addWidget(BlueLabel(QStringLiteral("項目名が青字のところはテキスト出力にも反映されます"), this));
    page->addLayout(bottom);

    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button4, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button5, &QPushButton::clicked, this, &TSetupForm::Button5Click);
    connect(Button9, &QPushButton::clicked, this, &TSetupForm::Button9Click);
    connect(Button6, &QPushButton::clicked, this, &TSetupForm::Button6Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TSetupForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TSetupForm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TSetupForm::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TSetupForm::BitBtn4Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TSetupForm::BitBtn5Click);
    connect(BitBtn6, &QPushButton::clicked, this, &TSetupForm::BitBtn6Click);
}

// The font lists, built once for the life of the window: the same fixed-pitch
// faces in all five boxes.
void TSetupForm::FormCreate()
{
    const QStringList faces = platform::FixedPitchFaceNames();
    for (QComboBox *box : FontBoxes())
        box->addItems(faces);
}

QList<QComboBox *> TSetupForm::FontBoxes() const { return {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5}; }

void TSetupForm::SetNoticeEditor(TNoticeEditForm *noticeEditor) { m_noticeEditor = noticeEditor; }

void TSetupForm::SetBlockEditor(BlockEditor blockEditor)
{
    m_blockEditor = std::move(blockEditor);
    Button6->setEnabled(bool(m_blockEditor));
}

void TSetupForm::Fill(const ScheduleSettings &s)
{
    Edit5->setText(s.Tit);
    RadioGroup1->button(IndexOr(s.Yoteiyogo, TermEntries, 0))->setChecked(true);
    Edit1->setText(s.Tsuki1);
    Edit2->setText(s.Tsuki2);
    Edit3->setText(s.Shu1);
    Edit4->setText(s.Shu2);
    ComboBox6->setCurrentIndex(IndexOr(s.Yoshi, PaperEntries, ScheduleSettings{}.Yoshi));
    ComboBox7->setCurrentIndex(IndexOr(s.Hani, RangeEntries, ScheduleSettings{}.Hani));
    CheckBox1->setChecked(s.Shumatsucheck);
    CheckBox6->setChecked(s.Noticecheck);
    CheckBox2->setChecked(s.Kikanmeicheck);
    ComboBox1->setEditText(s.Titfont);
    BitBtn1->SetGlyphColor(s.Titcolor);
    ComboBox2->setEditText(s.Yotfont);
    BitBtn2->SetGlyphColor(s.Yotcolor);
    ComboBox3->setEditText(s.MWfont);
    BitBtn3->SetGlyphColor(s.MWcolor);
    ComboBox4->setEditText(s.Dayfont);
    BitBtn6->SetGlyphColor(s.Daycolor);
    ComboBox5->setEditText(s.Notfont);
    BitBtn4->SetGlyphColor(s.Seikicolor);
    BitBtn5->SetGlyphColor(s.Yoteibicolor);
    CheckBox3->setChecked(s.Colorcheck);
}

ScheduleSettings TSetupForm::ControlValues() const
{
    const ScheduleSettings defaults;
    ScheduleSettings s;
    s.Tit = Edit5->text();
    s.Yoteiyogo = IndexOr(RadioGroup1->checkedId(), TermEntries, defaults.Yoteiyogo);
    s.Tsuki1 = Edit1->text();
    s.Tsuki2 = Edit2->text();
    s.Shu1 = Edit3->text();
    s.Shu2 = Edit4->text();
    s.Yoshi = IndexOr(ComboBox6->currentIndex(), PaperEntries, defaults.Yoshi);
    s.Hani = IndexOr(ComboBox7->currentIndex(), RangeEntries, defaults.Hani);
    s.Shumatsucheck = CheckBox1->isChecked();
    s.Noticecheck = CheckBox6->isChecked();
    s.Kikanmeicheck = CheckBox2->isChecked();
    s.Titfont = ComboBox1->currentText();
    s.Titcolor = BitBtn1->GlyphColor();
    s.Yotfont = ComboBox2->currentText();
    s.Yotcolor = BitBtn2->GlyphColor();
    s.MWfont = ComboBox3->currentText();
    s.MWcolor = BitBtn3->GlyphColor();
    s.Dayfont = ComboBox4->currentText();
    s.Daycolor = BitBtn6->GlyphColor();
    s.Notfont = ComboBox5->currentText();
    s.Seikicolor = BitBtn4->GlyphColor();
    s.Yoteibicolor = BitBtn5->GlyphColor();
    s.Colorcheck = CheckBox3->isChecked();
    return s;
}

void TSetupForm::showEvent(QShowEvent *event)
{
    platform::CentreOnScreen(*this);
    QDialog::showEvent(event);
}

void TSetupForm::BitBtn1Click() { BitBtn1->ChooseGlyphColor(m_colorChooser); }
void TSetupForm::BitBtn2Click() { BitBtn2->ChooseGlyphColor(m_colorChooser); }
void TSetupForm::BitBtn3Click() { BitBtn3->ChooseGlyphColor(m_colorChooser); }
void TSetupForm::BitBtn4Click() { BitBtn4->ChooseGlyphColor(m_colorChooser); }
void TSetupForm::BitBtn5Click() { BitBtn5->ChooseGlyphColor(m_colorChooser); }
void TSetupForm::BitBtn6Click() { BitBtn6->ChooseGlyphColor(m_colorChooser); }

// "標準に戻す": the first-run settings into the controls; they count only if
// the dialog then ends with OK. Notices and the block are not touched.
void TSetupForm::Button5Click() { Fill(ScheduleSettings{}); }

// Notices: the editor works on its own controls; its OK replaces the table
// at once, however this dialog ends.
void TSetupForm::Button9Click()
{
    if (!m_noticeEditor)
        return;
    m_noticeEditor->Fill(m_notices);
    m_noticeEditor->SetWeekEndPrinted(CheckBox1->isChecked());
    if (m_noticeEditor->exec() == QDialog::Accepted)
        m_notices = m_noticeEditor->Notices();
}

// Institution block: the editor works on a copy made through the block's
// text form; its OK replaces the block at once, however this dialog ends.
void TSetupForm::Button6Click()
{
    if (!m_blockEditor)
        return;
    KikanmeiBlock workingCopy = KikanmeiBlock::FromText(m_block.ToText());
    if (m_blockEditor(workingCopy))
        m_block = KikanmeiBlock::FromText(workingCopy.ToText());
}

bool EditSettings(TSetupForm &form, ScheduleSettings &settings)
{
    form.Fill(settings);
    if (form.exec() != QDialog::Accepted)
        return false;
    settings = form.ControlValues();
    return true;
}

} // namespace ralvo
