// The text editor window driven as a user would: menu items, tool buttons
// and keys; questions and file dialogs answered through the platform fakes.

#include "app/ui/Application.h"
#include "app/ui/RalvoMainForm.h"
#include "platform/Fonts.h"
#include "support/FakePlatform.h"
#include "support/FileSystemNodes.h"
#include "support/FindControl.h"
#include "textout/TextFile.h"
#include "textout/TextSchedule.h"
#include "textout/ui/TextEditorForm.h"
#include "textout/ui/WriteTextSchedule.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using ralvo::platform::Messages;
using ralvo::test::Control;
using ralvo::test::FakePlatform;
using ralvo::textout::TTextEditorForm;

Q_DECLARE_METATYPE(Messages::Answer)

namespace {

const QString kScheduleCaption = QStringLiteral("出産までのスケジュール");

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TextEditorTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<TTextEditorForm> m_form;
    std::unique_ptr<QTemporaryDir> m_dir;

    // The text area, a tool button and a menu item of the editor.
    QPlainTextEdit *Text() const { return Control<QPlainTextEdit>(*m_form, "RichEdit1"); }
    QToolButton *Tool(const char *name) const { return Control<QToolButton>(*m_form, name); }
    QAction *Item(const char *name) const { return Control<QAction>(*m_form, name); }

