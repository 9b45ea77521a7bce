#include "settings/ui/NoticeEditForm.h"

#include "platform/qt/Accessibility.h"
#include "platform/qt/ColorGlyphButton.h"
#include "platform/qt/DialogHelpers.h"
#include "settings/DialogValues.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ralvo {

namespace {

constexpr int ClientWidth = 508;
constexpr int ClientHeight = 417;
constexpr int WeeksPerPage = 8;
constexpr int Pages = TNoticeEditForm::Weeks / WeeksPerPage;

struct PageNames
{
    const char16_t *caption;
    int firstWeekLabel; // number of the week label of the page's first row
    int firstCountLabel;
};

constexpr PageNames PageTable[Pages] = {
    {u"第２\uFF5E３か月", 1, 12},  {u"第４\uFF5E５か月", 24, 34}, {u"第６\uFF5E７か月", 43, 53},
    {u"第８\uFF5E９か月", 62, 72}, {u"第１０か月以降", 81, 91},
};

constexpr Colour Blue = 0xFF0000;
constexpr Colour Red = 0x0000FF;
constexpr Colour Green = 0x008000;

QString Numbered(const char *stem, int n) { return QLatin1StringView(stem) + QString::number(n); }

} // namespace

TNoticeEditForm::TNoticeEditForm(const ScheduleSettings &settings, platform::SharedColorChooser &colorChooser,
                                 QWidget *parent)
    : QDialog(parent), m_settings(settings), m_colorChooser(colorChooser)
{
    setObjectName(QStringLiteral("NoticeEditForm"));
    setWindowTitle(QStringLiteral("注意項目の編集"));
    platform::MakeFixedDialog(*this, ClientWidth, ClientHeight);
    platform::UseDialogFont(*this);
    platform::UseLightPalette(*this); // its coloured labels need the light window

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    for (int page = 0; page < Pages; ++page)
        PageControl1->addTab(BuildPage(page), QString::fromUtf16(PageTable[page].caption));

    auto *widthLine = new QHBoxLayout;
    widthLine->setSpacing(4);
    widthLine->addWidget(platform::ColouredLabel(
        QStringLiteral("現在の設定における注意事項の印刷可能文字数は、全角文字にして"), Blue, this));
    Label21 = platform::ColouredLabel(QStringLiteral("??"), Red, this);
    Label21->setObjectName(QStringLiteral("Label21"));
    QFont widthFont = font();
    widthFont.setPixelSize(19);
    widthFont.setBold(true);
    Label21->setFont(widthFont);
    widthLine->addWidget(Label21);
    widthLine->addWidget(platform::ColouredLabel(QStringLiteral("文字です"), Blue, this));
    widthLine->addStretch(1);

    auto *advice = platform::ColouredLabel(
        QStringLiteral("印刷可能文字数を増やしたいときは、設定ダイアログボックスの、月と週の表記を短くするか、"
                       "週末の日付を印刷しないように設定してください"),
        Green, this);
    advice->setWordWrap(true);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    canButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    canButton->setObjectName(QStringLiteral("canButton"));
    canButton->setAutoDefault(false);
    Button1 = new QPushButton(QStringLiteral("初期状態に戻す"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button1->setToolTip(QStringLiteral("注意項目のサンプルが入力された初期状態に戻します"));
    Button1->setStatusTip(Button1->toolTip());
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(canButton);
    buttons->addWidget(Button1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(widthLine);
    layout->addWidget(advice);
    layout->addStretch(1);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(canButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button1, &QPushButton::clicked, this, &TNoticeEditForm::Button1Click);
    platform::NameControl(PageControl1->tabBar(), QStringLiteral("妊娠月"));
    platform::DescribeByHints(*this);
}

// One page: four weeks of one month, a rule, four weeks of the next.
QWidget *TNoticeEditForm::BuildPage(int page)
{
    auto *sheet = new QWidget;
    auto *grid = new QGridLayout(sheet);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(QStringLiteral("注意事項"), sheet), 0, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("文字色"), sheet), 0, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("文字数"), sheet), 0, 3, Qt::AlignHCenter);
    auto *rule = new QFrame(sheet);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 1 + WeeksPerPage / 2, 0, 1, 4);

    QFont countFont = font();
    countFont.setPixelSize(16);
    for (int k = 0; k < WeeksPerPage; ++k) {
        const int n = page * WeeksPerPage + k + 1;
        const int row = 1 + k + (k >= WeeksPerPage / 2 ? 1 : 0);
        const std::size_t i = std::size_t(n - 1);

        m_weekLabels[i] = new QLabel(NoticeWeekCaption(n + NoticeTable::FirstWeek - 1), sheet);
        m_weekLabels[i]->setObjectName(Numbered("Label", PageTable[page].firstWeekLabel + k));
        m_edits[i] = new QLineEdit(sheet);
        m_edits[i]->setObjectName(Numbered("Edit", n));
        m_buttons[i] = new platform::ColorGlyphButton(sheet);
        m_buttons[i]->setObjectName(Numbered("BitBtn", n));
        m_buttons[i]->setFixedSize(22, 22);
        const QString week = m_weekLabels[i]->text();
        platform::LabelField(m_weekLabels[i], m_edits[i]);
        platform::NameControl(m_edits[i], week + QStringLiteral("の注意事項"));
        platform::NameControl(m_buttons[i], week + QStringLiteral("の文字色"));
        m_countLabels[i] = new QLabel(QStringLiteral("??"), sheet);
        m_countLabels[i]->setObjectName(Numbered("Label", PageTable[page].firstCountLabel + k));
        m_countLabels[i]->setFont(countFont);
        m_countLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_countLabels[i]->setMinimumWidth(36);

        grid->addWidget(m_weekLabels[i], row, 0);
        grid->addWidget(m_edits[i], row, 1);
        grid->addWidget(m_buttons[i], row, 2, Qt::AlignHCenter);
        grid->addWidget(m_countLabels[i], row, 3);

        connect(m_edits[i], &QLineEdit::textChanged, this, [this, n] { EditChange(n); });
        platform::ColorGlyphButton *button = m_buttons[i];
        connect(button, &QPushButton::clicked, this, [this, button] { BitBtn1Click(*button); });
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(WeeksPerPage + 2, 1);
    return sheet;
}

