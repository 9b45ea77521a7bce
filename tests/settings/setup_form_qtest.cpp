// The settings dialog and the notice editor driven through their controls,
// offscreen, with a fake colour chooser.

#include "platform/Fonts.h"
#include "platform/SharedColorChooser.h"
#include "platform/qt/ColorGlyphButton.h"
#include "settings/ui/NoticeEditForm.h"
#include "settings/ui/SetupForm.h"
#include "support/FakePlatform.h"

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

namespace {

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
        QTest::mouseClick(form.Button9, Qt::LeftButton);
    }
};

QString CountOf(const TNoticeEditForm &editor, int field)
{
    return editor.CountLabel(field)->text();
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
            f.form.Edit5->setText(QStringLiteral("x"));
            QTest::mouseClick(f.form.RadioGroup1Item0, Qt::LeftButton);
            for (QLineEdit *e : {f.form.Edit1, f.form.Edit2, f.form.Edit3, f.form.Edit4})
                QTest::keyClicks(e, QStringLiteral("z"));
            f.form.ComboBox6->setCurrentIndex(1);
            f.form.ComboBox7->setCurrentIndex(0);
            for (QCheckBox *c : {f.form.CheckBox1, f.form.CheckBox6, f.form.CheckBox2, f.form.CheckBox3})
                QTest::mouseClick(c, Qt::LeftButton);
            for (QComboBox *c : {f.form.ComboBox1, f.form.ComboBox2, f.form.ComboBox3, f.form.ComboBox4,
                                 f.form.ComboBox5})
                c->setEditText(QStringLiteral("Changed"));
            for (ColorGlyphButton *b : {f.form.BitBtn1, f.form.BitBtn2, f.form.BitBtn3, f.form.BitBtn4,
                                        f.form.BitBtn5, f.form.BitBtn6})
                QTest::mouseClick(b, Qt::LeftButton);
            const ScheduleSettings edited = f.form.ControlValues();
            QCOMPARE(edited.Titcolor, 0x0000AAu);
            QCOMPARE(edited.Daycolor, 0x0000AFu);
            QCOMPARE(edited.Yoteiyogo, 0);
            QCOMPARE(edited.Colorcheck, true);
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
        });
        QVERIFY(!EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, stored);

        // The next opening shows the stored values again; OK keeps them.
        WhenShown(f.form, [&] {
            QCOMPARE(f.form.ControlValues(), stored);
            QTest::mouseClick(f.form.Button2, Qt::LeftButton);
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
            QTest::mouseClick(f.form.Button2, Qt::LeftButton);
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
            QTest::mouseClick(f.form.Button5, Qt::LeftButton);
            QCOMPARE(f.form.ControlValues(), ScheduleSettings{});
            QCOMPARE(f.form.ComboBox6->currentText(), QStringLiteral("ﾌﾟﾘﾝﾀの設定による"));
            QCOMPARE(f.form.ComboBox7->currentText(), QStringLiteral("第2か月から記載"));
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
        });
        QVERIFY(!EditSettings(f.form, f.settings));
        QCOMPARE(f.settings, stored);

        WhenShown(f.form, [&] {
            QTest::mouseClick(f.form.Button5, Qt::LeftButton);
            QTest::mouseClick(f.form.Button2, Qt::LeftButton);
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
            f.form.ComboBox7->setCurrentIndex(-1); // nothing selected
            QTest::mouseClick(f.form.Button2, Qt::LeftButton);
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
            f.form.ComboBox1->lineEdit()->clear();
            QTest::keyClicks(f.form.ComboBox1->lineEdit(), QStringLiteral("No Such "));
            QTest::sendKeyEvent(QTest::Click, f.form.ComboBox1->lineEdit(), Qt::Key_unknown,
                                QStringLiteral("どこにもない書体"), Qt::NoModifier);
            f.form.ComboBox5->setEditText(QString());
            f.form.ComboBox2->lineEdit()->clear();
            f.form.activateWindow();
            f.form.ComboBox2->setFocus();
            QTRY_VERIFY(f.form.ComboBox2->lineEdit()->hasFocus());
            QTest::keyClicks(f.form.ComboBox2->lineEdit(), QStringLiteral("IPAG")); // prefix of a listed face
            QTest::mouseClick(f.form.Button2, Qt::LeftButton);
        });
        QVERIFY(EditSettings(f.form, f.settings));
        QCOMPARE(f.settings.Titfont, QStringLiteral("No Such どこにもない書体"));
        QCOMPARE(f.settings.Yotfont, QStringLiteral("IPAG"));
        QCOMPARE(f.settings.Notfont, QString());
        QCOMPARE(f.form.ComboBox1->findText(f.settings.Titfont), -1);
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
        const QStringList first = items(f.form.ComboBox1);
        QVERIFY(first.contains(QStringLiteral("IPAGothic")));
        QVERIFY(first.contains(QStringLiteral("IPAMincho")));
        QVERIFY(!first.contains(QStringLiteral("IPAPGothic")));
        QVERIFY(!first.contains(QStringLiteral("IPAPMincho")));
        QVERIFY(!first.contains(QStringLiteral("DejaVu Sans")));
        for (const QString &name : first)
            QVERIFY2(!name.startsWith(u'@'), qPrintable(name));
        for (const QComboBox *box : {f.form.ComboBox2, f.form.ComboBox3, f.form.ComboBox4, f.form.ComboBox5})
            QCOMPARE(items(box), first);
    }

    void chooserOpensWithTheColourLastConfirmedAnywhere()
    {
        Fixture f;
        f.fakeChooser.answers = {0x0A0B0C, std::nullopt, 0x00FF00, 0xABCDEF};
        WhenShown(f.form, [&] {
            const Colour yotBefore = f.form.BitBtn2->GlyphColor();
            QTest::mouseClick(f.form.BitBtn1, Qt::LeftButton);
            QTest::mouseClick(f.form.BitBtn2, Qt::LeftButton); // cancelled
            QCOMPARE(f.form.BitBtn1->GlyphColor(), 0x0A0B0Cu);
            QCOMPARE(f.form.BitBtn2->GlyphColor(), yotBefore);
            f.OpenNotices([&] {
                QTest::mouseClick(f.editor.BitBtn(5), Qt::LeftButton);
                QCOMPARE(f.editor.BitBtn(5)->GlyphColor(), 0x00FF00u);
                QTest::mouseClick(f.editor.canButton, Qt::LeftButton);
            });
            QTest::mouseClick(f.form.BitBtn6, Qt::LeftButton);
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
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
                f.editor.Edit(20)->setText(QStringLiteral("新しい注意"));
                QTest::mouseClick(f.editor.BitBtn(3), Qt::LeftButton);
                QTest::mouseClick(f.editor.okButton, Qt::LeftButton);
            });
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
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
        QVERIFY(!f.form.Button6->isEnabled());
        QStringList seen;
        bool confirm = true;
        f.form.SetBlockEditor([&](KikanmeiBlock &copy) {
            seen = copy.Lines();
            copy.Lines().append(QStringLiteral("added"));
            return confirm;
        });
        QVERIFY(f.form.Button6->isEnabled());
        WhenShown(f.form, [&] {
            QTest::mouseClick(f.form.Button6, Qt::LeftButton);
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
        });
        EditSettings(f.form, f.settings);
        QCOMPARE(seen, (QStringList{QStringLiteral("L"), QStringLiteral("line")}));
        QCOMPARE(f.block.Lines(), (QStringList{QStringLiteral("L"), QStringLiteral("line"), QStringLiteral("added")}));

        confirm = false; // the block editor cancelled: the block stays
        WhenShown(f.form, [&] {
            QTest::mouseClick(f.form.Button6, Qt::LeftButton);
            QTest::mouseClick(f.form.Button2, Qt::LeftButton);
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
                shown = f.editor.Label21->text();
                QTest::mouseClick(f.editor.canButton, Qt::LeftButton);
            });
        };
        WhenShown(f.form, [&] {
            readWidth();
            QCOMPARE(shown, QStringLiteral("14"));
            QTest::mouseClick(f.form.CheckBox1, Qt::LeftButton); // not confirmed
            readWidth();
            QCOMPARE(shown, QStringLiteral("20"));
            f.form.Edit1->setText(QStringLiteral("とても長い月の表記")); // counts only after OK
            readWidth();
            QCOMPARE(shown, QStringLiteral("20"));
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
        });
        EditSettings(f.form, f.settings);

        const struct { int notationBytes; const char *width; } cases[] = {{44, "0"}, {48, "-1"}};
        for (const auto &c : cases) {
            f.settings.Tsuki1 = QString(c.notationBytes - 12, u'x');
            WhenShown(f.form, [&] {
                readWidth();
                QCOMPARE(shown, QLatin1StringView(c.width));
                QTest::mouseClick(f.form.Button4, Qt::LeftButton);
            });
            EditSettings(f.form, f.settings);
        }
    }

    void countsFollowTheTexts()
    {
        Fixture f;
        WhenShown(f.form, [&] {
            f.OpenNotices([&] {
                QCOMPARE(CountOf(f.editor, 1), QStringLiteral("14"));  // week 4, 28 bytes
                QCOMPARE(f.editor.CountLabel(1)->objectName(), QStringLiteral("Label12"));
                QCOMPARE(CountOf(f.editor, 20), QStringLiteral("11")); // week 23, 22 bytes
                QCOMPARE(f.editor.CountLabel(20)->objectName(), QStringLiteral("Label56"));
                QCOMPARE(CountOf(f.editor, 6), QStringLiteral("0"));   // empty week 9
                QCOMPARE(CountOf(f.editor, 40), QStringLiteral("0"));
                f.editor.Edit(40)->clear();
                QTest::keyClicks(f.editor.Edit(40), QStringLiteral("a"));
                QCOMPARE(CountOf(f.editor, 40), QStringLiteral("0"));
                QTest::keyClicks(f.editor.Edit(40), QStringLiteral("bc"));
                QCOMPARE(CountOf(f.editor, 40), QStringLiteral("1"));
                QTest::mouseClick(f.editor.canButton, Qt::LeftButton);
            });
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
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
        const auto restoreAndEnd = [&](QPushButton *TNoticeEditForm::*end) {
            WhenShown(f.form, [&] {
                f.OpenNotices([&] {
                    QTest::mouseClick(f.editor.Button1, Qt::LeftButton);
                    QCOMPARE(CountOf(f.editor, 6), QStringLiteral("0"));
                    QTest::mouseClick(f.editor.*end, Qt::LeftButton);
                });
                QTest::mouseClick(f.form.Button4, Qt::LeftButton);
            });
            EditSettings(f.form, f.settings);
        };
        restoreAndEnd(&TNoticeEditForm::canButton);
        QCOMPARE(f.notices, edited);
        restoreAndEnd(&TNoticeEditForm::okButton);
        QCOMPARE(f.notices, RestoredNoticeTable());
        QCOMPARE(f.notices.ForWeek(41).color, 0x000000u);
    }

    void editorReopensOnThePageLastShown()
    {
        Fixture f;
        QCOMPARE(f.editor.windowTitle(), QStringLiteral("注意項目の編集"));
        QCOMPARE(f.editor.PageControl1->count(), 5);
        QCOMPARE(f.editor.PageControl1->tabText(0), QStringLiteral("第２\uFF5E３か月"));
        QCOMPARE(f.editor.WeekLabel(1)->text(), QStringLiteral("妊娠４週"));
        QCOMPARE(f.editor.WeekLabel(33)->objectName(), QStringLiteral("Label81"));
        QCOMPARE(f.editor.WeekLabel(33)->text(), QStringLiteral("妊娠36週"));
        int shownPage = -1;
        WhenShown(f.form, [&] {
            f.OpenNotices([&] {
                shownPage = f.editor.PageControl1->currentIndex();
                f.editor.PageControl1->setCurrentIndex(3);
                QTest::mouseClick(f.editor.okButton, Qt::LeftButton);
            });
            QCOMPARE(shownPage, 0);
            f.OpenNotices([&] {
                shownPage = f.editor.PageControl1->currentIndex();
                QTest::mouseClick(f.editor.canButton, Qt::LeftButton);
            });
            QCOMPARE(shownPage, 3);
            QTest::mouseClick(f.form.Button4, Qt::LeftButton);
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
                     qPrintable(QStringLiteral("%1 needs %2 x %3").arg(dialog->objectName())
                                    .arg(needed.width()).arg(needed.height())));
            dialog->hide();
        }
    }
};

QTEST_MAIN(SetupFormTest)
#include "setup_form_qtest.moc"
