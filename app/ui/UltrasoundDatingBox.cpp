#include "app/ui/UltrasoundDatingBox.h"

#include "platform/Platform.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/DialogHelpers.h"
#include "print/CalendarPlan.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace ralvo {

namespace {

using platform::Named;

// The kinds in the order of the choice.
constexpr ScanMeasure Kinds[] = {ScanMeasure::CrownRumpLength, ScanMeasure::BiparietalDiameter,
                                 ScanMeasure::ScannerAge};

QLineEdit *MakeResult(const char *name, const QString &hint)
{
    auto *edit = Named(new QLineEdit, name);
    edit->setReadOnly(true);
    platform::SetHint(edit, hint);
    return edit;
}

// What may be typed for the kind, and the reason a value is refused.
QString ValueExample(ScanMeasure measure)
{
    switch (measure) {
    case ScanMeasure::CrownRumpLength:
        return QStringLiteral("例 45.0（mm）");
    case ScanMeasure::BiparietalDiameter:
        return QStringLiteral("例 50.0（mm）");
    case ScanMeasure::ScannerAge:
        return QStringLiteral("例 9+3、9w3d、9週3日");
    }
    return {};
}

QString ValueRefusal(ScanMeasure measure, CrlMethod method)
{
    const ScanRange range = RangeOf(measure, method);
    if (measure == ScanMeasure::ScannerAge)
        return QStringLiteral("表示された週数は %1～%2 を 9+3、9w3d、9週3日 の形で入力してください。")
            .arg(WeeksAndDaysText(range.first), WeeksAndDaysText(range.last));
    return QStringLiteral("%1（%2）は %3～%4mm の数（小数点以下一桁まで）を入力してください。")
        .arg(MeasureName(measure), MethodName(measure, method), TenthsText(range.first), TenthsText(range.last));
}

} // namespace

TUltrasoundDatingBox::TUltrasoundDatingBox(const platform::Services &services, DueDateUser useDueDate, QWidget *parent)
    : QGroupBox(QStringLiteral("超音波で予定日を確かめる"), parent), m_services(services),
      m_useDueDate(std::move(useDueDate))
{
    setObjectName(QStringLiteral("UltrasoundDating"));
    CreateControls();
    for (QLineEdit *edit : {ScanDate, ScanValue})
        connect(edit, &QLineEdit::textChanged, this, &TUltrasoundDatingBox::Recompute);
    for (QComboBox *choice : {ScanKind, ScanMethod})
        connect(choice, &QComboBox::currentIndexChanged, this, &TUltrasoundDatingBox::Recompute);
    connect(UseScanBtn, &QPushButton::clicked, this, &TUltrasoundDatingBox::UseClick);
}

void TUltrasoundDatingBox::CreateControls()
{
    ScanDate = Named(new QLineEdit, "ScanDate");
    ScanDate->setPlaceholderText(QStringLiteral("例 2026/06/10"));
    platform::SetHint(ScanDate, QStringLiteral("超音波で計測した日です。初めは今日の日付です"));
    ScanKind = Named(new QComboBox, "ScanKind");
    ScanKind->addItems({QStringLiteral("CRL"), QStringLiteral("BPD"), QStringLiteral("表示された週数")});
    platform::SetHint(ScanKind,
                      QStringLiteral("計測したもの: 頭殿長 (CRL)、児頭大横径 (BPD)、超音波装置の表示した妊娠週数"));
    ScanValue = Named(new QLineEdit, "ScanValue");
    platform::SetHint(ScanValue, QStringLiteral("計測値です。CRL と BPD は mm で小数点以下一桁まで"));
    ScanMethod = Named(new QComboBox, "ScanMethod");
    ScanMethod->addItems({QStringLiteral("INTERGROWTH-21st（Papageorghiou ほか 2014）"),
                          QStringLiteral("Robinson（Robinson・Fleming 1975、BMUS）")});
    platform::SetHint(ScanMethod, QStringLiteral("CRL から妊娠週数を求める式です"));
    ScanAge = MakeResult("ScanAge", QStringLiteral("計測した日の妊娠週数です"));
    ScanYoteibi =
        MakeResult("ScanYoteibi", QStringLiteral("計測した日 + 280日 − 計測時の妊娠日数: 超音波による出産予定日です"));
    ScanDifference = MakeResult(
        "ScanDifference", QStringLiteral("超音波の予定日と主画面の最終月経からの予定日の差です (超音波 − 最終月経)"));
    ScanAdvice = MakeResult(
        "ScanAdvice",
        QStringLiteral("ACOG の表による予定日修正の目安です。医師の判断のための目安で、予定日は変わりません"));
    ScanMessage = Named(new QLabel, "ScanMessage");
    ScanMessage->setWordWrap(true);
    UseScanBtn = Named(new QPushButton(QStringLiteral("この予定日を使う")), "UseScanBtn");
    UseScanBtn->setAutoDefault(false);
    platform::SetHint(UseScanBtn,
                      QStringLiteral("主画面の計算法を「超音波測定予定日から」にし、この予定日を日付に入れます"));

    auto *grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    const auto add = [grid](int row, int column, const QString &caption, QWidget *field, int span = 1) {
        auto *label = new QLabel(caption);
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1, 1, span);
        platform::LabelField(label, field);
    };
    add(0, 0, QStringLiteral("計測日"), ScanDate);
    add(0, 2, QStringLiteral("計測"), ScanKind);
    add(1, 0, QStringLiteral("計測値"), ScanValue);
    add(1, 2, QStringLiteral("CRL の式"), ScanMethod);
    add(2, 0, QStringLiteral("計測時の週数"), ScanAge);
    add(2, 2, QStringLiteral("超音波の予定日"), ScanYoteibi);
    add(3, 0, QStringLiteral("予定日の差"), ScanDifference, 3);
    add(4, 0, QStringLiteral("修正の目安"), ScanAdvice, 3);
    grid->addWidget(ScanMessage, 5, 0, 1, 3);
    grid->addWidget(UseScanBtn, 5, 3, Qt::AlignRight);
}

