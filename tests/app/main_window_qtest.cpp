// The main window driven as a user drives it: typing, clicking the picture,
// spinning the arrows, changing the basis, New, Esc, hints and the last
// input kept between runs.

#include "app/ui/ImageControl.h"
#include "app/ui/RalvoMainForm.h"
#include "app/ui/UpDown.h"
#include "calc/Gestation.h"
#include "calc/GestationalAge.h"
#include "records/AppRecords.h"
#include "store/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/FindControl.h"

#include <QAction>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace ralvo;

namespace {

// One run of the main window over a store file in a temporary folder.
struct Run
{
    explicit Run(const QString &storeFile, QDate today = QDate(2024, 3, 5))
        : store(store::SettingsStore::Open(storeFile))
    {
        fake.clock.today = today;
        form = std::make_unique<TRalvoMainForm>(fake.Services(), records, store);
    }

    template<typename T = QWidget>
    T *Get(const char *name, const std::source_location &where = std::source_location::current()) const
    {
        return test::Control<T>(*form, name, where);
    }
    QLineEdit *Edit(const char *name) const { return Get<QLineEdit>(name); }
    QString Text(const char *name) const { return Edit(name)->text(); }
    QAction *Item(const char *name) const { return Get<QAction>(name); }

    void Type(const char *name, const QString &text) const
    {
        QLineEdit *edit = Edit(name);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void ClickPicture() const { QTest::mouseClick(Get<TImage>("Image1"), Qt::LeftButton); }
    void Spin(const char *name, int direction, int times = 1) const
    {
        auto *upDown = Get<TUpDown>(name);
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(direction > 0 ? upDown->UpButton() : upDown->DownButton(), Qt::LeftButton);
    }
    QStringList Results() const { return {Text("Yoteibi"), Text("Hairanbi"), Text("Chakushobi")}; }
    bool ResultsEmpty() const
    {
        return Results() == QStringList{QString(), QString(), QString()} && Text("Honjitsu").isEmpty();
    }

    test::FakePlatform fake;
    store::SettingsStore store;
    AppRecords records;
    std::unique_ptr<TRalvoMainForm> form;
};

// Columns from the first to the last pixel of dark ink in `area`.
int InkWidth(const QImage &image, const QRect &area)
{
    int first = -1;
    int last = -1;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    }
    return first < 0 ? 0 : last - first + 1;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_stores = 0;
    QString NewStoreFile() { return m_dir.filePath(QStringLiteral("store%1.json").arg(++m_stores)); }

private Q_SLOTS:
    void firstStartFillsTheFieldsAsNew();
    void calculation_data();
    void calculation();
    void todayLine_data();
    void todayLine();
    void todayLineFitsBelowTheResults();
    void calculationWithABadFieldOnlyBeeps_data();
    void calculationWithABadFieldOnlyBeeps();
    void inputChangesClearTheResults_data();
    void inputChangesClearTheResults();
    void basisSelection();
    void spinnersStepTheirFields_data();
    void spinnersStepTheirFields();
    void cycleSpinnerStopsAtTheEndsOfItsRange();
    void spinnerOnABadFieldBeepsAndChangesNothing();
    void newTakesTodayWithTwoDigits();
    void pictureShowsItsPressedLook();
    void statusBarShowsTheHint();
    void tabOrder_data();
    void tabOrder();
    void inputMethodsFocusAndCursors();
    void commandsReachTheirOperation_data();
    void commandsReachTheirOperation();
    void helpOpensTheTableOfContents();
    void escapeClosesAndStoresTheLastInput();
    void closeWithABadFieldStaysOpen();
    void lastInputSurvivesARestart();
    void yearFieldShowsAFourDigitYearWhole();
};

void MainWindowTest::firstStartFillsTheFieldsAsNew()
{
    Run run(NewStoreFile(), QDate(2024, 3, 5));
    QCOMPARE(run.form->windowTitle(), QStringLiteral("らるぼPro"));
    QCOMPARE(run.Text("Cycle"), QStringLiteral("28"));
    QCOMPARE(run.Text("Edit2"), QStringLiteral("2024"));
    QCOMPARE(run.Text("Edit3"), QStringLiteral("03"));
    QCOMPARE(run.Text("Edit4"), QStringLiteral("05"));
    QCOMPARE(run.Text("MomName"), QString());
    QVERIFY(run.Get<QRadioButton>("RadioButton1")->isChecked());
    QVERIFY(run.Edit("Cycle")->isEnabled());
    QVERIFY(run.ResultsEmpty());
    QVERIFY(run.fake.messages.shown.empty());
    QCOMPARE(run.fake.sounds.beeps, 0);
}

void MainWindowTest::calculation_data()
{
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("cycle");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QStringList>("results");

    const QStringList standard{QStringLiteral("2024年10月7日（月曜日）"), QStringLiteral("2024年1月15日（月曜日）"),
                               QStringLiteral("2024年1月22日（月曜日）")};
    QTest::newRow("last period, cycle 28, picture") << "RadioButton1"
                                                    << "2024"
                                                    << "1"
                                                    << "1"
                                                    << "28" << false << standard;
    QTest::newRow("last period, cycle 28, menu") << "RadioButton1"
                                                 << "2024"
                                                 << "1"
                                                 << "1"
                                                 << "28" << true << standard;
    QTest::newRow("last period, cycle 35")
        << "RadioButton1"
        << "2024"
        << "1"
        << "1"
        << "35" << false
        << QStringList{QStringLiteral("2024年10月14日（月曜日）"), QStringLiteral("2024年1月22日（月曜日）"),
                       QStringLiteral("2024年1月29日（月曜日）")};
    QTest::newRow("basal temperature ignores the cycle") << "RadioButton2"
                                                         << "2024"
                                                         << "1"
                                                         << "15"
                                                         << "35" << false << standard;
    QTest::newRow("ultrasound due date") << "RadioButton3"
                                         << "2024"
                                         << "10"
                                         << "7"
                                         << "28" << true << standard;
    QTest::newRow("day beyond the month is carried")
        << "RadioButton1"
        << "2024"
        << "2"
        << "30"
        << "28" << false
        << QStringList{QStringLiteral("2024年12月6日（金曜日）"), QStringLiteral("2024年3月15日（金曜日）"),
                       QStringLiteral("2024年3月22日（金曜日）")};
}

void MainWindowTest::calculation()
{
    QFETCH(QString, radio);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QString, day);
    QFETCH(QString, cycle);
    QFETCH(bool, fromMenu);
    QFETCH(QStringList, results);

