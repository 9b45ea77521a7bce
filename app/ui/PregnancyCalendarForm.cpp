#include "app/ui/PregnancyCalendarForm.h"

#include "app/ui/UltrasoundDatingBox.h"

#include "calc/Wareki.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/DialogHelpers.h"
#include "print/CalendarPage.h"
#include "print/SchedulePrinting.h"
#include "records/AppRecords.h"
#include "textout/CalendarExport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ralvo {

namespace {

using platform::Named;

// The due date of the fields when they hold a last period (the one a scan
// is compared with); none for another basis or a field without an integer.
std::optional<CalendarDate> MenstrualDueDate(const LastInputFields &fields)
{
    if (fields.Basis() != int(CalculationBasis::LastMenstrualPeriod))
        return std::nullopt;
    const CalculationInput input{CalculationBasis::LastMenstrualPeriod, fields.YearText(), fields.MonthText(),
                                 fields.DayText(), fields.CycleText()};
    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    const std::optional<PregnancyDates> dates =
        parsed ? ComputePregnancyDates(input.basis, parsed->baseDate, parsed->cycle) : std::nullopt;
    return dates ? std::optional<CalendarDate>(dates->dueDate) : std::nullopt;
}

// A number as the main window's spinners write months and days.
QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QLineEdit *MakeResult(const char *name, const QString &hint)
{
    auto *edit = Named(new QLineEdit, name);
    edit->setReadOnly(true);
    platform::SetHint(edit, hint);
    return edit;
}

// A labelled row of the grid: the label names the field for screen readers.
void AddRow(QGridLayout *grid, const QString &caption, QWidget *field, QWidget *extra = nullptr)
{
    const int row = grid->rowCount();
    auto *label = new QLabel(caption);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1, 1, extra ? 1 : 2);
    if (extra)
        grid->addWidget(extra, row, 2);
    platform::LabelField(label, field);
}

} // namespace

TPregnancyCalendarForm::TPregnancyCalendarForm(const platform::Services &services, AppRecords &records,
                                               SchedulePrinter &printer, FileWriter write,
                                               std::function<QDateTime()> now, QWidget *parent)
    : QDialog(parent), m_services(services), m_records(records), m_printer(printer), m_write(std::move(write)),
      m_now(std::move(now))
{
    setObjectName(QStringLiteral("PregnancyCalendarForm"));
    setWindowTitle(QStringLiteral("妊娠カレンダー"));
    setModal(true);
    platform::UseDialogFont(*this);
    CreateControls();
    ConnectHandlers();
    platform::DescribeByHints(*this);
}