void TUltrasoundDatingBox::Reset(const std::optional<CalendarDate> &menstrualDueDate)
{
    m_menstrualDueDate = menstrualDueDate;
    {
        const QSignalBlocker blockDate(ScanDate);
        const QSignalBlocker blockKind(ScanKind);
        const QSignalBlocker blockValue(ScanValue);
        const QSignalBlocker blockMethod(ScanMethod);
        ScanDate->setText(m_services.clock->Today().toString(QStringLiteral("yyyy/MM/dd")));
        ScanKind->setCurrentIndex(0);
        ScanValue->clear();
        ScanMethod->setCurrentIndex(0);
    }
    Recompute();
}

void TUltrasoundDatingBox::SetMenstrualDueDate(const std::optional<CalendarDate> &menstrualDueDate)
{
    m_menstrualDueDate = menstrualDueDate;
    Recompute();
}

void TUltrasoundDatingBox::Recompute()
{
    const ScanMeasure measure = Kinds[std::max(0, ScanKind->currentIndex())];
    const CrlMethod method = ScanMethod->currentIndex() == 1 ? CrlMethod::Robinson : CrlMethod::Intergrowth21st;
    ScanMethod->setEnabled(measure == ScanMeasure::CrownRumpLength);
    ScanValue->setPlaceholderText(ValueExample(measure));

    const std::optional<CalendarDate> day = ParseCalendarDay(ScanDate->text());
    if (!day) {
        ClearResults(QStringLiteral("計測日は 2026/06/10 のように実在する日付で入力してください。"));
        return;
    }
    const QString typed = ScanValue->text().trimmed();
    if (typed.isEmpty()) {
        ClearResults(QString());
        return;
    }
    const std::optional<int> value = measure == ScanMeasure::ScannerAge ? ParseScannerAge(typed) : ParseTenths(typed);
    if (!value || !ScanAgeDays(measure, method, *value)) {
        ClearResults(ValueRefusal(measure, method));
        return;
    }
    const std::optional<UltrasoundScan> scan = DateByScan(*day, measure, method, *value);
    if (!scan) {
        ClearResults(QStringLiteral("計算した日付が扱える範囲を超えています。"));
        return;
    }
    ShowScan(*scan);
}

void TUltrasoundDatingBox::ShowScan(const UltrasoundScan &scan)
{
    platform::Messages &messages = *m_services.messages;
    m_scan = scan;
    ScanMessage->clear();
    ScanAge->setText(QStringLiteral("%1（%2日）").arg(WeeksAndDaysText(scan.ageDays)).arg(scan.ageDays));
    ScanYoteibi->setText(CalendarDateText(scan.dueDate, messages));
    const std::optional<RedatingAdvice> advice =
        m_menstrualDueDate ? CompareWithMenstrualDueDate(scan, *m_menstrualDueDate) : std::nullopt;
    if (!advice) {
        ScanDifference->setText(QStringLiteral("（主画面の計算法が最終月経開始日のときに比べます）"));
        ScanAdvice->clear();
    } else {
        const qint64 days = advice->differenceDays;
        ScanDifference->setText(QStringLiteral("%1%2日（最終月経からの予定日 %3）")
                                    .arg(days > 0 ? QStringLiteral("+") : QString())
                                    .arg(days)
                                    .arg(CalendarDateText(advice->menstrualDueDate, messages)));
        ScanAdvice->setText(
            QStringLiteral("目安：")
            + (advice->redate ? QStringLiteral("超音波の予定日に修正") : QStringLiteral("最終月経の予定日のまま"))
            + u"（" + RedatingRuleText(advice->rule) + u"で修正）");
    }
    UseScanBtn->setEnabled(true);
}

void TUltrasoundDatingBox::ClearResults(const QString &message)
{
    m_scan.reset();
    for (QLineEdit *result : {ScanAge, ScanYoteibi, ScanDifference, ScanAdvice})
        result->clear();
    ScanMessage->setText(message);
    UseScanBtn->setEnabled(false);
}

void TUltrasoundDatingBox::UseClick()
{
    if (m_scan && m_useDueDate)
        m_useDueDate(m_scan->dueDate);
}

} // namespace ralvo