    Run run(NewStoreFile());
    run.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
    QTest::mouseClick(run.Get<QRadioButton>(radio.toLatin1().constData()), Qt::LeftButton);
    run.Type("Edit2", year);
    run.Type("Edit3", month);
    run.Type("Edit4", day);
    run.Type("Cycle", cycle);
    if (fromMenu)
        run.Item("N11")->trigger();
    else
        run.ClickPicture();
    QCOMPARE(run.Results(), results);
    QCOMPARE(run.fake.sounds.beeps, 0);
}

void MainWindowTest::todayLine_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("line");
    // Last period 2024-01-01: due 2024-10-07, 280 days after.
    QTest::newRow("the day before 0 weeks 0 days") << QDate(2023, 12, 31) << "本日は妊娠期間外です";
    QTest::newRow("0 weeks 0 days") << QDate(2024, 1, 1) << "妊娠0週0日（予定日まであと280日）";
    QTest::newRow("last day of week 0") << QDate(2024, 1, 7) << "妊娠0週6日（予定日まであと274日）";
    QTest::newRow("first day of week 1") << QDate(2024, 1, 8) << "妊娠1週0日（予定日まであと273日）";
    QTest::newRow("leap day") << QDate(2024, 2, 29) << "妊娠8週3日（予定日まであと221日）";
    QTest::newRow("12 weeks 3 days") << QDate(2024, 3, 28) << "妊娠12週3日（予定日まであと193日）";
    QTest::newRow("the day before the due date") << QDate(2024, 10, 6) << "妊娠39週6日（予定日まであと1日）";
    QTest::newRow("the due date") << QDate(2024, 10, 7) << "妊娠40週0日（予定日当日）";
    QTest::newRow("after the due date") << QDate(2024, 10, 16) << "妊娠41週2日（予定日から9日経過）";
    QTest::newRow("43 weeks 6 days") << QDate(2024, 11, 3) << "妊娠43週6日（予定日から27日経過）";
    QTest::newRow("44 weeks 0 days") << QDate(2024, 11, 4) << "本日は妊娠期間外です";
}