void TPregnancyCalendarForm::CreateControls()
{
    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1);

    MomName = MakeResult("MomName", QStringLiteral("主画面で入力した母親名です"));
    AddRow(grid, QStringLiteral("母親名"), MomName);

    BasisChoice = Named(new QComboBox, "BasisChoice");
    BasisChoice->addItems({QStringLiteral("主画面の計算法のとおり"), QStringLiteral("胚移植日（3日目胚）として読む"),
                           QStringLiteral("胚移植日（5日目胚）として読む")});
    platform::SetHint(BasisChoice,
                      QStringLiteral("主画面の日付の読み方を選びます。体外受精では胚移植日として読みます"));
    AddRow(grid, QStringLiteral("基準日の読み方"), BasisChoice);

    Yoteibi = MakeResult("Yoteibi", QStringLiteral("出産予定日です"));
    AddRow(grid, QStringLiteral("出産予定日"), Yoteibi);
    Wareki = MakeResult("Wareki", QStringLiteral("出産予定日の和暦です"));
    AddRow(grid, QStringLiteral("和暦"), Wareki);
    Hairanbi = MakeResult("Hairanbi", QStringLiteral("推定排卵日です"));
    AddRow(grid, QStringLiteral("推定排卵日"), Hairanbi);
    Chakushobi = MakeResult("Chakushobi", QStringLiteral("推定着床日です"));
    AddRow(grid, QStringLiteral("推定着床日"), Chakushobi);
    Honjitsu = MakeResult("Honjitsu", QStringLiteral("本日の妊娠週数です"));
    AddRow(grid, QStringLiteral("本日"), Honjitsu);
    MonthTrimester = MakeResult("MonthTrimester", QStringLiteral("本日の妊娠月と妊娠期です"));
    AddRow(grid, QStringLiteral("妊娠月・妊娠期"), MonthTrimester);
    FullTerm = MakeResult("FullTerm", QStringLiteral("正期産（妊娠37週0日～41週6日）の期間です"));
    AddRow(grid, QStringLiteral("正期産"), FullTerm);
    LeaveStart = MakeResult("LeaveStart", QStringLiteral("産前休業の始まる日です"));
    Multiple = Named(new QCheckBox(QStringLiteral("多胎")), "Multiple");
    platform::SetHint(Multiple,
                      QStringLiteral("双子以上のときはチェックします。産前休業が予定日の97日前からになります"));
    AddRow(grid, QStringLiteral("産前休業"), LeaveStart, Multiple);

    Checkups = Named(new QTableWidget(0, 3), "Checkups");
    Checkups->setHorizontalHeaderLabels({QStringLiteral("回"), QStringLiteral("週"), QStringLiteral("期間")});
    Checkups->verticalHeader()->hide();
    // Without row headers the corner button has no room: it is no control.
    Checkups->setCornerButtonEnabled(false);
    for (QAbstractButton *corner : Checkups->findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly))
        corner->hide();
    Checkups->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    Checkups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Checkups->setSelectionBehavior(QAbstractItemView::SelectRows);
    Checkups->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    Checkups->setMinimumHeight(200);
    platform::SetHint(Checkups, QStringLiteral("妊婦健診の目安です。今週の健診は太字、過ぎた健診は薄く表示します"));
    AddRow(grid, QStringLiteral("妊婦健診の目安"), Checkups);
    platform::NameControl(Checkups, QStringLiteral("妊婦健診の目安"));

    InuNoHi = MakeResult("InuNoHi", QStringLiteral("妊娠5か月の戌の日です。★が最初の戌の日です"));
    AddRow(grid, QStringLiteral("戌の日（帯祝い）"), InuNoHi);

    Birth = Named(new QLineEdit, "Birth");
    Birth->setPlaceholderText(QStringLiteral("例 2026/01/20"));
    platform::SetHint(Birth,
                      QStringLiteral("出産した日を入力すると、産後休業・育児休業・出産手当金の期間を表示します"));
    AddRow(grid, QStringLiteral("出産日"), Birth);
    BirthMessage = Named(new QLabel, "BirthMessage");
    BirthMessage->setWordWrap(true);
    grid->addWidget(BirthMessage, grid->rowCount(), 1, 1, 2);
    Postnatal = MakeResult("Postnatal", QStringLiteral("産後休業の期間です"));
    AddRow(grid, QStringLiteral("産後休業"), Postnatal);
    Childcare = MakeResult("Childcare", QStringLiteral("育児休業の期間です"));
    AddRow(grid, QStringLiteral("育児休業"), Childcare);
    Allowance = MakeResult("Allowance", QStringLiteral("出産手当金の支給される期間です"));
    AddRow(grid, QStringLiteral("出産手当金"), Allowance);

    PrintBtn = Named(new QPushButton(QStringLiteral("印刷(&P)")), "PrintBtn");
    platform::SetHint(PrintBtn, QStringLiteral("妊娠カレンダーを印刷します"));
    PdfBtn = Named(new QPushButton(QStringLiteral("PDF保存(&F)")), "PdfBtn");
    platform::SetHint(PdfBtn, QStringLiteral("妊娠カレンダーをPDFファイルに保存します"));
    IcsBtn = Named(new QPushButton(QStringLiteral("カレンダーに書き出す(&I)")), "IcsBtn");
    platform::SetHint(IcsBtn, QStringLiteral("日付をカレンダー(iCalendar)ファイルに書き出します"));
    CloseBtn = Named(new QPushButton(QStringLiteral("閉じる")), "CloseBtn");
    platform::SetHint(CloseBtn, QStringLiteral("この画面を閉じます"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {PrintBtn, PdfBtn, IcsBtn}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    CloseBtn->setAutoDefault(false);
    buttons->addWidget(CloseBtn);

    Ultrasound = new TUltrasoundDatingBox(
        m_services, [this](const CalendarDate &dueDate) { UseScanDueDate(dueDate); }, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Ultrasound);
    layout->addLayout(buttons);
    resize(600, 920);
}

void TPregnancyCalendarForm::ConnectHandlers()
{
    connect(BasisChoice, &QComboBox::currentIndexChanged, this, &TPregnancyCalendarForm::Recompute);
    connect(Multiple, &QCheckBox::toggled, this, &TPregnancyCalendarForm::Recompute);
    connect(Birth, &QLineEdit::textChanged, this, &TPregnancyCalendarForm::Recompute);
    connect(PrintBtn, &QPushButton::clicked, this, &TPregnancyCalendarForm::PrintClick);
    connect(PdfBtn, &QPushButton::clicked, this, &TPregnancyCalendarForm::PdfClick);
    connect(IcsBtn, &QPushButton::clicked, this, &TPregnancyCalendarForm::IcsClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
}

bool TPregnancyCalendarForm::Open(LastInputFields &mainWindow)
{
    m_mainWindow = CalendarFields(mainWindow, CalendarBasisChoice::AsMainWindow);
    {
        // The window's own choices start over, without recomputing on the way.
        const QSignalBlocker blockChoice(BasisChoice);
        const QSignalBlocker blockMultiple(Multiple);
        const QSignalBlocker blockBirth(Birth);
        BasisChoice->setCurrentIndex(0);
        Multiple->setChecked(false);
        Birth->clear();
    }
    const std::optional<CalendarPlan> plan = MakeCalendarPlan(Fields(), Request());
    if (!plan) {
        m_services.sounds->Beep();
        return false;
    }
    ShowPlan(*plan);
    Ultrasound->Reset(MenstrualDueDate(m_mainWindow));
    m_mainWindowFields = &mainWindow;
    exec();
    m_mainWindowFields = nullptr;
    return true;
}

void TPregnancyCalendarForm::UseScanDueDate(const CalendarDate &dueDate)
{
    if (!m_mainWindowFields)
        return;
    // As if typed: the main window clears its results until 計算 is pressed.
    LastInputFields &mainWindow = *m_mainWindowFields;
    mainWindow.SetBasis(int(CalculationBasis::UltrasoundDueDate));
    mainWindow.SetYearText(QStringLiteral("%1").arg(dueDate.year, 4, 10, QLatin1Char('0')));
    mainWindow.SetMonthText(TwoDigits(dueDate.month));
    mainWindow.SetDayText(TwoDigits(dueDate.day));
    // This window follows the main window's new input.
    m_mainWindow = CalendarFields(mainWindow, CalendarBasisChoice::AsMainWindow);
    Ultrasound->SetMenstrualDueDate(MenstrualDueDate(m_mainWindow));
    Recompute();
}

PlainInputFields TPregnancyCalendarForm::Fields() const
{
    return CalendarFields(m_mainWindow, CalendarBasisChoice(BasisChoice->currentIndex()));
}

CalendarRequest TPregnancyCalendarForm::Request() const
{
    CalendarRequest request;
    request.multiple = Multiple->isChecked();
    const QDate today = m_services.clock->Today();
    request.today = CalendarDate{today.year(), today.month(), today.day()};
    if (!Birth->text().trimmed().isEmpty())
        request.birth = ParseCalendarDay(Birth->text()).value_or(CalendarDate{0, 0, 0});
    return request;
}

void TPregnancyCalendarForm::Recompute()
{
    const std::optional<CalendarPlan> plan = MakeCalendarPlan(Fields(), Request());
    if (!plan) {
        m_services.sounds->Beep();
        return;
    }
    ShowPlan(*plan);
}

void TPregnancyCalendarForm::ShowPlan(const CalendarPlan &plan)
{
    platform::Messages &messages = *m_services.messages;
    MomName->setText(m_mainWindow.MotherName());
    Yoteibi->setText(CalendarDateText(plan.dates.dueDate, messages));
    Wareki->setText(WarekiDateText(plan.dates.dueDate));
    Hairanbi->setText(CalendarDateText(plan.dates.ovulationDate, messages));
    Chakushobi->setText(CalendarDateText(plan.dates.implantationDate, messages));
    Honjitsu->setText(TodayLineText(plan.today));
    MonthTrimester->setText(MonthAndTrimesterText(plan.today));
    FullTerm->setText(CalendarSpanText(plan.milestones.fullTermStart, plan.milestones.fullTermEnd, messages));
    LeaveStart->setText(CalendarDateText(plan.milestones.maternityLeaveStart, messages) + QStringLiteral("から"));

    Checkups->setRowCount(int(plan.checkups.size()));
    const QPalette colours = palette();
    for (int r = 0; r < int(plan.checkups.size()); ++r) {
        const Checkup &checkup = plan.checkups[std::size_t(r)];
        const bool current = r == plan.currentCheckup;
        const QString cells[3] = {QStringLiteral("第%1回").arg(checkup.number)
                                      + (current ? QStringLiteral(" ◀今週") : QString()),
                                  QStringLiteral("%1週").arg(checkup.week),
                                  CalendarSpanText(checkup.days.first, checkup.days.last, messages)};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (current) {
                QFont bold = font();
                bold.setBold(true);
                item->setFont(bold);
                item->setBackground(colours.color(QPalette::Highlight));
                item->setForeground(colours.color(QPalette::HighlightedText));
            } else if (CheckupIsPast(plan, checkup)) {
                item->setForeground(colours.color(QPalette::Disabled, QPalette::Text));
            }
            Checkups->setItem(r, c, item);
        }
    }
    Checkups->resizeColumnsToContents();

    QStringList inu;
    for (std::size_t i = 0; i < plan.inuNoHi.size(); ++i)
        inu << (i == 0 ? QStringLiteral("★") : QString()) + CalendarDateText(plan.inuNoHi[i], messages);
    InuNoHi->setText(inu.join(QStringLiteral("　")));
    ShowBirth(plan);
}

void TPregnancyCalendarForm::ShowBirth(const CalendarPlan &plan)
{
    platform::Messages &messages = *m_services.messages;
    const bool typed = !Birth->text().trimmed().isEmpty();
    const auto span = [&messages](const DateSpan &days) { return CalendarSpanText(days.first, days.last, messages); };
    if (plan.birthLeave) {
        const BirthLeave &leave = *plan.birthLeave;
        Postnatal->setText(span(leave.postnatalLeave));
        Childcare->setText(span(leave.childcareLeave));
        Allowance->setText(span(leave.maternityAllowance));
        if (leave.prenatalLeave)
            LeaveStart->setText(span(*leave.prenatalLeave));
        else
            LeaveStart->setText(QStringLiteral("なし（出産が休業の始まりより前）"));
        BirthMessage->clear();
        return;
    }
    Postnatal->clear();
    Childcare->clear();
    Allowance->clear();
    if (!typed)
        BirthMessage->clear();
    else if (!ParseCalendarDay(Birth->text()))
        BirthMessage->setText(QStringLiteral("出産日は 2026/01/20 のように実在する日付で入力してください。"));
    else
        BirthMessage->setText(plan.birthRefusal);
}

void TPregnancyCalendarForm::PrintClick()
{
    const PlainInputFields fields = Fields();
    const CalendarRequest request = Request();
    const PageSources sources{m_records.settings,   m_records.notices, m_records.block, fields,
                              *m_services.messages, *m_services.sounds};
    PrintPage(m_printer, sources, MakeCalendarPlan(fields, request).has_value(), CalendarPageDrawing(request));
}

void TPregnancyCalendarForm::PdfClick()
{
    const PlainInputFields fields = Fields();
    const CalendarRequest request = Request();
    const std::optional<CalendarPlan> plan = MakeCalendarPlan(fields, request);
    const PageSources sources{m_records.settings,   m_records.notices, m_records.block, fields,
                              *m_services.messages, *m_services.sounds};
    SavePagePdf(sources, plan ? std::optional<QString>(plan->title) : std::nullopt, *m_services.fileDialogs, m_write,
                CalendarPageDrawing(request));
}

void TPregnancyCalendarForm::IcsClick()
{
    const PlainInputFields fields = Fields();
    const CalendarExportSources sources{PageInput(fields), fields.MotherName(), m_records.settings, m_records.notices,
                                        m_now()};
    ExportScheduleCalendar(sources, m_services, m_write);
}

} // namespace ralvo
