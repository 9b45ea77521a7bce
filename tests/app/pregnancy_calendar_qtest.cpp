// The pregnancy calendar window and the day's batch, opened from the main
// window's 計算 menu with a fixed input and the fake clock: the dates, the
// marked visit, the birth-date cases, and what the buttons and the batch
// write.

#include "app/ui/BatchPdfCommand.h"
#include "app/ui/PregnancyCalendarForm.h"
#include "app/ui/RalvoMainForm.h"
#include "records/AppRecords.h"
#include "store/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/FakeSchedulePrinter.h"
#include "support/FileSystemNodes.h"
#include "support/FindControl.h"
#include "textout/TextFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace ralvo;
using test::Control;

namespace {

QString PdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!pdftotext.waitForFinished())
        return {};
    // The face gives "～" and "〜" one glyph; poppler reads it back as either.
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).replace(QChar(0x301C), QChar(0xFF5E));
}

// A line of pdfinfo's report without its key: "Pages", "Page size".
QString PdfInfo(const QString &path, const QString &key)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    if (!pdfinfo.waitForFinished())
        return {};
    for (const QString &line : QString::fromUtf8(pdfinfo.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(key + u':'))
            return line.mid(key.size() + 1).trimmed();
    }
    return {};
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class PregnancyCalendarTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    // The main window with a due date of 2026-01-15 (last period 2025-04-10)
    // and today 2025-08-30, 20 weeks 2 days: the fourth visit's week.
    struct Window
    {
        explicit Window(const QString &storeFile) : store(store::SettingsStore::Open(storeFile))
        {
            fake.clock.today = QDate(2025, 8, 30);
            form = std::make_unique<TRalvoMainForm>(fake.Services(), records, store);
            services = fake.Services();
            calendar = std::make_unique<TPregnancyCalendarForm>(
                services, records, printer, textout::WriteFileBytes,
                [] { return QDateTime(QDate(2025, 8, 30), QTime(12, 0), Qt::UTC); }, form.get());
            form->Commands().pregnancyCalendar = [this] { calendar->Open(*form); };
            form->Commands().batchPdf = [this] { MakeBatchPdf(records, services); };
            form->SetBasis(0);
            form->SetYearText(QStringLiteral("2025"));
            form->SetMonthText(QStringLiteral("4"));
            form->SetDayText(QStringLiteral("10"));
            form->SetCycleText(QStringLiteral("28"));
            form->SetMotherName(QStringLiteral("山田"));
            form->show();
        }

        // Clicks the menu item; `inside` runs while the calendar window is
        // open and closes it.
        void Click(const char *item, const std::function<void()> &inside = {})
        {
            if (inside) {
                QTimer::singleShot(0, calendar.get(), [this, inside] {
                    QTRY_VERIFY(calendar->isVisible());
                    inside();
                    calendar->reject();
                });
            }
            Control<QAction>(*form, item)->trigger();
        }

        test::FakePlatform fake;
        platform::Services services;
        store::SettingsStore store;
        AppRecords records;
        test::FakeSchedulePrinter printer;
        std::unique_ptr<TRalvoMainForm> form;
        std::unique_ptr<TPregnancyCalendarForm> calendar;
    };

    QString Path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    }

    void theItemsFollowTheExistingOnes()
    {
        Window w(Path("store-menu.json"));
        const QList<QAction *> items = Control<QMenu>(*w.form, "N1")->actions();
        QCOMPARE(items.size(), 13);
        QCOMPARE(items.at(9)->objectName(), QStringLiteral("Exit1"));
        QVERIFY(items.at(10)->isSeparator());
        QCOMPARE(items.at(11)->text(), QStringLiteral("妊娠カレンダー(&K)"));
        QCOMPARE(items.at(12)->text(), QStringLiteral("CSVから一括でPDFを作成(&B)…"));
    }

    void theWindowShowsTheDatesAndMarksThisWeeksVisit()
    {
        Window w(Path("store-open.json"));
        bool checked = false;
        w.Click("PregnancyCalendar1", [&] {
            TPregnancyCalendarForm &c = *w.calendar;
            QCOMPARE(c.windowTitle(), QStringLiteral("妊娠カレンダー"));
            QCOMPARE(Control<QLineEdit>(c, "MomName")->text(), QStringLiteral("山田"));
            QCOMPARE(Control<QLineEdit>(c, "Yoteibi")->text(), QStringLiteral("2026年1月15日（木曜日）"));
            QCOMPARE(Control<QLineEdit>(c, "Wareki")->text(), QStringLiteral("令和8年1月15日"));
            QCOMPARE(Control<QLineEdit>(c, "Honjitsu")->text(), QStringLiteral("妊娠20週2日（予定日まであと138日）"));
            QCOMPARE(Control<QLineEdit>(c, "MonthTrimester")->text(), QStringLiteral("妊娠6か月・中期"));
            QCOMPARE(Control<QLineEdit>(c, "LeaveStart")->text(), QStringLiteral("2025年12月5日（金曜日）から"));

            auto *table = Control<QTableWidget>(c, "Checkups");
            QCOMPARE(table->rowCount(), 14);
            QCOMPARE(table->item(0, 2)->text(), QStringLiteral("2025年6月5日(木)～6月11日(水)"));
            QCOMPARE(table->item(13, 2)->text(), QStringLiteral("2026年1月8日(木)～1月14日(水)"));
            QVERIFY(table->item(3, 0)->text().contains(QStringLiteral("今週")));
            QVERIFY(table->item(3, 0)->font().bold());
            const QColor dimmed = c.palette().color(QPalette::Disabled, QPalette::Text);
            QCOMPARE(table->item(2, 2)->foreground().color(), dimmed);
            QVERIFY(table->item(4, 2)->foreground().color() != dimmed);
            QCOMPARE(Control<QLineEdit>(c, "InuNoHi")->text(),
                     QStringLiteral("★2025年8月9日（土曜日）　2025年8月21日（木曜日）"));

            // Twins: the leave starts 97 days before.
            Control<QCheckBox>(c, "Multiple")->setChecked(true);
            QCOMPARE(Control<QLineEdit>(c, "LeaveStart")->text(), QStringLiteral("2025年10月10日（金曜日）から"));
            Control<QCheckBox>(c, "Multiple")->setChecked(false);

            // A birth date the rules take, one they refuse, and no date.
            auto *birth = Control<QLineEdit>(c, "Birth");
            auto *message = Control<QLabel>(c, "BirthMessage");
            birth->setText(QStringLiteral("2026/01/20"));
            QCOMPARE(Control<QLineEdit>(c, "Postnatal")->text(), QStringLiteral("2026年1月21日(水)～3月17日(火)"));
            QCOMPARE(Control<QLineEdit>(c, "Childcare")->text(),
                     QStringLiteral("2026年3月18日(水)～2027年1月19日(火)"));
            QCOMPARE(Control<QLineEdit>(c, "Allowance")->text(),
                     QStringLiteral("2025年12月5日(金)～2026年3月17日(火)"));
            QVERIFY(message->text().isEmpty());
            birth->setText(QStringLiteral("2025/06/01"));
            QVERIFY(Control<QLineEdit>(c, "Postnatal")->text().isEmpty());
            QVERIFY(message->text().contains(QStringLiteral("2025/7/4")));
            birth->setText(QStringLiteral("2026/02/30"));
            QVERIFY(message->text().contains(QStringLiteral("実在する日付")));
            QCOMPARE(w.fake.messages.shown.size(), std::size_t(0));

            // A day-5 embryo transferred on the main window's date.
            Control<QComboBox>(c, "BasisChoice")->setCurrentIndex(2);
            QCOMPARE(Control<QLineEdit>(c, "Yoteibi")->text(), QStringLiteral("2025年12月27日（土曜日）"));
            checked = true;
        });
        QVERIFY(checked);
        QCOMPARE(w.form->Basis(), 0); // the main window is not changed

        // The choices start over at the next opening.
        w.Click("PregnancyCalendar1", [&] {
            QCOMPARE(Control<QComboBox>(*w.calendar, "BasisChoice")->currentIndex(), 0);
            QVERIFY(Control<QLineEdit>(*w.calendar, "Birth")->text().isEmpty());
        });
        QCOMPARE(w.fake.sounds.beeps, 0);
    }

    // The section on ultrasound: a CRL on 2025-06-10 against the last
    // period's due date 2026-01-15, then taken into the main window.
    void aCrlScanIsComparedAndBecomesTheMainWindowsInput()
    {
        Window w(Path("store-crl.json"));
        Control<QAction>(*w.form, "N11")->trigger(); // 計算
        QVERIFY(!Control<QLineEdit>(*w.form, "Yoteibi")->text().isEmpty());
        bool checked = false;
        w.Click("PregnancyCalendar1", [&] {
            TPregnancyCalendarForm &c = *w.calendar;
            auto *date = Control<QLineEdit>(c, "ScanDate");
            auto *value = Control<QLineEdit>(c, "ScanValue");
            auto *age = Control<QLineEdit>(c, "ScanAge");
            auto *use = Control<QPushButton>(c, "UseScanBtn");
            QCOMPARE(date->text(), QStringLiteral("2025/08/30")); // today, by the clock
            QVERIFY(!use->isEnabled());
            date->clear();
            QTest::keyClicks(date, QStringLiteral("2025/06/10"));
            QTest::keyClicks(value, QStringLiteral("45"));
            QCOMPARE(age->text(), QStringLiteral("11週1日（78日）"));
            QCOMPARE(Control<QLineEdit>(c, "ScanYoteibi")->text(), QStringLiteral("2025年12月29日（月曜日）"));
            QCOMPARE(Control<QLineEdit>(c, "ScanDifference")->text(),
                     QStringLiteral("-17日（最終月経からの予定日 2026年1月15日（木曜日））"));
            QCOMPARE(Control<QLineEdit>(c, "ScanAdvice")->text(),
                     QStringLiteral("目安：超音波の予定日に修正（9週0日～15週6日は7日を超える差で修正）"));

            // Robinson's formula: a day more; beyond its range, refused with the range named.
            Control<QComboBox>(c, "ScanMethod")->setCurrentIndex(1);
            QCOMPARE(age->text(), QStringLiteral("11週2日（79日）"));
            value->setText(QStringLiteral("84.5"));
            QVERIFY(age->text().isEmpty());
            QVERIFY(!use->isEnabled());
            QVERIFY(Control<QLabel>(c, "ScanMessage")->text().contains(QStringLiteral("10.0～84.0mm")));
            value->setText(QStringLiteral("45"));

            QTest::mouseClick(use, Qt::LeftButton);
            QCOMPARE(w.form->Basis(), 2);
            QCOMPARE(w.form->YearText(), QStringLiteral("2025"));
            QCOMPARE(w.form->MonthText(), QStringLiteral("12"));
            QCOMPARE(w.form->DayText(), QStringLiteral("28"));
            QVERIFY(Control<QLineEdit>(*w.form, "Yoteibi")->text().isEmpty()); // until 計算
            // The calendar follows the main window; nothing to compare with now.
            QCOMPARE(Control<QLineEdit>(c, "Yoteibi")->text(), QStringLiteral("2025年12月28日（日曜日）"));
            QVERIFY(Control<QLineEdit>(c, "ScanAdvice")->text().isEmpty());
            checked = true;
        });
        QVERIFY(checked);
        Control<QAction>(*w.form, "N11")->trigger();
        QVERIFY(Control<QLineEdit>(*w.form, "Yoteibi")->text().startsWith(QStringLiteral("2025年12月28日")));

        // The section's inputs start over at the next opening.
        w.Click("PregnancyCalendar1", [&] {
            QCOMPARE(Control<QLineEdit>(*w.calendar, "ScanDate")->text(), QStringLiteral("2025/08/30"));
            QVERIFY(Control<QLineEdit>(*w.calendar, "ScanValue")->text().isEmpty());
            QCOMPARE(Control<QComboBox>(*w.calendar, "ScanMethod")->currentIndex(), 0);
        });
        QCOMPARE(w.fake.sounds.beeps, 0);
        QVERIFY(w.fake.messages.shown.empty());
    }

    // The weeks the scanner showed, typed as 9週3日 on today's date.
    void aScannerAgeGivesItsDueDate()
    {
        Window w(Path("store-ga.json"));
        bool checked = false;
        w.Click("PregnancyCalendar1", [&] {
            TPregnancyCalendarForm &c = *w.calendar;
            auto *value = Control<QLineEdit>(c, "ScanValue");
            Control<QComboBox>(c, "ScanKind")->setCurrentIndex(2);
            QVERIFY(!Control<QComboBox>(c, "ScanMethod")->isEnabled());
            value->setFocus();
            QTest::sendKeyEvent(QTest::Click, value, Qt::Key_unknown, QStringLiteral("9週3日"), Qt::NoModifier);
            QCOMPARE(Control<QLineEdit>(c, "ScanAge")->text(), QStringLiteral("9週3日（66日）"));
            QCOMPARE(Control<QLineEdit>(c, "ScanYoteibi")->text(), QStringLiteral("2026年4月1日（水曜日）"));
            QVERIFY(Control<QLineEdit>(c, "ScanDifference")->text().startsWith(QStringLiteral("+76日")));

            value->setText(QStringLiteral("44+0"));
            QVERIFY(Control<QLabel>(c, "ScanMessage")->text().contains(QStringLiteral("4週0日～43週6日")));
            QVERIFY(!Control<QPushButton>(c, "UseScanBtn")->isEnabled());
            value->setText(QStringLiteral("9+3"));
            QTest::mouseClick(Control<QPushButton>(c, "UseScanBtn"), Qt::LeftButton);
            checked = true;
        });
        QVERIFY(checked);
        QCOMPARE(w.form->Basis(), 2);
        QCOMPARE(w.form->YearText() + w.form->MonthText() + w.form->DayText(), QStringLiteral("20260401"));
        QCOMPARE(w.form->CycleText(), QStringLiteral("28"));
    }

    void aFieldWithoutAnIntegerBeepsAndNothingOpens()
    {
        Window w(Path("store-beep.json"));
        w.form->SetCycleText(QStringLiteral("二十八"));
        w.Click("PregnancyCalendar1");
        QCOMPARE(w.fake.sounds.beeps, 1);
        QVERIFY(!w.calendar->isVisible());
    }

    void theButtonsSavePrintAndExport()
    {
        Window w(Path("store-buttons.json"));
        const QString pdf = Path("calendar.pdf");
        const QString ics = Path("calendar.ics");
        w.records.settings.Yoshi = 0; // B5
        w.fake.fileDialogs.answers = {pdf, ics};
        w.Click("PregnancyCalendar1", [&] {
            QTest::mouseClick(Control<QPushButton>(*w.calendar, "PdfBtn"), Qt::LeftButton);
            QTest::mouseClick(Control<QPushButton>(*w.calendar, "IcsBtn"), Qt::LeftButton);
            QTest::mouseClick(Control<QPushButton>(*w.calendar, "PrintBtn"), Qt::LeftButton);
        });
        QCOMPARE(w.fake.fileDialogs.requests.at(0).fileName, QStringLiteral("山田さんの妊娠カレンダー.pdf"));
        const QString text = PdfText(pdf);
        for (const char *expected : {"山田さんの妊娠カレンダー", "妊婦健診の目安", "2025年6月5日(木)～6月11日(水)",
                                     "戌の日（帯祝い）", "2025年8月9日（土曜日）", "令和8年1月15日"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(FileBytes(ics).startsWith("BEGIN:VCALENDAR"));

        // Printed on the paper of Yoshi, the same page.
        QVERIFY(w.printer.calls.contains(QStringLiteral("end")));
        QCOMPARE(w.printer.paper, std::optional(QPageSize::JisB5));
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Page size")), QStringLiteral("516 x 729 pts")); // JIS B5
        QString printed;
        for (const test::PaintCall &call : w.printer.page->Of(test::PaintCall::Kind::Text))
            printed += call.text;
        QVERIFY(printed.contains(QStringLiteral("妊婦健診の目安")));
        QVERIFY(w.fake.messages.shown.empty());
    }

    void aBatchLeavesOutABadRowAndSaysSoOnce()
    {
        Window w(Path("store-batch.json"));
        const QString csv = Path("today.csv");
        WriteFile(csv, "name,basis,year,month,day,cycle\n"
                       "\"山田, 花子\",0,2024,1,1,28\n"
                       "高橋,0,2024,x,1,28\n"
                       "佐藤,ivf5,2024,1,20,28\n");
        const QString pdf = Path("today.pdf");
        w.fake.fileDialogs.answers = {csv, pdf};
        w.Click("BatchPdf1");
        QCOMPARE(PdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("2"));
        QCOMPARE(w.fake.progress.totals, std::vector<int>{2});
        QCOMPARE(w.fake.progress.finished, 1);
        QCOMPARE(w.fake.messages.shown.size(), std::size_t(1));
        const QString summary = w.fake.messages.shown.front();
        QVERIFY2(summary.contains(QStringLiteral("2 ページ")), qPrintable(summary));
        QVERIFY2(summary.contains(QStringLiteral("3 行目: ")), qPrintable(summary));
        QCOMPARE(w.fake.fileDialogs.requests.at(1).fileName, QStringLiteral("today.pdf"));
    }

    // The pages go into a temporary file beside the PDF as they are drawn
    // (memory stays that of one page), and never onto the table read.
    void aBatchStreamsIntoItsOutputAndNeverOntoItsTable()
    {
        Window w(Path("store-stream.json"));
        const QString csv = Path("day.csv");
        const QByteArray table = "basis,year,month,day,cycle\n0,2024,1,1,28\n0,2024,2,1,28\n0,2024,3,1,28\n";
        WriteFile(csv, table);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("out")));
        const QDir out(Path("out"));
        QStringList whileDrawing;
        w.fake.progress.onAdvance = [&](int) { whileDrawing += out.entryList(QDir::Files); };
        w.fake.fileDialogs.answers = {csv, out.filePath(QStringLiteral("day.pdf"))};
        w.Click("BatchPdf1");
        QCOMPARE(PdfInfo(out.filePath(QStringLiteral("day.pdf")), QStringLiteral("Pages")), QStringLiteral("3"));
        QVERIFY2(!whileDrawing.filter(QRegularExpression(QStringLiteral("^day\\.pdf\\.\\w{6}$"))).isEmpty(),
                 qPrintable(whileDrawing.join(u' ')));
        QCOMPARE(out.entryList(QDir::Files), QStringList{QStringLiteral("day.pdf")});

        w.fake.progress.onAdvance = {};
        const QString link = Path("link.pdf");
        QVERIFY(QFile::link(csv, link));
        for (const QString &onto : {csv, link}) {
            w.fake.fileDialogs.answers = {csv, onto};
            w.Click("BatchPdf1");
            QCOMPARE(FileBytes(csv), table);
            QVERIFY2(w.fake.messages.shown.back().contains(QStringLiteral("同じファイル")),
                     qPrintable(w.fake.messages.shown.back()));
        }
        QCOMPARE(w.fake.progress.totals.size(), std::size_t(1)); // refused before drawing
    }

    void aCancelledOrFailedBatchLeavesNoFile()
    {
        Window w(Path("store-cancel.json"));
        const QString csv = Path("three.csv");
        WriteFile(csv, "basis,year,month,day,cycle\n0,2024,1,1,28\n0,2024,2,1,28\n0,2024,3,1,28\n");
        const QString old = Path("old.pdf");
        WriteFile(old, "old bytes");
        w.fake.progress.cancelAt = 2;
        w.fake.fileDialogs.answers = {csv, old};
        w.Click("BatchPdf1");
        QCOMPARE(w.fake.progress.steps, (std::vector<int>{1, 2}));
        QCOMPARE(FileBytes(old), QByteArray("old bytes"));
        QCOMPARE(w.fake.messages.shown.size(), std::size_t(1));
        QVERIFY(w.fake.messages.shown.back().contains(QStringLiteral("キャンセル")));

        w.fake.progress.cancelAt = -1;
        const QString missing = Path("no/such/folder/out.pdf");
        w.fake.fileDialogs.answers = {csv, missing};
        w.Click("BatchPdf1");
        QVERIFY(!QFile::exists(missing));
        QCOMPARE(w.fake.messages.shown.size(), std::size_t(2));
        QVERIFY(w.fake.messages.shown.back().contains(QStringLiteral("作成できません")));

        // A full disk half-way: the old file stays byte for byte, no
        // temporary file remains, and the reason is told.
        {
            test::SmallFileSystem disk;
            if (disk.mounted()) {
                const QString onDisk = disk.filePath(QStringLiteral("day.pdf"));
                WriteFile(onDisk, "old bytes");
                QVERIFY(disk.Fill());
                w.fake.fileDialogs.answers = {csv, onDisk};
                w.Click("BatchPdf1");
                QCOMPARE(FileBytes(onDisk), QByteArray("old bytes"));
                QCOMPARE(disk.Names(), QStringList{QStringLiteral("day.pdf")});
                QVERIFY2(w.fake.messages.shown.back().contains(QStringLiteral("ディスクの空き容量が足りません")),
                         qPrintable(w.fake.messages.shown.back()));
                w.fake.messages.shown.pop_back();
            }
        }

        // A file that is no table: told, nothing asked further.
        const QString notCsv = Path("bad.csv");
        WriteFile(notCsv, "year,month\n1,2\n");
        w.fake.fileDialogs.answers = {notCsv};
        w.Click("BatchPdf1");
        QCOMPARE(w.fake.messages.shown.size(), std::size_t(3));
        QVERIFY(w.fake.fileDialogs.answers.empty());
    }
};

QTEST_MAIN(PregnancyCalendarTest)
#include "pregnancy_calendar_qtest.moc"