void MainWindowTest::todayLine()
{
    QFETCH(QDate, today);
    QFETCH(QString, line);
    Run run(NewStoreFile(), today);
    run.Type("Edit2", QStringLiteral("2024"));
    run.Type("Edit3", QStringLiteral("1"));
    run.Type("Edit4", QStringLiteral("1"));
    QCOMPARE(run.Text("Honjitsu"), QString());
    run.ClickPicture();
    QCOMPARE(run.Text("Honjitsu"), line);

    // The same due date from the ultrasound basis gives the same line; a day
    // later on the clock, the next day's line.
    QTest::mouseClick(run.Get<QRadioButton>("RadioButton3"), Qt::LeftButton);
    QCOMPARE(run.Text("Honjitsu"), QString());
    run.Type("Edit3", QStringLiteral("10"));
    run.Type("Edit4", QStringLiteral("7"));
    run.Item("N11")->trigger();
    QCOMPARE(run.Text("Honjitsu"), line);
    const QDate weekBefore = today.addDays(-7);
    run.fake.clock.today = weekBefore;
    run.ClickPicture();
    const auto age = GestationalAgeOn(CalendarDate{2024, 10, 7},
                                      CalendarDate{weekBefore.year(), weekBefore.month(), weekBefore.day()});
    QVERIFY(age);
    QCOMPARE(run.Text("Honjitsu"), TodayLineText(*age));
    QVERIFY(run.Edit("Honjitsu")->isReadOnly());
}

void MainWindowTest::todayLineFitsBelowTheResults()
{
    Run run(NewStoreFile(), QDate(2024, 3, 28));
    run.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
    run.Type("Edit2", QStringLiteral("2024"));
    run.Type("Edit3", QStringLiteral("1"));
    run.Type("Edit4", QStringLiteral("1"));
    run.ClickPicture();
    // Every control of the two panels keeps its place; the line lies inside
    // the input panel, below the implantation day, and shows its whole text.
    QCOMPARE(run.Get("Panel2")->pos(), QPoint(8, 8));
    QCOMPARE(run.Get("Panel1")->pos(), QPoint(280, 8));
    QCOMPARE(run.Get("Chakushobi")->geometry(), QRect(72, 280, 161, 20));
    QCOMPARE(run.Get("CloseBtn")->geometry(), QRect(40, 280, 49, 25));
    QWidget *line = run.Get("Honjitsu");
    QCOMPARE(line->parentWidget(), run.Get("Panel2"));
    QVERIFY(run.Get<QFrame>("Panel2")->contentsRect().contains(line->geometry()));
    QVERIFY(line->geometry().top() > run.Get("Chakushobi")->geometry().bottom());
    QVERIFY(run.Get("Label14")->geometry().right() < line->geometry().left());
    QLineEdit *edit = run.Edit("Honjitsu");
    edit->setCursorPosition(0);
    QVERIFY(edit->fontMetrics().horizontalAdvance(edit->text()) < edit->width() - 4);
    QVERIFY(edit->focusPolicy() == Qt::ClickFocus); // no tab stop: the tab order stays
}

void MainWindowTest::calculationWithABadFieldOnlyBeeps_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty day") << "Edit4"
                               << "";
    QTest::newRow("letters in the year") << "Edit2"
                                         << "20x4";
    QTest::newRow("cycle out of range") << "Cycle"
                                        << "99999999999";
    QTest::newRow("month 13") << "Edit3"
                              << "13";
}

void MainWindowTest::calculationWithABadFieldOnlyBeeps()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    Run run(NewStoreFile());
    run.ClickPicture();
    QVERIFY(!run.ResultsEmpty());
    run.Type(field.toLatin1().constData(), text);
    QVERIFY(run.ResultsEmpty());
    run.ClickPicture();
    QCOMPARE(run.fake.sounds.beeps, 1);
    QVERIFY(run.ResultsEmpty());
    QVERIFY(run.fake.messages.shown.empty());
}

