// The application shell: start-up of the whole application, the About box
// and the help viewer with its book.

#include "app/ui/Application.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/PregnancyCalendarForm.h"
#include "app/ui/QtHelp.h"
#include "app/ui/RalvoMainForm.h"
#include "app/ui/VerForm.h"
#include "platform/HelpTopics.h"
#include "support/FindControl.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace ralvo;
using test::Control;

class ShellTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;

private Q_SLOTS:
    void initTestCase();
    void applicationStartsWithItsWindowsAndJapaneseQt();
    void otherWindowsFollowTheMainWindowsFirstPaint();
    void aCommandBeforeThemMakesTheOtherWindows();
    void closingTheMainWindowEndsTheRun();
    void aboutBox();
    void helpShowsEachTopicPage_data();
    void helpShowsEachTopicPage();
    void helpBookLinksResolve();
    void helpOverAModalDialogCanBeUsed();
};

void ShellTest::initTestCase()
{
    // The whole application runs on a store of its own, empty at first.
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
}

void ShellTest::applicationStartsWithItsWindowsAndJapaneseQt()
{
    Application application;
    TRalvoMainForm &form = application.MainForm();
    QCOMPARE(form.windowTitle(), QStringLiteral("らるぼPro"));
    QVERIFY(!form.windowIcon().isNull());
    // Qt's own dialogs speak Japanese.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    // The Windows faces resolve to the IPA fonts.
    QCOMPARE(QFontInfo(Control<QLineEdit>(form, "MomName")->font()).family(), QStringLiteral("IPAPGothic"));
    QCOMPARE(QFontInfo(Control<QLabel>(form, "Label4")->font()).family(), QStringLiteral("IPAGothic"));
    // The empty store of a first start gives today's date.
    QCOMPARE(Control<QLineEdit>(form, "Edit2")->text(), QString::number(QDate::currentDate().year()));
}

namespace {

// The main window's other windows: its direct children that are windows, in
// the order they were made.
QStringList OtherWindows(const QWidget &form)
{
    QStringList names;
    for (const QWidget *child : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            names << child->objectName();
    }
    return names;
}

const QStringList kOtherWindows{QStringLiteral("SetupForm"),    QStringLiteral("TextEditorForm"),
                                QStringLiteral("PrevForm"),     QStringLiteral("NoticeEditForm"),
                                QStringLiteral("KikanmeiForm"), QStringLiteral("WakuSelForm"),
                                QStringLiteral("MojiForm"),     QStringLiteral("GraphicForm"),
                                QStringLiteral("VerForm"),      QStringLiteral("PregnancyCalendarForm")};

// Calls a function at every paint of a widget.
class PaintSpy final : public QObject
{
public:
    PaintSpy(QWidget &widget, std::function<void()> onPaint) : m_onPaint(std::move(onPaint))
    {
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_onPaint();
        return false;
    }

private:
    std::function<void()> m_onPaint;
};

} // namespace

// The main window is painted before the other ten windows are made, so the
// user sees it without waiting for them; they follow at once, in their order,
// hidden, before the run goes on.
void ShellTest::otherWindowsFollowTheMainWindowsFirstPaint()
{
    Application application;
    TRalvoMainForm &form = application.MainForm();
    QVERIFY(OtherWindows(form).isEmpty());

    std::optional<QStringList> atFirstPaint;
    const PaintSpy spy(form, [&] {
        if (!atFirstPaint)
            atFirstPaint = OtherWindows(form);
    });
    QStringList made;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &form, [&] {
        if (!atFirstPaint || !form.findChild<TPregnancyCalendarForm *>())
            return;
        poll.stop();
        made = OtherWindows(form);
        for (const QString &name : std::as_const(made)) {
            if (form.findChild<QWidget *>(name)->isVisible())
                made << name + QStringLiteral(" is shown");
        }
        form.close();
    });
    poll.start(0);
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(application.Run(), 0);
    QVERIFY(atFirstPaint);
    QCOMPARE(*atFirstPaint, QStringList());
    QCOMPARE(made, kOtherWindows);
}

