// What assistive technology learns about every window: each control has a
// name and its hint as description, and the calculate picture is a button.

#include "app/ui/Application.h"
#include "app/ui/HelpWindow.h"
#include "app/ui/QtHelp.h"
#include "app/ui/RalvoMainForm.h"
#include "support/FindControl.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace ralvo;
using test::Control;

namespace {

// The roles of widgets a user operates.
bool IsControlRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::PageTabList:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Graphic:
        return true;
    default:
        return false;
    }
}

// A widget that is part of another control (the edit field of a combo box,
// its pop-up list) is announced through that control.
bool IsPartOfAnotherControl(const QWidget *widget)
{
    for (const QObject *up = widget->parent(); up; up = up->parent()) {
        if (qobject_cast<const QComboBox *>(up) || qobject_cast<const QMenu *>(up))
            return true;
    }
    return false;
}

QString Hint(const QWidget *widget) { return widget->statusTip().isEmpty() ? widget->toolTip() : widget->statusTip(); }

QString Describe(const QWidget *widget)
{
    QString path = widget->objectName();
    for (const QWidget *up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (up->isWindow()) {
            path.prepend(up->objectName() + QLatin1Char('/'));
            break;
        }
    }
    return path + QLatin1Char(' ') + QString::fromLatin1(widget->metaObject()->className());
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;

private Q_SLOTS:
    void initTestCase();
    void everyControlOfEveryWindowHasANameAndItsHint();
    void mainWindowNamesItsFieldsAndTheCalculateButton();
};

void AccessibilityTest::initTestCase()
{
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
}

void AccessibilityTest::everyControlOfEveryWindowHasANameAndItsHint()
{
    Application application;
    application.CreateSecondaryWindows();
    TRalvoMainForm &form = application.MainForm();
    QtHelp help;
    help.ShowHelp(QString());

    QList<QWidget *> windows{&form};
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<THelpWindow *>(top))
            windows << top;
    }
    QVERIFY2(windows.size() == 2, "the help window was not found");
    QSet<QString> windowNames;
    QStringList faults;
    int controls = 0;
    for (QWidget *window : std::as_const(windows)) {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        for (QWidget *widget : std::as_const(widgets)) {
            if (widget->isHidden() || IsPartOfAnotherControl(widget))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(accessible);
            if (!IsControlRole(accessible->role()) && Hint(widget).isEmpty())
                continue;
            ++controls;
            windowNames << widget->window()->objectName();
            const QString name = accessible->text(QAccessible::Name).trimmed();
            // A colour button's caption "■" says nothing.
            if (name.isEmpty() || name == QStringLiteral("■"))
                faults << Describe(widget) + QStringLiteral(": no name");
            if (!Hint(widget).isEmpty() && accessible->text(QAccessible::Description) != Hint(widget))
                faults << Describe(widget) + QStringLiteral(": description is not the hint");
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    // Every dialog was visited.
    for (const char *name : {"SetupForm", "TextEditorForm", "PrevForm", "NoticeEditForm", "KikanmeiForm", "WakuSelForm",
                             "MojiForm", "GraphicForm", "VerForm", "PregnancyCalendarForm"})
        QVERIFY2(windowNames.contains(QLatin1String(name)), name);
    QVERIFY(controls > 150);
}

void AccessibilityTest::mainWindowNamesItsFieldsAndTheCalculateButton()
{
    Application application;
    TRalvoMainForm &form = application.MainForm();
    const auto nameOf = [&form](const char *objectName) {
        return QAccessible::queryAccessibleInterface(Control(form, objectName))->text(QAccessible::Name);
    };
    // The eight text fields, by their labels.
    QCOMPARE(nameOf("Edit2"), QStringLiteral("基準日の年"));
    QCOMPARE(nameOf("Edit3"), QStringLiteral("基準日の月"));
    QCOMPARE(nameOf("Edit4"), QStringLiteral("基準日の日"));
    QCOMPARE(nameOf("MomName"), QStringLiteral("母親名"));
    QCOMPARE(nameOf("Cycle"), QStringLiteral("月経周期"));
    QCOMPARE(nameOf("Yoteibi"), QStringLiteral("出産予定日"));
    QCOMPARE(nameOf("Hairanbi"), QStringLiteral("推定排卵日"));
    QCOMPARE(nameOf("Chakushobi"), QStringLiteral("推定着床日"));
    // Labels name their fields.
    QCOMPARE(Control<QLabel>(form, "Label1")->buddy(), Control(form, "MomName"));
    QCOMPARE(Control<QLabel>(form, "Label2")->buddy(), Control(form, "Cycle"));
    // Spinner arrows say what they step.
    QWidget *yearUp = Control(Control(form, "UpDown2"), "up");
    QCOMPARE(QAccessible::queryAccessibleInterface(yearUp)->text(QAccessible::Name),
             QStringLiteral("基準日の年を増やす"));

    // The calculate picture is a button whose press computes the due date.
    QWidget *picture = Control(form, "Image1");
    QAccessibleInterface *button = QAccessible::queryAccessibleInterface(picture);
    QCOMPARE(button->role(), QAccessible::Button);
    QCOMPARE(button->text(QAccessible::Name), QStringLiteral("出産予定日を計算"));
    QCOMPARE(button->text(QAccessible::Description), QStringLiteral("出産予定日を計算します"));
    QAccessibleActionInterface *actions = button->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    auto *dueDate = Control<QLineEdit>(form, "Yoteibi");
    QVERIFY(dueDate->text().isEmpty());
    actions->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(!dueDate->text().isEmpty());
    // The About box's picture is only a picture.
    application.CreateSecondaryWindows();
    QWidget *aboutPicture = Control(Control(form, "VerForm"), "Image1");
    QCOMPARE(QAccessible::queryAccessibleInterface(aboutPicture)->role(), QAccessible::Graphic);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_qtest.moc"