void MainWindowTest::inputChangesClearTheResults_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("clears");
    QTest::newRow("year") << "Edit2" << true;
    QTest::newRow("month") << "Edit3" << true;
    QTest::newRow("day") << "Edit4" << true;
    QTest::newRow("cycle") << "Cycle" << true;
    QTest::newRow("mother's name") << "MomName" << false;
}

void MainWindowTest::inputChangesClearTheResults()
{
    QFETCH(QString, field);
    QFETCH(bool, clears);
    Run run(NewStoreFile());
    run.ClickPicture();
    const QStringList before = run.Results();
    QVERIFY(!run.ResultsEmpty());
    QTest::keyClicks(run.Edit(field.toLatin1().constData()), QStringLiteral("1"));
    QCOMPARE(run.ResultsEmpty(), clears);
    if (!clears)
        QCOMPARE(run.Results(), before);
}

void MainWindowTest::basisSelection()
{
    Run run(NewStoreFile());
    run.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
    auto *radio1 = run.Get<QRadioButton>("RadioButton1");
    auto *radio3 = run.Get<QRadioButton>("RadioButton3");

    run.ClickPicture();
    const QStringList results = run.Results();
    QTest::mouseClick(radio1, Qt::LeftButton); // already checked: nothing changes
    QCOMPARE(run.Results(), results);
    QVERIFY(run.Edit("Cycle")->isEnabled());

    QTest::mouseClick(radio3, Qt::LeftButton);
    QVERIFY(radio3->isChecked());
    QVERIFY(run.ResultsEmpty());
    QVERIFY(!run.Edit("Cycle")->isEnabled());

    // The greyed cycle still follows its spinner, and the step clears.
    run.ClickPicture();
    QVERIFY(!run.ResultsEmpty());
    run.Spin("UpDown1", +1);
    QCOMPARE(run.Text("Cycle"), QStringLiteral("29"));
    QVERIFY(run.ResultsEmpty());

    // Neither New nor a change of basis computes anything.
    QTest::mouseClick(run.Get<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(run.ResultsEmpty());
    QVERIFY(radio3->isChecked());
    QTest::mouseClick(run.Get<QRadioButton>("RadioButton2"), Qt::LeftButton);
    QVERIFY(run.ResultsEmpty());
    QVERIFY(!run.Edit("Cycle")->isEnabled());
    QTest::mouseClick(radio1, Qt::LeftButton);
    QVERIFY(run.Edit("Cycle")->isEnabled());
}

void MainWindowTest::spinnersStepTheirFields_data()
{
    QTest::addColumn<QString>("spinner");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("before"); // year, month, day, cycle
    QTest::addColumn<QStringList>("after");

    QTest::newRow("cycle up") << "UpDown1" << +1 << QStringList{"2024", "1", "1", "28"}
                              << QStringList{"2024", "1", "1", "29"};
    QTest::newRow("year down, 29 February kept")
        << "UpDown2" << -1 << QStringList{"2024", "2", "29", "28"} << QStringList{"2023", "2", "29", "28"};
    QTest::newRow("month up into the next year")
        << "UpDown3" << +1 << QStringList{"2024", "12", "31", "28"} << QStringList{"2025", "1", "31", "28"};
    QTest::newRow("month down into the last year")
        << "UpDown3" << -1 << QStringList{"2024", "1", "5", "28"} << QStringList{"2023", "12", "5", "28"};
    QTest::newRow("month up drops the leading zero")
        << "UpDown3" << +1 << QStringList{"2024", "03", "05", "28"} << QStringList{"2024", "4", "05", "28"};
    QTest::newRow("day up into the next year")
        << "UpDown4" << +1 << QStringList{"2024", "12", "31", "28"} << QStringList{"2025", "1", "1", "28"};
    QTest::newRow("day up into leap day")
        << "UpDown4" << +1 << QStringList{"2024", "2", "28", "28"} << QStringList{"2024", "2", "29", "28"};
    QTest::newRow("day down into the last year")
        << "UpDown4" << -1 << QStringList{"2024", "1", "1", "28"} << QStringList{"2023", "12", "31", "28"};
}

void MainWindowTest::spinnersStepTheirFields()
{
    QFETCH(QString, spinner);
    QFETCH(int, direction);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    const char *fields[] = {"Edit2", "Edit3", "Edit4", "Cycle"};

    Run run(NewStoreFile());
    for (int i = 0; i < 4; ++i)
        run.Edit(fields[i])->setText(before.at(i));
    run.ClickPicture();
    run.Spin(spinner.toLatin1().constData(), direction);
    QStringList now;
    for (const char *field : fields)
        now << run.Text(field);
    QCOMPARE(now, after);
    QVERIFY(run.ResultsEmpty());
    QCOMPARE(run.fake.sounds.beeps, 0);
}

void MainWindowTest::cycleSpinnerStopsAtTheEndsOfItsRange()
{
    Run run(NewStoreFile());
    run.Spin("UpDown1", -1, 28);
    QCOMPARE(run.Text("Cycle"), QStringLiteral("0"));
    run.Spin("UpDown1", -1); // the lower end: nothing happens
    QCOMPARE(run.Text("Cycle"), QStringLiteral("0"));

    // Typing does not move the spinner: from its lower end it has 78 steps up.
    run.Type("Cycle", QStringLiteral("10"));
    run.Spin("UpDown1", +1, 78);
    QCOMPARE(run.Text("Cycle"), QStringLiteral("88"));
    run.Spin("UpDown1", +1);
    QCOMPARE(run.Text("Cycle"), QStringLiteral("88"));
    run.Spin("UpDown1", -1);
    QCOMPARE(run.Text("Cycle"), QStringLiteral("87"));
    QCOMPARE(run.fake.sounds.beeps, 0);

    auto *year = run.Get<TUpDown>("UpDown2");
    QCOMPARE(year->Minimum(), -32768);
    QCOMPARE(year->Maximum(), 32767);
    QCOMPARE(year->Position(), 0);
}

void MainWindowTest::spinnerOnABadFieldBeepsAndChangesNothing()
{
    Run run(NewStoreFile());
    run.Type("Edit2", QStringLiteral("abc"));
    run.Spin("UpDown3", -1); // March to February needs no year: no beep
    QCOMPARE(run.Text("Edit3"), QStringLiteral("2"));
    QCOMPARE(run.fake.sounds.beeps, 0);
    run.Type("Edit3", QStringLiteral("1"));
    run.Spin("UpDown3", -1); // January back needs the year
    QCOMPARE(run.fake.sounds.beeps, 1);
    QCOMPARE(run.Text("Edit2"), QStringLiteral("abc"));
    QCOMPARE(run.Text("Edit3"), QStringLiteral("1"));
    run.Spin("UpDown4", +1);
    QCOMPARE(run.fake.sounds.beeps, 2);
    QCOMPARE(run.Text("Edit4"), QStringLiteral("05"));
}

void MainWindowTest::newTakesTodayWithTwoDigits()
{
    Run run(NewStoreFile());
    run.Type("Edit2", QStringLiteral("1999"));
    run.Type("Cycle", QStringLiteral("30"));
    QTest::keyClicks(run.Edit("MomName"), QStringLiteral("Hanako"));
    run.fake.clock.today = QDate(2025, 9, 8);
    QTest::mouseClick(run.Get<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(run.Text("Edit2"), QStringLiteral("2025"));
    QCOMPARE(run.Text("Edit3"), QStringLiteral("09"));
    QCOMPARE(run.Text("Edit4"), QStringLiteral("08"));
    QCOMPARE(run.Text("Cycle"), QStringLiteral("28"));
    QCOMPARE(run.Text("MomName"), QString());
}

void MainWindowTest::pictureShowsItsPressedLook()
{
    Run run(NewStoreFile());
    auto *image1 = run.Get<TImage>("Image1");
    const QImage released = run.Get<TImage>("Image2")->Picture().toImage();
    const QImage pressed = run.Get<TImage>("Image3")->Picture().toImage();
    QCOMPARE(released.size(), QSize(67, 58));
    QCOMPARE(pressed.size(), QSize(67, 58));
    QVERIFY(released != pressed);
    QCOMPARE(image1->Picture().toImage(), released);
    QTest::mousePress(image1, Qt::LeftButton);
    QCOMPARE(image1->Picture().toImage(), pressed);
    QVERIFY(run.ResultsEmpty()); // a press alone computes nothing
    QTest::mouseRelease(image1, Qt::LeftButton);
    QCOMPARE(image1->Picture().toImage(), released);
    QVERIFY(!run.ResultsEmpty());
    QCOMPARE(image1->cursor().shape(), Qt::PointingHandCursor);
}

void MainWindowTest::statusBarShowsTheHint()
{
    Run run(NewStoreFile());
    run.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
    QStatusBar *status = run.form->statusBar();
    const auto hover = [](QWidget *widget) { QTest::mouseMove(widget, QPoint(3, 3)); };

    hover(run.Edit("Edit3"));
    QTRY_COMPARE(status->currentMessage(), QStringLiteral("ここに計算の基準となる日付を入力してください"));
    hover(run.Get<QLabel>("Label1"));
    QTRY_COMPARE(status->currentMessage(), QStringLiteral("ここに母親名を入力すると、ｽｹｼﾞｭｰﾙ表に印刷されます"));
    hover(run.Get<QLabel>("Label12")); // no hint of its own, nor has its panel
    QTRY_COMPARE(status->currentMessage(), QString());
    hover(run.Get<TImage>("Image1"));
    QTRY_COMPARE(status->currentMessage(), QStringLiteral("出産予定日を計算します"));
    // The greyed cycle field still shows its hint.
    QTest::mouseClick(run.Get<QRadioButton>("RadioButton2"), Qt::LeftButton);
    hover(run.Edit("Cycle"));
    QTRY_COMPARE(status->currentMessage().left(8), QStringLiteral("最終月経初日から"));

    // A highlighted menu item shows its hint.
    run.form->menuBar()->setActiveAction(run.Get<QMenu>("N1")->menuAction());
    auto *menu = run.Get<QMenu>("N1");
    QTRY_VERIFY(menu->isVisible());
    // No calendar export is wired here: its item does not show.
    QVERIFY(!run.Item("ExportCalendar1")->isVisible());
    QTRY_COMPARE(status->currentMessage(), QStringLiteral("出産予定日の計算やｽｹｼﾞｭｰﾙを出力します"));
    menu->setActiveAction(run.Item("PrintPreview1"));
    QTRY_COMPARE(status->currentMessage(), QStringLiteral("ｽｹｼﾞｭｰﾙ表の印刷ﾌﾟﾚﾋﾞｭｰ画面を表示します"));
    menu->close();
    QTRY_COMPARE(status->currentMessage(), QString());
}

void MainWindowTest::tabOrder_data()
{
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QStringList>("order");
    const QStringList commands{"SchdlBtn", "SignBtn", "CloseBtn", "PrintBtn", "BitBtn1"};
    QTest::newRow("last period") << "RadioButton1"
                                 << commands + QStringList{"MomName",    "Cycle",   "RadioButton1", "Edit2",
                                                           "Edit3",      "Edit4",   "Yoteibi",      "Hairanbi",
                                                           "Chakushobi", "Button1", "SchdlBtn"};
    QTest::newRow("basal temperature") << "RadioButton2"
                                       << commands + QStringList{"MomName", "RadioButton2", "Edit2",    "Edit3",
                                                                 "Edit4",   "Yoteibi",      "Hairanbi", "Chakushobi",
                                                                 "Button1", "SchdlBtn"};
    QTest::newRow("ultrasound") << "RadioButton3"
                                << commands + QStringList{"MomName",      "Edit2",    "Edit3",      "Edit4",
                                                          "Yoteibi",      "Hairanbi", "Chakushobi", "Button1",
                                                          "RadioButton3", "SchdlBtn"};
}

void MainWindowTest::tabOrder()
{
    QFETCH(QString, basis);
    QFETCH(QStringList, order);
    Run run(NewStoreFile());
    run.form->show();
    QVERIFY(QTest::qWaitForWindowActive(run.form.get()));
    run.Get<QRadioButton>(basis.toLatin1().constData())->click();
    auto *first = run.Get<QPushButton>("SchdlBtn");
    first->setFocus(Qt::TabFocusReason);
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
}

void MainWindowTest::inputMethodsFocusAndCursors()
{
    Run run(NewStoreFile());
    for (const char *name : {"Edit2", "Edit3", "Edit4", "Cycle"})
        QVERIFY2(!run.Edit(name)->testAttribute(Qt::WA_InputMethodEnabled), name);
    QVERIFY(run.Edit("MomName")->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(!(run.Edit("MomName")->inputMethodHints() & Qt::ImhLatinOnly));
    for (const char *name : {"UpDown1", "UpDown2", "UpDown3", "UpDown4"})
        QCOMPARE(run.Get(name)->focusPolicy(), Qt::NoFocus);
    // Every button, radio button, spinner arrow and the picture show a hand.
    for (const char *name : {"Button1", "SchdlBtn", "BitBtn1", "PrintBtn", "SignBtn", "CloseBtn", "RadioButton1",
                             "RadioButton2", "RadioButton3", "Image1"})
        QVERIFY2(run.Get(name)->cursor().shape() == Qt::PointingHandCursor, name);
    for (const char *name : {"UpDown1", "UpDown2", "UpDown3", "UpDown4"}) {
        auto *upDown = run.Get<TUpDown>(name);
        QVERIFY2(upDown->UpButton()->cursor().shape() == Qt::PointingHandCursor, name);
        QVERIFY2(upDown->DownButton()->cursor().shape() == Qt::PointingHandCursor, name);
    }
}

void MainWindowTest::commandsReachTheirOperation_data()
{
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<bool>("isMenuItem");
    QTest::addColumn<QString>("command");
    QTest::newRow("SchdlBtn") << "SchdlBtn" << false << "textOutput";
    QTest::newRow("N2") << "N2" << true << "textOutput";
    QTest::newRow("BitBtn1") << "BitBtn1" << false << "printPreview";
    QTest::newRow("PrintPreview1") << "PrintPreview1" << true << "printPreview";
    QTest::newRow("PrintBtn") << "PrintBtn" << false << "print";
    QTest::newRow("N7") << "N7" << true << "print";
    QTest::newRow("SavePdf1") << "SavePdf1" << true << "savePdf";
    QTest::newRow("ExportCalendar1") << "ExportCalendar1" << true << "exportCalendar";
    QTest::newRow("SignBtn") << "SignBtn" << false << "editSettings";
    QTest::newRow("S1") << "S1" << true << "editSettings";
    QTest::newRow("About1") << "About1" << true << "showAbout";
}

void MainWindowTest::commandsReachTheirOperation()
{
    QFETCH(QString, trigger);
    QFETCH(bool, isMenuItem);
    QFETCH(QString, command);
    Run run(NewStoreFile());
    const QByteArray name = trigger.toLatin1();
    const auto fire = [&] {
        if (isMenuItem)
            run.Item(name.constData())->trigger();
        else
            QTest::mouseClick(run.Get<QPushButton>(name.constData()), Qt::LeftButton);
    };
    fire(); // not wired yet: nothing happens

    QStringList calls;
    MainCommands &commands = run.form->Commands();
    commands.textOutput = [&] { calls << QStringLiteral("textOutput"); };
    commands.printPreview = [&] { calls << QStringLiteral("printPreview"); };
    commands.print = [&] { calls << QStringLiteral("print"); };
    commands.savePdf = [&] { calls << QStringLiteral("savePdf"); };
    commands.exportCalendar = [&] { calls << QStringLiteral("exportCalendar"); };
    commands.editSettings = [&] { calls << QStringLiteral("editSettings"); };
    commands.showAbout = [&] { calls << QStringLiteral("showAbout"); };
    fire();
    QCOMPARE(calls, QStringList{command});
    QVERIFY(run.ResultsEmpty()); // no command computes into the result fields
}

void MainWindowTest::helpOpensTheTableOfContents()
{
    Run run(NewStoreFile());
    run.Item("SearchforHelpOn1")->trigger();
    QCOMPARE(run.fake.help.topics, QStringList{QString()});
}

void MainWindowTest::escapeClosesAndStoresTheLastInput()
{
    const QString file = NewStoreFile();
    Run run(file);
    run.form->show();
    QVERIFY(QTest::qWaitForWindowActive(run.form.get()));
    QSignalSpy closed(run.form.get(), &TRalvoMainForm::Closed);
    run.Type("Cycle", QStringLiteral("31"));
    run.Edit("Edit2")->setFocus();
    QTest::keyClick(run.Edit("Edit2"), Qt::Key_Escape);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!run.form->isVisible());
    QVERIFY(run.fake.messages.shown.empty());

    const auto store = store::SettingsStore::Open(file, store::SettingsStore::Access::ReadOnly);
    const auto stored = store.OpenKeyForReading(store_keys::LastData());
    QVERIFY(stored);
    QCOMPARE(stored->Value(QStringLiteral("Shuki"))->integer(), 31);
    QCOMPARE(stored->Value(QStringLiteral("KijunM"))->integer(), 3);
}

void MainWindowTest::closeWithABadFieldStaysOpen()
{
    Run run(NewStoreFile());
    run.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
    QSignalSpy closed(run.form.get(), &TRalvoMainForm::Closed);
    run.Type("Edit2", QString());
    QTest::mouseClick(run.Get<QPushButton>("CloseBtn"), Qt::LeftButton);
    QCOMPARE(closed.count(), 0);
    QVERIFY(run.form->isVisible());
    QCOMPARE(run.fake.messages.shown, std::vector<QString>{QStringLiteral("'' は整数ではありません")});

    run.Type("Edit2", QStringLiteral("2024"));
    run.Item("Exit1")->trigger();
    QCOMPARE(closed.count(), 1);
    QVERIFY(!run.form->isVisible());
}

void MainWindowTest::lastInputSurvivesARestart()
{
    const QString file = NewStoreFile();
    {
        Run first(file, QDate(2024, 3, 5));
        first.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(first.form.get()));
        QTest::mouseClick(first.Get<QRadioButton>("RadioButton3"), Qt::LeftButton);
        first.Type("Edit4", QStringLiteral("17"));
        QTest::sendKeyEvent(QTest::Click, first.Edit("MomName"), Qt::Key_unknown, QStringLiteral("花子"),
                            Qt::NoModifier);
        first.ClickPicture();
        QVERIFY(first.form->close());
    }
    Run second(file, QDate(2030, 12, 31));
    QVERIFY(second.Get<QRadioButton>("RadioButton3")->isChecked());
    QVERIFY(!second.Edit("Cycle")->isEnabled());
    QCOMPARE(second.Text("Edit2"), QStringLiteral("2024"));
    QCOMPARE(second.Text("Edit3"), QStringLiteral("3")); // stored as a number: no leading zero
    QCOMPARE(second.Text("Edit4"), QStringLiteral("17"));
    QCOMPARE(second.Text("MomName"), QStringLiteral("花子"));
    QCOMPARE(second.Text("Cycle"), QStringLiteral("28"));
    QVERIFY(second.ResultsEmpty());
    QVERIFY(second.fake.messages.shown.empty());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_qtest.moc"

void MainWindowTest::yearFieldShowsAFourDigitYearWhole()
{
    Run run(NewStoreFile());
    run.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.form.get()));
    QLineEdit *year = run.Edit("Edit2");
    QCOMPARE(year->geometry(), QRect(8, 96, 33, 20));
    for (const QString &text : {QStringLiteral("2024"), QStringLiteral("1999"), QStringLiteral("2000")}) {
        year->setText(text); // the cursor at the end, as after typing
        year->clearFocus();  // and not drawn
        const QImage field = year->grab().toImage();
        // The same digits drawn in the field's font with room to spare.
        QImage whole(200, 40, QImage::Format_RGB32);
        whole.fill(Qt::white);
        {
            QPainter painter(&whole);
            painter.setFont(year->font());
            painter.setPen(Qt::black);
            painter.drawText(QPointF(20, 28), text);
        }
        // Inside the frame, no digit is cut off at either side.
        QCOMPARE(InkWidth(field, year->rect().adjusted(2, 2, -2, -2)), InkWidth(whole, whole.rect()));
    }
}