// A command that comes before the other windows are made (here the About box,
// before the run) makes them first.
void ShellTest::aCommandBeforeThemMakesTheOtherWindows()
{
    Application application;
    TRalvoMainForm &form = application.MainForm();
    QString shown;
    QTimer::singleShot(0, &form, [&shown] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            shown = modal->objectName();
            static_cast<QDialog *>(modal)->reject();
        }
    });
    Control<QAction>(form, "About1")->trigger();
    QCOMPARE(shown, QStringLiteral("VerForm"));
    QCOMPARE(OtherWindows(form), kOtherWindows);
    // Made once: a second command finds them.
    application.CreateSecondaryWindows();
    QCOMPARE(OtherWindows(form), kOtherWindows);
}

void ShellTest::closingTheMainWindowEndsTheRun()
{
    Application application;
    TRalvoMainForm &form = application.MainForm();
    // The help window stays open, yet closing the main window ends the run.
    QtHelp help;
    help.ShowHelp(QString());
    bool stuck = false;
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    QTimer::singleShot(10000, qApp, [&stuck] {
        stuck = true;
        QCoreApplication::exit(1);
    });
    QCOMPARE(application.Run(), 0);
    QVERIFY(!stuck);
    QVERIFY(!form.isVisible());
    QVERIFY(QFile::exists(m_configHome.filePath(QStringLiteral("ralvo/settings.json"))));
}

void ShellTest::aboutBox()
{
    TVerForm about;
    QCOMPARE(about.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(about.size(), QSize(248, 335));
    QVERIFY(!(about.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(about.windowFlags() & Qt::WindowSystemMenuHint));
    auto *version = Control<QLabel>(about, "Label1");
    QCOMPARE(version->text(), QStringLiteral("Version 2.0"));
    QCOMPARE(version->pos(), QPoint(72, 192));
    QCOMPARE(Control<QLabel>(about, "Label3")->text(), QStringLiteral("for Windows 95/98/Me/NT/2000"));
    auto *ok = Control<QPushButton>(about, "Button1");
    QCOMPARE(ok->geometry(), QRect(96, 288, 49, 25));

    // Enter presses OK and ends the modal box.
    QTimer::singleShot(0, &about, [&about] { QTest::keyClick(&about, Qt::Key_Return); });
    QCOMPARE(about.exec(), int(QDialog::Accepted));
}

void ShellTest::helpShowsEachTopicPage_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    namespace t = platform::help_topics;
    QTest::newRow("contents") << t::Contents() << "index.html";
    QTest::newRow("unknown topic") << QStringLiteral("nosuchtopic") << "index.html";
    for (const QString &topic : {t::Input(), t::Basis(), t::TextOutput(), t::Printing(), t::Preview(), t::Settings(),
                                 t::Notices(), t::Kikanmei(), t::Frames()})
        QTest::newRow(topic.toLatin1().constData()) << topic << topic + QStringLiteral(".html");
}

void ShellTest::helpShowsEachTopicPage()
{
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QtHelp help;
    help.ShowHelp(topic);
    THelpWindow *window = help.Window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->CurrentPage().fileName(), page);
    QVERIFY(window->windowTitle().contains(QStringLiteral("ヘルプ")));
    QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
}

// Every link of the book leads to a page of the book, in the source tree
// and in the copy built into the program alike.
void ShellTest::helpBookLinksResolve()
{
    const QDir source(qEnvironmentVariable("RALVO_SOURCE_DIR") + QStringLiteral("/app/help"));
    const QStringList pages = source.entryList({QStringLiteral("*.html")});
    QVERIFY(pages.size() >= 10);
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)\""));
    QtHelp::HelpBookLocation(); // registers the built-in copy
    for (const QString &page : pages) {
        QVERIFY2(QFile::exists(QStringLiteral(":/ralvo/help/") + page), qPrintable(page));
        QFile file(source.filePath(page));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY2(html.contains(QStringLiteral("lang=\"ja\"")), qPrintable(page));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(source.exists(target), qPrintable(page + QStringLiteral(" → ") + target));
        }
    }
}

void ShellTest::helpOverAModalDialogCanBeUsed()
{
    QtHelp help;
    QDialog editor;
    bool modalHelp = false;
    QTimer::singleShot(0, &editor, [&] {
        help.ShowHelp(platform::help_topics::Kikanmei());
        modalHelp = help.Window()->isModal() && QApplication::activeModalWidget() == help.Window();
        help.Window()->close();
        editor.accept();
    });
    editor.exec();
    QVERIFY(modalHelp);
    // From the main window (no modal dialog) the help is an ordinary window.
    help.ShowHelp(QString());
    QVERIFY(!help.Window()->isModal());
}

QTEST_MAIN(ShellTest)
#include "shell_qtest.moc"
