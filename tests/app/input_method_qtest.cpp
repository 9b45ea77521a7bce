// Which fields the input method may compose into, asked as ibus and fcitx5
// ask: the input context sends the focused field an input method query for
// Qt::ImEnabled and leaves a field that answers false alone. The base date's
// year, month and day and the cycle take digits only and answer false, also
// to composed text committed all the same; every other field that takes
// typing (the mother's name, the settings' texts and font names, the notices,
// the frame text, the picture path, the text editor) answers true.

#include "app/ui/Application.h"
#include "app/ui/RalvoMainForm.h"
#include "support/FindControl.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QInputMethodEvent>
#include <QInputMethodQueryEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <set>

using namespace ralvo;

namespace {

// The answer a field gives the input context, asked with an event as the
// input context asks; QInputMethod asks by name where the field has a method
// for it, which must agree.
bool InputMethodEnabled(QWidget *field)
{
    QInputMethodQueryEvent query(Qt::ImEnabled);
    QCoreApplication::sendEvent(field, &query);
    const bool enabled = query.value(Qt::ImEnabled).toBool();
    QVariant byName;
    if (QMetaObject::invokeMethod(field, "inputMethodQuery", Q_RETURN_ARG(QVariant, byName),
                                  Q_ARG(Qt::InputMethodQuery, Qt::ImEnabled), Q_ARG(QVariant, QVariant()))
        && byName.toBool() != enabled)
        return !enabled; // disagreeing answers count as the wrong one
    return enabled;
}

// Commits `text` into the field as an input method does when the
// composition ends.
void Commit(QWidget *field, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(field, &commit);
}

bool TakesTyping(QWidget *field)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        return !edit->isReadOnly() && edit->isEnabledTo(edit->window());
    if (auto *text = qobject_cast<QPlainTextEdit *>(field))
        return !text->isReadOnly();
    return false;
}

QString Path(QWidget *field) { return field->window()->objectName() + QLatin1Char(':') + field->objectName(); }

const std::set<QString> kDigitFields{QStringLiteral("RalvoMainForm:Edit2"), QStringLiteral("RalvoMainForm:Edit3"),
                                     QStringLiteral("RalvoMainForm:Edit4"), QStringLiteral("RalvoMainForm:Cycle")};

} // namespace

class InputMethodTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;
    std::unique_ptr<Application> m_application;

    TRalvoMainForm &Form() const { return m_application->MainForm(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
        m_application = std::make_unique<Application>();
        m_application->CreateSecondaryWindows();
    }
    void cleanupTestCase() { m_application.reset(); }

    void onlyTheDigitFieldsKeepTheInputMethodOut()
    {
        QStringList wrong;
        std::set<QString> seen;
        int open = 0;
        QList<QWidget *> fields = Form().findChildren<QWidget *>();
        for (QWidget *field : std::as_const(fields)) {
            if (!TakesTyping(field))
                continue;
            const QString path = Path(field);
            const bool digits = kDigitFields.count(path) > 0;
            seen.insert(path);
            if (!digits)
                ++open;
            if (InputMethodEnabled(field) == digits)
                wrong << QStringLiteral("%1 answers %2").arg(path, digits ? u"true" : u"false");
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
        for (const QString &digits : kDigitFields)
            QVERIFY2(seen.count(digits), qPrintable(digits));
        // The name, the settings' five texts and five font names, the 40
        // notices, the frame text, its font and the picture path, the text
        // editor.
        for (const char *path : {"RalvoMainForm:MomName", "SetupForm:Edit5", "MojiForm:Edit1", "GraphicForm:Edit1",
                                 "TextEditorForm:RichEdit1"})
            QVERIFY2(seen.count(QLatin1String(path)), path);
        QVERIFY2(open >= 1 + 5 + 5 + 40 + 3 + 1, qPrintable(QString::number(open)));
    }

    void composedTextCommittedIntoADigitFieldIsDropped()
    {
        for (const char *name : {"Edit2", "Edit3", "Edit4", "Cycle"}) {
            auto *field = test::Control<QLineEdit>(Form(), name);
            field->setText(QStringLiteral("12"));
            field->setFocus();
            Commit(field, QStringLiteral("か"));
            Commit(field, QStringLiteral("山田"));
            QCOMPARE(field->text(), QStringLiteral("12"));
        }
        // The name field takes what the input method composed.
        auto *name = test::Control<QLineEdit>(Form(), "MomName");
        name->clear();
        Commit(name, QStringLiteral("山田"));
        QCOMPARE(Form().MotherName(), QStringLiteral("山田"));
    }
};

QTEST_MAIN(InputMethodTest)
#include "input_method_qtest.moc"
