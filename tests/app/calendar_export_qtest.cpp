// The calendar export from the main window's menu: the item shows where the
// application wires it, the save dialog is answered through the platform
// seam, and the written file holds the schedule's days, the check-ups and
// the 戌の日.

#include "app/ui/Application.h"
#include "app/ui/CalendarExportCommand.h"
#include "app/ui/RalvoMainForm.h"
#include "records/AppRecords.h"
#include "store/SettingsStore.h"
#include "support/FakePlatform.h"
#include "support/FindControl.h"
#include "textout/TextFile.h"

#include <libical/ical.h>

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace ralvo;
using test::Control;

namespace {

// The first day and the day after the last of every event, by summary.
std::map<QString, std::pair<QDate, QDate>> EventDays(const QByteArray &bytes)
{
    std::map<QString, std::pair<QDate, QDate>> days;
    icalcomponent *calendar = icalparser_parse_string(bytes.constData());
    if (!calendar)
        return days;
    const auto date = [](icaltimetype t) { return t.is_date ? QDate(t.year, t.month, t.day) : QDate(); };
    for (icalcomponent *event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
        days[QString::fromUtf8(icalcomponent_get_summary(event))] = {date(icalcomponent_get_dtstart(event)),
                                                                     date(icalcomponent_get_dtend(event))};
    icalcomponent_free(calendar);
    return days;
}

// Opens the 計算 menu and clicks `item` in it, as the user does.
void ClickMenuItem(TRalvoMainForm &form, QAction *item)
{
    auto *menu = Control<QMenu>(form, "N1");
    form.menuBar()->setActiveAction(menu->menuAction());
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(item->isVisible());
    const QRect geometry = menu->actionGeometry(item);
    QVERIFY(geometry.isValid());
    QTest::mouseClick(menu, Qt::LeftButton, {}, geometry.center());
    QTRY_VERIFY(!menu->isVisible());
}

} // namespace

class CalendarExportTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    struct Window
    {
        explicit Window(const QString &storeFile) : store(store::SettingsStore::Open(storeFile))
        {
            form = std::make_unique<TRalvoMainForm>(fake.Services(), records, store);
            form->Commands().exportCalendar =
                CalendarExportCommand(*form, records, fake.Services(), textout::WriteFileBytes,
                                      [] { return QDateTime(QDate(2024, 3, 5), QTime(12, 0), Qt::UTC); });
            form->SetBasis(0);
            form->SetYearText(QStringLiteral("2024"));
            form->SetMonthText(QStringLiteral("1"));
            form->SetDayText(QStringLiteral("1"));
            form->SetCycleText(QStringLiteral("28"));
            form->SetMotherName(QStringLiteral("サンプル"));
            form->show();
        }
        QAction *Item() const { return Control<QAction>(*form, "ExportCalendar1"); }

        test::FakePlatform fake;
        store::SettingsStore store;
        AppRecords records;
        std::unique_ptr<TRalvoMainForm> form;
    };

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    }

    void menuItemWritesTheScheduleAsACalendar()
    {
        Window w(m_dir.filePath(QStringLiteral("store1.json")));
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        const QString path = m_dir.filePath(QStringLiteral("chosen.ics"));
        w.fake.fileDialogs.answers.push_back(path);
        ClickMenuItem(*w.form, w.Item());
        if (QTest::currentTestFailed())
            return;

        QTRY_VERIFY(QFile::exists(path));
        QCOMPARE(w.fake.fileDialogs.requests.size(), std::size_t(1));
        QCOMPARE(w.fake.fileDialogs.requests.front().fileName,
                 QStringLiteral("サンプルさんの出産までのスケジュール.ics"));
        QCOMPARE(w.fake.fileDialogs.requests.front().filter, QStringLiteral("iCalendarファイル (*.ics)|*.ics"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto days = EventDays(file.readAll());
        // The week table's 42 events, the 14 check-ups, and the 戌の日 under one summary.
        QCOMPARE(days.size(), std::size_t(42 + 14 + 1));
        using Days = std::pair<QDate, QDate>;
        QCOMPARE(days.at(QStringLiteral("第1回 妊婦健診（妊娠8週）")), Days(QDate(2024, 2, 26), QDate(2024, 3, 4)));
        QCOMPARE(days.at(QStringLiteral("第14回 妊婦健診（妊娠39週）")), Days(QDate(2024, 9, 30), QDate(2024, 10, 7)));
        QVERIFY(days.count(QStringLiteral("戌の日（帯祝い）")));
        QCOMPARE(days.at(QStringLiteral("妊娠 4週 【第 2か月】")), Days(QDate(2024, 1, 29), QDate(2024, 2, 5)));
        QCOMPARE(days.at(QStringLiteral("妊娠43週")), Days(QDate(2024, 10, 28), QDate(2024, 11, 4)));
        QCOMPARE(days.at(QStringLiteral("出産予定日")), Days(QDate(2024, 10, 7), QDate(2024, 10, 8)));
        QCOMPARE(days.at(QStringLiteral("正期産")), Days(QDate(2024, 9, 16), QDate(2024, 10, 21)));
        QVERIFY(w.fake.messages.shown.empty());
        QCOMPARE(w.fake.sounds.beeps, 0);
    }

    void badInputBeepsAndAFailedWriteIsTold()
    {
        Window w(m_dir.filePath(QStringLiteral("store2.json")));
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        w.form->SetDayText(QStringLiteral("x"));
        ClickMenuItem(*w.form, w.Item());
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(w.fake.sounds.beeps, 1);
        QVERIFY(w.fake.fileDialogs.requests.empty());

        w.form->SetDayText(QStringLiteral("1"));
        const QString path = m_dir.filePath(QStringLiteral("missing/folder/x.ics"));
        w.fake.fileDialogs.answers.push_back(path);
        ClickMenuItem(*w.form, w.Item());
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE(w.fake.messages.shown.size(), std::size_t(1));
        QCOMPARE(w.fake.messages.shown.front(), QStringLiteral("ファイル %1 を作成できません").arg(path));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(w.fake.sounds.beeps, 1);
    }

    void theApplicationShowsTheItem()
    {
        Application application;
        TRalvoMainForm &form = application.MainForm();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *menu = Control<QMenu>(form, "N1");
        form.menuBar()->setActiveAction(menu->menuAction());
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(Control<QAction>(form, "ExportCalendar1")->isVisible());
        menu->close();
    }
};

QTEST_MAIN(CalendarExportTest)
#include "calendar_export_qtest.moc"