void TNoticeEditForm::Fill(const NoticeTable &notices)
{
    for (int n = 1; n <= Weeks; ++n)
        Edit(n)->setText(notices.notices.at(std::size_t(n - 1)).text);
    for (int n = 1; n <= Weeks; ++n)
        BitBtn(n)->SetGlyphColor(notices.notices.at(std::size_t(n - 1)).color);
    UpdateAllCounts();
}

NoticeTable TNoticeEditForm::Notices() const
{
    NoticeTable notices;
    for (int n = 1; n <= Weeks; ++n)
        notices.notices.at(std::size_t(n - 1)).text = Edit(n)->text();
    for (int n = 1; n <= Weeks; ++n)
        notices.notices.at(std::size_t(n - 1)).color = BitBtn(n)->GlyphColor();
    return notices;
}

void TNoticeEditForm::showEvent(QShowEvent *event)
{
    platform::CentreOnScreen(*this);
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

// The printable width, computed once per showing from the stored notation
// and the settings dialog's week-end switch as it stands.
void TNoticeEditForm::FormShow()
{
    Label21->setText(QString::number(PrintableNoticeWidth(m_settings, m_weekEndPrinted)));
}

void TNoticeEditForm::EditChange(int n) { CountLabel(n)->setText(QString::number(FullWidthCount(Edit(n)->text()))); }

// Filling a field with the text it already holds emits no change: every
// count is brought up to date after each filling.
void TNoticeEditForm::UpdateAllCounts()
{
    for (int n = 1; n <= Weeks; ++n)
        EditChange(n);
}

void TNoticeEditForm::BitBtn1Click(platform::ColorGlyphButton &button) { button.ChooseGlyphColor(m_colorChooser); }

// "初期状態に戻す": the sample notices, week 41 black; they reach the table
// only if the editor then ends with OK.
void TNoticeEditForm::Button1Click() { Fill(RestoredNoticeTable()); }

} // namespace ralvo