    // The state right after the text output.
    void ShowSchedule()
    {
        m_form->SetLines(
            {QString(86, u'='), QStringLiteral("出産予定日　：2024年10月 7日（月曜日）"), QStringLiteral("----")});
        m_form->SetCaption(kScheduleCaption);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }
    void TypeOneCharacter()
    {
        Text()->moveCursor(QTextCursor::End);
        QTest::keyClick(Text(), Qt::Key_A, Qt::NoModifier);
        QVERIFY(m_form->IsModified());
    }
    QString Path(const QString &name) const { return m_dir->filePath(name); }

private Q_SLOTS:
    void initTestCase() { ralvo::platform::InstallFontSubstitutions(); }

    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_form = std::make_unique<TTextEditorForm>(m_platform->Services());
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        m_form.reset();
        m_platform.reset();
        m_dir.reset();
    }

    void closingRightAfterTheOutputAsksNothing()
    {
        ShowSchedule();
        QVERIFY(m_form->close());
        QVERIFY(m_platform->messages.asked.empty());
        QCOMPARE(m_platform->sounds.exclamations, 0);
    }

    void closeQuery_data()
    {
        QTest::addColumn<Messages::Answer>("answer");
        QTest::addColumn<QString>("saveAs"); // empty: the save dialog is cancelled
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("messages");

        QTest::newRow("cancel keeps the window open") << Messages::Answer::Cancel << QString() << false << false << 0;
        QTest::newRow("no closes without saving") << Messages::Answer::No << QString() << true << false << 0;
        QTest::newRow("yes saves and closes")
            << Messages::Answer::Yes << QStringLiteral("out.txt") << true << true << 0;
        QTest::newRow("yes, save dialog cancelled, keeps the text")
            << Messages::Answer::Yes << QString() << false << false << 0;
        QTest::newRow("yes, write fails, keeps the text")
            << Messages::Answer::Yes << QStringLiteral("missing/out.txt") << false << false << 1;
    }
    void closeQuery()
    {
        QFETCH(Messages::Answer, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, closes);
        QFETCH(bool, written);
        QFETCH(int, messages);

        ShowSchedule();
        TypeOneCharacter();
        const QString text = Text()->toPlainText();
        m_platform->messages.answers.push_back(answer);
        if (!saveAs.isEmpty())
            m_platform->fileDialogs.answers.push_back(Path(saveAs));

        QCOMPARE(m_form->close(), closes);

        QCOMPARE(m_platform->sounds.exclamations, 1);
        QCOMPARE(m_platform->messages.asked.size(), 1u);
        const Messages::Question &question = m_platform->messages.asked.front();
        QCOMPARE(question.caption, QStringLiteral("警告"));
        QCOMPARE(question.text,
                 QStringLiteral("ﾌｧｲﾙ出産までのスケジュールの内容が変更されています。\n変更を保存しますか？"));
        QCOMPARE(question.buttons, Messages::Buttons::YesNoCancel);
        QCOMPARE(question.icon, Messages::Icon::Warning);
        if (answer == Messages::Answer::Yes) {
            QCOMPARE(m_platform->fileDialogs.requests.size(), 1u);
            QCOMPARE(m_platform->fileDialogs.requests.front().fileName, QStringLiteral("出産までのスケジュール.txt"));
        } else {
            QVERIFY(m_platform->fileDialogs.requests.empty());
        }
        QCOMPARE(QFile::exists(Path(saveAs)) && !saveAs.isEmpty(), written);
        if (written)
            QCOMPARE(ralvo::textout::ReadTextFile(Path(saveAs)), text);
        QCOMPARE(int(m_platform->messages.shown.size()), messages);
        if (messages)
            QCOMPARE(m_platform->messages.shown.front(),
                     QStringLiteral("ファイル %1 を作成できません").arg(Path(saveAs)));
        QCOMPARE(m_form->isVisible(), !closes);
        if (!closes) {
            QCOMPARE(Text()->toPlainText(), text);
            QVERIFY(m_form->IsModified());
            QCOMPARE(m_form->Caption(), kScheduleCaption);
        }
    }

    void newWithoutChangesAsksNothing()
    {
        ShowSchedule();
        Item("N3")->trigger();
        QVERIFY(m_platform->messages.asked.empty());
        QCOMPARE(Text()->toPlainText(), QString());
        QCOMPARE(m_form->Caption(), QStringLiteral("新規文書"));
        QCOMPARE(m_form->windowTitle(), QStringLiteral("新規文書"));
        QVERIFY(!m_form->IsModified());

        Item("SaveAs2")->trigger();
        QCOMPARE(m_platform->fileDialogs.requests.size(), 1u);
        const auto &request = m_platform->fileDialogs.requests.front();
        QCOMPARE(request.fileName, QStringLiteral("新規文書.txt"));
        QCOMPARE(request.filter, QStringLiteral("テキストファイル|*.txt|すべてのファイル|*.*"));
        QCOMPARE(request.filterIndex, 1);
    }

    void newWithChanges_data()
    {
        QTest::addColumn<Messages::Answer>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("no") << Messages::Answer::No << true;
        QTest::newRow("cancel") << Messages::Answer::Cancel << false;
    }
    void newWithChanges()
    {
        QFETCH(Messages::Answer, answer);
        QFETCH(bool, emptied);
        ShowSchedule();
        TypeOneCharacter();
        const QString text = Text()->toPlainText();
        m_platform->messages.answers.push_back(answer);
        Item("N3")->trigger();
        QCOMPARE(m_platform->messages.asked.size(), 1u);
        QCOMPARE(Text()->toPlainText(), emptied ? QString() : text);
        QCOMPARE(m_form->Caption(), emptied ? QStringLiteral("新規文書") : kScheduleCaption);
        QCOMPARE(m_form->IsModified(), !emptied);
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text"); // null: cannot be opened
        // "出産予定日" in code page 932.
        const QByteArray shiftJis("\x8F\x6F\x8E\x59\x97\x5C\x92\xE8\x93\xFA\r\n\x81\x60\r\n");
        QTest::newRow("shift-jis") << shiftJis << QStringLiteral("出産予定日\n～");
        QTest::newRow("utf-8") << QStringLiteral("出産予定日\n～\n").toUtf8() << QStringLiteral("出産予定日\n～");
        QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF" + QStringLiteral("出産\r\n").toUtf8())
                                        << QStringLiteral("出産");
        QTest::newRow("neither") << QByteArray("\x8F\x6F\xFF\x80\x81") << QString();
    }
    void open()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        ShowSchedule();
        const QString before = Text()->toPlainText();
        const QString path = Path(QStringLiteral("開く.txt"));
        WriteBytes(path, bytes);
        m_platform->fileDialogs.answers.push_back(path);

        Tool("ToolButton10")->click();

        QVERIFY(m_platform->messages.asked.empty());
        if (text.isNull()) {
            QCOMPARE(m_platform->messages.shown,
                     std::vector<QString>{QStringLiteral("ファイル %1 は開けません").arg(path)});
            QCOMPARE(Text()->toPlainText(), before);
            QCOMPARE(m_form->Caption(), kScheduleCaption);
        } else {
            QVERIFY(m_platform->messages.shown.empty());
            QCOMPARE(Text()->toPlainText(), text);
            QCOMPARE(m_form->Caption(), path);
            QCOMPARE(m_form->windowTitle(), path);
            QVERIFY(!m_form->IsModified());
            QVERIFY(!Text()->isReadOnly());
        }
    }

    void openOfAMissingFileKeepsTheCaption()
    {
        ShowSchedule();
        TypeOneCharacter();
        m_platform->messages.answers.push_back(Messages::Answer::No);
        const QString path = Path(QStringLiteral("missing.txt"));
        m_platform->fileDialogs.answers.push_back(path);
        Item("Open1")->trigger();
        QCOMPARE(m_platform->messages.shown,
                 std::vector<QString>{QStringLiteral("ファイル %1 は開けません").arg(path)});
        QCOMPARE(m_form->Caption(), kScheduleCaption);
    }

    void saveAsWritesShiftJisWithCrLf()
    {
        ShowSchedule();
        TypeOneCharacter();
        const QString path = Path(QStringLiteral("保存.txt"));
        m_platform->fileDialogs.answers.push_back(path);
        Tool("ToolButton2")->click();
        QCOMPARE(m_platform->fileDialogs.requests.front().fileName, QStringLiteral("出産までのスケジュール.txt"));
        QCOMPARE(FileBytes(path), ralvo::EncodeTextFile(ralvo::textout::EditorTextLines(Text()->toPlainText())).bytes);
        QVERIFY(FileBytes(path).endsWith("----a\r\n"));
        QVERIFY(!m_form->IsModified());
        QCOMPARE(m_form->Caption(), kScheduleCaption); // saving does not rename the window
    }

    // Saving over an existing file on a full disk, or into a device: the old
    // file stays byte for byte, nothing is left half-written, the node is
    // never replaced, and a failure keeps the text marked as changed.
    void saveAsOnAFullDiskKeepsTheOldFileAndTheChanges()
    {
        ralvo::test::SmallFileSystem disk;
        if (!disk.mounted())
            QSKIP(disk.skipReason().c_str());
        const QString path = disk.filePath(QStringLiteral("schedule.txt"));
        WriteBytes(path, "old\r\n");
        QVERIFY(disk.Fill());
        ShowSchedule();
        TypeOneCharacter();
        m_platform->fileDialogs.answers.push_back(path);
        Item("SaveAs2")->trigger();
        QCOMPARE(m_platform->messages.shown,
                 std::vector<QString>{QStringLiteral("ファイル %1 を作成できません").arg(path)});
        QCOMPARE(FileBytes(path), QByteArray("old\r\n"));
        QCOMPARE(disk.Names(), QStringList{QStringLiteral("schedule.txt")});
        QVERIFY(m_form->IsModified());

        const QString null = Path(QStringLiteral("null"));
        if (!ralvo::test::MakeCharacterDevice(null, ralvo::test::kMemoryMajor, ralvo::test::kNullMinor))
            QSKIP("mknod needs root");
        m_platform->fileDialogs.answers.push_back(null);
        Item("SaveAs2")->trigger();
        QCOMPARE(ralvo::test::NodeType(null), mode_t(S_IFCHR));
        QVERIFY(!m_form->IsModified());
    }

    void saveAsRefusesCharactersShiftJisCannotHold()
    {
        ShowSchedule();
        Text()->moveCursor(QTextCursor::End);
        Text()->insertPlainText(QStringLiteral("😀𠮷"));
        const QString path = Path(QStringLiteral("emoji.txt"));
        m_platform->fileDialogs.answers.push_back(path);
        Item("SaveAs2")->trigger();
        QVERIFY(!QFile::exists(path));
        QVERIFY(m_form->IsModified());
        QCOMPARE(m_platform->messages.shown.size(), 1u);
        const QString message = m_platform->messages.shown.front();
        QVERIFY2(message.contains(QStringLiteral("「😀」(U+1F600)"))
                     && message.contains(QStringLiteral("「𠮷」(U+20BB7)")) && message.contains(path),
                 qPrintable(message));
    }

    void clipboardCommands()
    {
        ShowSchedule();
        QClipboard *clipboard = QApplication::clipboard();
        Text()->setPlainText(QStringLiteral("出産予定日"));
        Text()->document()->setModified(false);

        Item("SelectAll1")->trigger();
        Item("Copy1")->trigger();
        QCOMPARE(clipboard->text(), QStringLiteral("出産予定日"));
        QVERIFY(!m_form->IsModified());

        QTextCursor cursor = Text()->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(2, QTextCursor::KeepAnchor);
        Text()->setTextCursor(cursor);
        Tool("ToolButton7")->click(); // cut
        QCOMPARE(clipboard->text(), QStringLiteral("出産"));
        QCOMPARE(Text()->toPlainText(), QStringLiteral("予定日"));
        QVERIFY(m_form->IsModified());

        Text()->moveCursor(QTextCursor::End);
        Item("Paste2")->trigger();
        QCOMPARE(Text()->toPlainText(), QStringLiteral("予定日出産"));

        Item("SelectAll2")->trigger();
        Item("N1")->trigger(); // copy from the context menu
        QCOMPARE(clipboard->text(), QStringLiteral("予定日出産"));
        Item("Delete2")->trigger();
        QCOMPARE(Text()->toPlainText(), QString());
        Tool("ToolButton9")->click(); // paste
        Item("SelectAll1")->trigger();
        Item("Delete1")->trigger();
        QCOMPARE(Text()->toPlainText(), QString());
        Item("Paste1")->trigger();
        Item("Paste1")->trigger();
        QCOMPARE(Text()->toPlainText(), QStringLiteral("予定日出産予定日出産"));

        // Pasting rich text keeps only its characters.
        auto *mime = new QMimeData;
        mime->setHtml(QStringLiteral("<b>太字</b>"));
        mime->setText(QStringLiteral("太字"));
        clipboard->setMimeData(mime);
        Item("SelectAll1")->trigger();
        Item("Paste1")->trigger();
        QCOMPARE(Text()->toPlainText(), QStringLiteral("太字"));
    }

    void ctrlPPrintsAtOnceWithoutADialog()
    {
        ShowSchedule();
        const QString pdf = Path(QStringLiteral("print.pdf"));
        m_form->Printer().setOutputFormat(QPrinter::PdfFormat);
        m_form->Printer().setOutputFileName(pdf);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QTest::keyClick(Text(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(m_platform->printDialogs.printDialogs, 0);
        QCOMPARE(m_platform->printDialogs.setupDialogs, 0);
        QVERIFY(FileBytes(pdf).startsWith("%PDF"));
        QCOMPARE(m_form->Printer().docName(), kScheduleCaption);
        // Printed at a readable size: a full 86-column rule fits on one line.
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished());
        const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(printed.contains(QStringLiteral("2024年10月 7日")), qPrintable(printed));
        QVERIFY2(printed.contains(QString(86, u'=')), qPrintable(printed));
        QVERIFY(!printed.contains(u'\f') || printed.indexOf(u'\f') == printed.size() - 1); // one page
        QVERIFY(m_platform->messages.shown.empty());
    }

    void printingWithoutAPrinterSaysSo()
    {
        ShowSchedule();
        m_form->Printer().setOutputFormat(QPrinter::PdfFormat);
        m_form->Printer().setOutputFileName(QString());
        const QStringList printers = std::exchange(m_platform->printDialogs.printers, {});
        Tool("ToolButton3")->click();
        m_platform->printDialogs.printers = printers;
        QCOMPARE(m_platform->messages.shown.size(), 1u);
        QCOMPARE(m_platform->messages.shown.back(), QStringLiteral("印刷できるプリンタがありません。"));
    }

    void printerSetUpUsesThePlatformDialog()
    {
        ShowSchedule();
        Item("PrintSetup1")->trigger();
        QCOMPARE(m_platform->printDialogs.setupDialogs, 1);
        QCOMPARE(m_platform->printDialogs.printDialogs, 0);
    }

    void writeTextScheduleReplacesTextAndShowsTheEditor()
    {
        // Whatever an earlier run left is replaced.
        m_form->SetCaption(QStringLiteral("新規文書"));
        Text()->setPlainText(QStringLiteral("前の文書"));
        Text()->document()->setModified(true);

        const QString saved = Path(QStringLiteral("editor.txt"));
        m_platform->fileDialogs.answers.push_back(saved);
        bool modal = false, maximized = false, modified = true;
        QString caption;
        QStringList lines;
        QTimer::singleShot(0, m_form.get(), [&] {
            modal = m_form->isModal();
            maximized = m_form->windowState() & Qt::WindowMaximized;
            modified = m_form->IsModified();
            caption = m_form->windowTitle();
            lines = Text()->toPlainText().split(u'\n');
            Item("SaveAs2")->trigger();
            Item("Close1")->trigger();
        });
        ralvo::CalculationInput input;
        input.year = QStringLiteral("2024");
        input.month = QStringLiteral("1");
        input.day = QStringLiteral("1");
        input.cycle = QStringLiteral("28");
        QVERIFY(ralvo::textout::WriteTextSchedule(input, QStringLiteral("サンプル"), ralvo::ScheduleSettings{},
                                                  m_platform->Services(), *m_form));

        QVERIFY(!m_form->isVisible());
        QVERIFY(modal);
        QVERIFY(maximized);
        QVERIFY(!modified);
        QCOMPARE(caption, kScheduleCaption);
        QCOMPARE(lines.size(), 13 + 40 + 1);
        QCOMPARE(lines.at(4), QStringLiteral("出産予定日　：2024年10月 7日（月曜日）"));
        QVERIFY(m_platform->messages.asked.empty()); // nothing to save on closing
        QCOMPARE(m_platform->sounds.beeps, 0);

        // Byte for byte what the command-line tool writes for the same input.
        const QString tool = QStringLiteral(RALVO_SCHEDULE_TOOL);
        const QString written = Path(QStringLiteral("tool.txt"));
        QProcess process;
        process.start(tool,
                      {QStringLiteral("text"), QStringLiteral("--basis"), QStringLiteral("0"), QStringLiteral("--year"),
                       QStringLiteral("2024"), QStringLiteral("--month"), QStringLiteral("1"), QStringLiteral("--day"),
                       QStringLiteral("1"), QStringLiteral("--cycle"), QStringLiteral("28"), QStringLiteral("--name"),
                       QStringLiteral("サンプル"), QStringLiteral("--defaults"), QStringLiteral("-o"), written});
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitCode(), 0);
        QVERIFY(!FileBytes(written).isEmpty());
        QCOMPARE(FileBytes(saved), FileBytes(written));
    }

    void writeTextScheduleBeepsOnBadInput_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("cycle");
        QTest::newRow("empty cycle") << QStringLiteral("2024") << QString();
        QTest::newRow("year not a number") << QStringLiteral("２０２４") << QStringLiteral("28");
    }
    void writeTextScheduleBeepsOnBadInput()
    {
        QFETCH(QString, year);
        QFETCH(QString, cycle);
        m_form->SetLines({QStringLiteral("前の文書")});
        ralvo::CalculationInput input;
        input.basis = ralvo::CalculationBasis::UltrasoundDueDate;
        input.year = year;
        input.month = QStringLiteral("1");
        input.day = QStringLiteral("1");
        input.cycle = cycle;
        QVERIFY(!ralvo::textout::WriteTextSchedule(input, QString(), ralvo::ScheduleSettings{}, m_platform->Services(),
                                                   *m_form));
        QCOMPARE(m_platform->sounds.beeps, 1);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(Text()->toPlainText(), QStringLiteral("前の文書"));
    }

    void mainWindowTextOutputShowsTheEditorOverIt()
    {
        ralvo::Application application;
        application.CreateSecondaryWindows();
        ralvo::TRalvoMainForm &main = application.MainForm();
        main.SetBasis(0);
        main.SetYearText(QStringLiteral("2024"));
        main.SetMonthText(QStringLiteral("1"));
        main.SetDayText(QStringLiteral("1"));
        main.SetCycleText(QStringLiteral("28"));
        main.SetMotherName(QStringLiteral("サンプル"));
        auto *editor = main.findChild<TTextEditorForm *>();
        QVERIFY(editor);
        QVERIFY(!editor->isVisible());

        QString firstWeek;
        bool shown = false;
        QTimer::singleShot(0, editor, [&] {
            shown = editor->isVisible() && editor->isModal();
            firstWeek = Control<QPlainTextEdit>(editor, "RichEdit1")->toPlainText().split(u'\n').value(13);
            editor->close();
        });
        Control<QPushButton>(main, "SchdlBtn")->click();
        QVERIFY(shown);
        QCOMPARE(firstWeek, QStringLiteral("【第 2か月】　妊娠 4週　 1月29日(月)～ 2月 4日(日)　"));
        QVERIFY(!editor->isVisible());
    }

    void showModalMaximizesAndReturnsOnClose()
    {
        m_form->SetLines({QStringLiteral("A")});
        QTimer::singleShot(0, m_form.get(), [this] {
            QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
            QVERIFY(m_form->isModal());
            QVERIFY(m_form->windowState() & Qt::WindowMaximized);
            Item("Close1")->trigger();
        });
        m_form->ShowModal();
        QVERIFY(!m_form->isVisible());
    }
};

QTEST_MAIN(TextEditorTest)
#include "text_editor_qtest.moc"
