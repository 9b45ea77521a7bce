// The main window's settings button and menu item reach the settings dialog,
// and its OK changes the application's settings record.

#include "app/ui/Application.h"
#include "app/ui/RalvoMainForm.h"
#include "settings/ui/NoticeEditForm.h"
#include "settings/ui/SetupForm.h"
#include "support/FindControl.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace ralvo;
using test::Control;

class SettingsCommandTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonAndMenuItemOpenTheDialogAndOkKeepsTheEdit()
    {
        Application application;
        application.CreateSecondaryWindows();
        TRalvoMainForm &main = application.MainForm();
        auto *setup = main.findChild<TSetupForm *>();
        QVERIFY(setup);
        QVERIFY(main.findChild<TNoticeEditForm *>());
        auto *signBtn = Control<QPushButton>(main, "SignBtn");
        auto *s1 = Control<QAction>(main, "S1");
        QVERIFY(signBtn && s1);

        QString shown;
        const auto whenShown = [&](auto act) {
            QTimer::singleShot(0, setup, [setup, act] {
                act();
                if (setup->isVisible())
                    setup->reject();
            });
        };
        whenShown([&] {
            Control<QLineEdit>(setup, "Edit5")->setText(QStringLiteral("新しい表題"));
            QTest::mouseClick(Control<QPushButton>(setup, "Button2"), Qt::LeftButton);
        });
        QTest::mouseClick(signBtn, Qt::LeftButton);

        whenShown([&] {
            shown = Control<QLineEdit>(setup, "Edit5")->text(); // filled again from the record
            Control<QLineEdit>(setup, "Edit5")->setText(QStringLiteral("取り消される表題"));
            QTest::mouseClick(Control<QPushButton>(setup, "Button4"), Qt::LeftButton);
        });
        s1->trigger();
        QCOMPARE(shown, QStringLiteral("新しい表題"));

        whenShown([&] {
            shown = Control<QLineEdit>(setup, "Edit5")->text();
            QTest::mouseClick(Control<QPushButton>(setup, "Button4"), Qt::LeftButton);
        });
        QTest::mouseClick(signBtn, Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("新しい表題"));
    }
};

QTEST_MAIN(SettingsCommandTest)
#include "settings_command_qtest.moc"
