// The settings dialog and the notice editor driven through their controls,
// offscreen, with a fake colour chooser.

#include "platform/Fonts.h"
#include "platform/SharedColorChooser.h"
#include "platform/qt/ColorGlyphButton.h"
#include "settings/ui/NoticeEditForm.h"
#include "settings/ui/SetupForm.h"
#include "support/FakePlatform.h"
#include "support/FindControl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace ralvo;
using platform::ColorGlyphButton;
using test::Control;

namespace {

// Clicks the button, check box or radio button `name` of `window`.
void Click(const QObject &window, const char *name, const std::source_location &where = std::source_location::current())
{
    QTest::mouseClick(Control<QAbstractButton>(window, name, where), Qt::LeftButton);
}

template<class T>
QList<T *> Controls(const QObject &window, std::initializer_list<const char *> names)
{
    QList<T *> controls;
    for (const char *name : names)
        controls.append(Control<T>(window, name));
    return controls;
}

// Field n of the notice editor (week n + 3): its text and its colour button.
QLineEdit *NoticeText(const TNoticeEditForm &editor, int n)
{
    return Control<QLineEdit>(editor, QStringLiteral("Edit%1").arg(n));
}
ColorGlyphButton *NoticeColour(const TNoticeEditForm &editor, int n)
{
    return Control<ColorGlyphButton>(editor, QStringLiteral("BitBtn%1").arg(n));
}

// Runs `act` once `dialog` runs modally. Whatever `act` leaves open (a failed
// check returns early) is cancelled, so a failure never hangs the test.
void WhenShown(QDialog &dialog, std::function<void()> act)
{
    QTimer::singleShot(0, &dialog, [&dialog, act = std::move(act)] {
        QVERIFY(dialog.isVisible());
        act();
        if (dialog.isVisible())
            dialog.reject();
    });
}

// Settings different from the first-run ones in every field.
ScheduleSettings Customised()
{
    ScheduleSettings s;
    s.Tit = QStringLiteral("??様の予定");
    s.Yoteiyogo = 1;
    s.Tsuki1 = QStringLiteral("第");
    s.Tsuki2 = QStringLiteral("月");
    s.Shu1 = QStringLiteral("W");
    s.Shu2 = QString();
    s.Yoshi = 0;
    s.Hani = 2;
    s.Shumatsucheck = false;
    s.Noticecheck = false;
    s.Kikanmeicheck = false;
    s.Titfont = QStringLiteral("IPAMincho");
    s.Titcolor = 0x111111;
    s.Yotfont = QStringLiteral("IPAGothic");
    s.Yotcolor = 0x222222;
    s.MWfont = QStringLiteral("IPAMincho");
    s.MWcolor = 0x333333;
    s.Dayfont = QStringLiteral("IPAGothic");
    s.Daycolor = 0x444444;
    s.Notfont = QStringLiteral("IPAMincho");
    s.Seikicolor = 0x555555;
    s.Yoteibicolor = 0x666666;
    s.Colorcheck = false;
    return s;
}

struct Fixture
{
    test::FakeColorChooser fakeChooser;
    platform::SharedColorChooser chooser{fakeChooser};
    ScheduleSettings settings;
    NoticeTable notices = DefaultNoticeTable();
    KikanmeiBlock block{QStringList{QStringLiteral("L"), QStringLiteral("line")}};
    TSetupForm form{notices, block, chooser};
    TNoticeEditForm editor{settings, chooser};

    Fixture() { form.SetNoticeEditor(&editor); }

    // Opens the notice editor from the open settings dialog.
    void OpenNotices(std::function<void()> act)
    {
        WhenShown(editor, std::move(act));
        Click(form, "Button9");
    }
};

// The count label of field n, numbered page by page as the window's labels.
QString CountOf(const TNoticeEditForm &editor, int field)
{
    constexpr int firstCountLabel[] = {12, 34, 53, 72, 91};
    const int page = (field - 1) / 8;
    const int label = firstCountLabel[page] + (field - 1) % 8;
    return Control<QLabel>(editor, QStringLiteral("Label%1").arg(label))->text();
}

} // namespace

class SetupFormTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { platform::InstallFontSubstitutions(); }

    void cancelAfterChangingEveryControlKeepsTheSettings()
    {
        Fixture f;
        f.settings = Customised();
        const ScheduleSettings stored = f.settings;
        f.fakeChooser.answers = {0x0000AA, 0x0000AB, 0x0000AC, 0x0000AD, 0x0000AE, 0x0000AF};
        WhenShown(f.form, [&] {
            QCOMPARE(f.form.ControlValues(), stored);
            Control<QLineEdit>(f.form, "Edit5")->setText(QStringLiteral("x"));
            Click(f.form, "RadioGroup1Item0");
            for (QLineEdit *e : Controls<QLineEdit>(f.form, {"Edit1", "Edit2", "Edit3", "Edit4"}))
                QTest::keyClicks(e, QStringLiteral("z"));
            Control<QComboBox>(f.form, "ComboBox6")->setCurrentIndex(1);
            Control<QComboBox>(f.form, "ComboBox7")->setCurrentIndex(0);
            for (const char *check : {"CheckBox1", "CheckBox6", "CheckBox2", "CheckBox3"})
                Click(f.form, check);
            for (QComboBox *c :
                 Controls<QComboBox>(f.form, {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}))
                c->setEditText(QStringLiteral("Changed"));
            for (const char *colour : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6"})
                Click(f.form, colour);
            const ScheduleSettings edited = f.form.ControlValues();
            QCOMPARE(edited.Titcolor, 0x0000AAu);
            QCOMPARE(edited.Daycolor, 0x0000AFu);
            QCOMPARE(edited.Yoteiyogo, 0);
            QCOMPARE(edited.Colorcheck, true);
            Click(f.form, "Button4");
        });
        QVERIFY(!EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, stored);

        // The next opening shows the stored values again; OK keeps them.
        WhenShown(f.form, [&] {
            QCOMPARE(f.form.ControlValues(), stored);
            Click(f.form, "Button2");
        });
        QVERIFY(EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, stored);
    }

    void okTakesOverEveryControl()
    {
        Fixture f;
        const ScheduleSettings wanted = Customised();
        WhenShown(f.form, [&] {
            f.form.Fill(wanted);
            Click(f.form, "Button2");
        });
        QVERIFY(EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, wanted);
    }

    void restoreDefaultsThenCancelThenOk()
    {
        Fixture f;
        f.settings = Customised();
        const ScheduleSettings stored = f.settings;
        NoticeTable notices = DefaultNoticeTable();
        notices.ForWeek(20).text = QStringLiteral("edited");
        f.notices = notices;
        const KikanmeiBlock block = f.block;

        WhenShown(f.form, [&] {
            Click(f.form, "Button5");
            QCOMPARE(f.form.ControlValues(), ScheduleSettings{});
            QCOMPARE(Control<QComboBox>(f.form, "ComboBox6")->currentText(), QStringLiteral("ﾌﾟﾘﾝﾀの設定による"));
            QCOMPARE(Control<QComboBox>(f.form, "ComboBox7")->currentText(), QStringLiteral("第2か月から記載"));
            Click(f.form, "Button4");
        });
        QVERIFY(!EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, stored);

        WhenShown(f.form, [&] {
            Click(f.form, "Button5");
            Click(f.form, "Button2");
        });
        QVERIFY(EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, ScheduleSettings{});
        QCOMPARE(f.notices, notices);
        QCOMPARE(f.block, block);
    }

    void badStoredListIndexesNeverLeaveTheirRange()
    {
        Fixture f;
        f.settings.Yoshi = 7;
        f.settings.Hani = -3;
        f.settings.Yoteiyogo = 5;
        WhenShown(f.form, [&] {
            Control<QComboBox>(f.form, "ComboBox7")->setCurrentIndex(-1); // nothing selected
            Click(f.form, "Button2");
        });
        QVERIFY(EditSettings(f.form, f.settings));
        QCOMPARE(f.settings.Yoshi, 2);
        QCOMPARE(f.settings.Hani, 0);
        QCOMPARE(f.settings.Yoteiyogo, 0);
    }

    void typedFaceNameIsTakenAsTyped()
    {
        Fixture f;
        WhenShown(f.form, [&] {
            QLineEdit *titleFont = Control<QComboBox>(f.form, "ComboBox1")->lineEdit();
            auto *dueDateFont = Control<QComboBox>(f.form, "ComboBox2");
            titleFont->clear();
            QTest::keyClicks(titleFont, QStringLiteral("No Such "));
            QTest::sendKeyEvent(QTest::Click, titleFont, Qt::Key_unknown, QStringLiteral("どこにもない書体"),
                                Qt::NoModifier);
            Control<QComboBox>(f.form, "ComboBox5")->setEditText(QString());
            dueDateFont->lineEdit()->clear();
            f.form.activateWindow();
            dueDateFont->setFocus();
            QTRY_VERIFY(dueDateFont->lineEdit()->hasFocus());
            QTest::keyClicks(dueDateFont->lineEdit(), QStringLiteral("IPAG")); // prefix of a listed face
            Click(f.form, "Button2");
        });
        QVERIFY(EditSettings(f.form, f.settings));
        QCOMPARE(f.settings.Titfont, QStringLiteral("No Such どこにもない書体"));
        QCOMPARE(f.settings.Yotfont, QStringLiteral("IPAG"));
        QCOMPARE(f.settings.Notfont, QString());
        QCOMPARE(Control<QComboBox>(f.form, "ComboBox1")->findText(f.settings.Titfont), -1);
    }

    void fiveIdenticalFixedPitchFontLists()
    {
        Fixture f;
        const auto items = [](const QComboBox *box) {
            QStringList names;
            for (int i = 0; i < box->count(); ++i)
                names.append(box->itemText(i));
            return names;
        };
        const QStringList first = items(Control<QComboBox>(f.form, "ComboBox1"));
        QVERIFY(first.contains(QStringLiteral("IPAGothic")));
        QVERIFY(first.contains(QStringLiteral("IPAMincho")));
        QVERIFY(!first.contains(QStringLiteral("IPAPGothic")));
        QVERIFY(!first.contains(QStringLiteral("IPAPMincho")));
        QVERIFY(!first.contains(QStringLiteral("DejaVu Sans")));
        for (const QString &name : first)
            QVERIFY2(!name.startsWith(u'@'), qPrintable(name));
        for (const QComboBox *box : Controls<QComboBox>(f.form, {"ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5"}))
            QCOMPARE(items(box), first);
    }

    void chooserOpensWithTheColourLastConfirmedAnywhere()
    {
        Fixture f;
        f.fakeChooser.answers = {0x0A0B0C, std::nullopt, 0x00FF00, 0xABCDEF};
        WhenShown(f.form, [&] {
            auto *titleColour = Control<ColorGlyphButton>(f.form, "BitBtn1");
            auto *dueDateColour = Control<ColorGlyphButton>(f.form, "BitBtn2");
            const Colour yotBefore = dueDateColour->GlyphColor();
            QTest::mouseClick(titleColour, Qt::LeftButton);
            QTest::mouseClick(dueDateColour, Qt::LeftButton); // cancelled
            QCOMPARE(titleColour->GlyphColor(), 0x0A0B0Cu);
            QCOMPARE(dueDateColour->GlyphColor(), yotBefore);
            f.OpenNotices([&] {
                QTest::mouseClick(NoticeColour(f.editor, 5), Qt::LeftButton);
                QCOMPARE(NoticeColour(f.editor, 5)->GlyphColor(), 0x00FF00u);
                Click(f.editor, "canButton");
            });
            Click(f.form, "BitBtn6");
            Click(f.form, "Button4");
        });
        EditSettings(f.form, f.settings);
        // Black first, then always the last confirmed colour, never the button's.
        QCOMPARE(f.fakeChooser.initials, (std::vector<Colour>{0x000000, 0x0A0B0C, 0x0A0B0C, 0x00FF00}));
        QCOMPARE(f.chooser.LastConfirmed(), 0xABCDEFu);
    }

    void noticeEditKeptAfterCancellingTheSettings()
    {
        Fixture f;
        f.fakeChooser.answers = {0x0000FF};
        WhenShown(f.form, [&] {
            f.OpenNotices([&] {
                NoticeText(f.editor, 20)->setText(QStringLiteral("新しい注意"));
                QTest::mouseClick(NoticeColour(f.editor, 3), Qt::LeftButton);
                Click(f.editor, "okButton");
            });
            Click(f.form, "Button4");
        });
        EditSettings(f.form, f.settings);
        NoticeTable expected = DefaultNoticeTable();
        expected.ForWeek(23).text = QStringLiteral("新しい注意");
        expected.ForWeek(6).color = 0x0000FF; // only the clicked week's colour
        QCOMPARE(f.notices, expected);
        QCOMPARE(f.settings, ScheduleSettings{});
    }

    void blockEditKeptAfterCancellingTheSettingsAndWorkedOnACopy()
    {
        Fixture f;
        QVERIFY(!Control<QPushButton>(f.form, "Button6")->isEnabled());
        QStringList seen;
        bool confirm = true;
        f.form.SetBlockEditor([&](KikanmeiBlock &copy) {
            seen = copy.Lines();
            copy.Lines().append(QStringLiteral("added"));
            return confirm;
        });
        QVERIFY(Control<QPushButton>(f.form, "Button6")->isEnabled());
        WhenShown(f.form, [&] {
            Click(f.form, "Button6");
            Click(f.form, "Button4");
        });
        EditSettings(f.form, f.settings);
        QCOMPARE(seen, (QStringList{QStringLiteral("L"), QStringLiteral("line")}));
        QCOMPARE(f.block.Lines(), (QStringList{QStringLiteral("L"), QStringLiteral("line"), QStringLiteral("added")}));

        confirm = false; // the block editor cancelled: the block stays
        WhenShown(f.form, [&] {
            Click(f.form, "Button6");
            Click(f.form, "Button2");
        });
        EditSettings(f.form, f.settings);
        QCOMPARE(f.block.Lines().size(), 3);
    }

    void printableWidthFollowsTheStoredNotationAndTheShownWeekEndSwitch()
    {
        Fixture f;
        QString shown;
        const auto readWidth = [&] {
            f.OpenNotices([&] {
                shown = Control<QLabel>(f.editor, "Label21")->text();
                Click(f.editor, "canButton");
            });
        };
        WhenShown(f.form, [&] {
            readWidth();
            QCOMPARE(shown, QStringLiteral("14"));
            Click(f.form, "CheckBox1"); // not confirmed
            readWidth();
            QCOMPARE(shown, QStringLiteral("20"));
            // The notation counts only after OK.
            Control<QLineEdit>(f.form, "Edit1")->setText(QStringLiteral("とても長い月の表記"));
            readWidth();
            QCOMPARE(shown, QStringLiteral("20"));
            Click(f.form, "Button4");
        });
        EditSettings(f.form, f.settings);

        const struct
        {
            int notationBytes;
            const char *width;
        } cases[] = {{44, "0"}, {48, "-1"}};
        for (const auto &c : cases) {
            f.settings.Tsuki1 = QString(c.notationBytes - 12, u'x');
            WhenShown(f.form, [&] {
                readWidth();
                QCOMPARE(shown, QLatin1StringView(c.width));
                Click(f.form, "Button4");
            });
            EditSettings(f.form, f.settings);
        }
    }

    void countsFollowTheTexts()
    {
        Fixture f;
        WhenShown(f.form, [&] {
            f.OpenNotices([&] {
                QCOMPARE(Control<QLabel>(f.editor, "Label12")->text(), QStringLiteral("14")); // week 4, 28 bytes
                QCOMPARE(Control<QLabel>(f.editor, "Label56")->text(), QStringLiteral("11")); // week 23, 22 bytes
                QCOMPARE(CountOf(f.editor, 6), QStringLiteral("0"));                          // empty week 9
                QCOMPARE(CountOf(f.editor, 40), QStringLiteral("0"));
                QLineEdit *last = NoticeText(f.editor, 40);
                last->clear();
                QTest::keyClicks(last, QStringLiteral("a"));
                QCOMPARE(CountOf(f.editor, 40), QStringLiteral("0"));
                QTest::keyClicks(last, QStringLiteral("bc"));
                QCOMPARE(CountOf(f.editor, 40), QStringLiteral("1"));
                Click(f.editor, "canButton");
            });
            Click(f.form, "Button4");
        });
        EditSettings(f.form, f.settings);
        QCOMPARE(f.notices, DefaultNoticeTable());
    }

    void restoreNoticesThenOkOrCancel()
    {
        Fixture f;
        NoticeTable edited = DefaultNoticeTable();
        for (Notice &n : edited.notices) {
            n.text = QStringLiteral("x");
            n.color = 0x123456;
        }
        f.notices = edited;
        const auto restoreAndEnd = [&](const char *end) {
            WhenShown(f.form, [&] {
                f.OpenNotices([&] {
                    Click(f.editor, "Button1");
                    QCOMPARE(CountOf(f.editor, 6), QStringLiteral("0"));
                    Click(f.editor, end);
                });
                Click(f.form, "Button4");
            });
            EditSettings(f.form, f.settings);
        };
        restoreAndEnd("canButton");
        QCOMPARE(f.notices, edited);
        restoreAndEnd("okButton");
        QCOMPARE(f.notices, RestoredNoticeTable());
        QCOMPARE(f.notices.ForWeek(41).color, 0x000000u);
    }

    void editorReopensOnThePageLastShown()
    {
        Fixture f;
        QCOMPARE(f.editor.windowTitle(), QStringLiteral("注意項目の編集"));
        auto *pages = Control<QTabWidget>(f.editor, "PageControl1");
        QCOMPARE(pages->count(), 5);
        QCOMPARE(pages->tabText(0), QStringLiteral("第２\uFF5E３か月"));
        QCOMPARE(Control<QLabel>(f.editor, "Label1")->text(), QStringLiteral("妊娠４週"));
        QCOMPARE(Control<QLabel>(f.editor, "Label81")->text(), QStringLiteral("妊娠36週")); // field 33's week
        int shownPage = -1;
        WhenShown(f.form, [&] {
            f.OpenNotices([&] {
                shownPage = pages->currentIndex();
                pages->setCurrentIndex(3);
                Click(f.editor, "okButton");
            });
            QCOMPARE(shownPage, 0);
            f.OpenNotices([&] {
                shownPage = pages->currentIndex();
                Click(f.editor, "canButton");
            });
            QCOMPARE(shownPage, 3);
            Click(f.form, "Button4");
        });
        EditSettings(f.form, f.settings);
    }

    void windowsHaveTheirSizesAndEveryControlFits()
    {
        Fixture f;
        QCOMPARE(f.form.windowTitle(), QStringLiteral("ｽｹｼﾞｭｰﾙ表の設定"));
        QCOMPARE(f.form.size(), QSize(551, 431));
        QCOMPARE(f.editor.size(), QSize(508, 417));
        QVERIFY(!(f.form.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(f.editor.windowFlags() & Qt::WindowCloseButtonHint));
        f.form.Fill(f.settings);
        f.editor.Fill(f.notices);
        for (QDialog *dialog : std::initializer_list<QDialog *>{&f.form, &f.editor}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            if (const QByteArray dir = qgetenv("RALVO_SCREENSHOT_DIR"); !dir.isEmpty())
                dialog->grab().save(QString::fromLocal8Bit(dir) + u'/' + dialog->objectName() + u".png");
            const QSize needed = dialog->layout()->minimumSize();
            QVERIFY2(needed.width() <= dialog->width() && needed.height() <= dialog->height(),
                     qPrintable(QStringLiteral("%1 needs %2 x %3")
                                    .arg(dialog->objectName())
                                    .arg(needed.width())
                                    .arg(needed.height())));
            dialog->hide();
        }
    }
};

QTEST_MAIN(SetupFormTest)
#include "setup_form_qtest.moc"
