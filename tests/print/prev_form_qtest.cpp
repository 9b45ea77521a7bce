// The print preview window: its controls, fitting and zooming on screen,
// the state kept between showings, messages from inside painting, and the
// print button.

#include "print/ui/PrevForm.h"

#include "platform/Fonts.h"
#include "records/AppRecords.h"
#include "settings/LastInputFields.h"
#include "support/FakePlatform.h"
#include "support/FakeSchedulePrinter.h"
#include "support/FindControl.h"
#include "textout/TextFile.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QtTest>

using namespace ralvo;

namespace {

// Messages whose box, when it closes, makes the sheet repaint at once, as a
// real message box over the preview does.
class RepaintingMessages final : public platform::Messages
{
public:
    std::vector<QString> shown;
    QWidget *sheet = nullptr;

    void ShowMessage(const QString &text) override
    {
        shown.push_back(text);
        if (sheet)
            sheet->repaint();
    }
    Answer Ask(const Question &q) override { return q.defaultAnswer; }
};

QByteArray RunTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

struct PdfWord
{
    QString text;
    QRectF box; // points, from the sheet's top-left corner
};

// The page size pdfinfo reports, in millimetres.
QSizeF PdfPageMm(const QString &pdf)
{
    const QString info = QString::fromUtf8(RunTool(QStringLiteral("pdfinfo"), {pdf}));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size: +([0-9.]+) x ([0-9.]+) pts")).match(info);
    if (!m.hasMatch() || !info.contains(QRegularExpression(QStringLiteral("Pages: +1\\n"))))
        return {};
    return QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) * (25.4 / 72.0);
}

std::vector<PdfWord> PdfWords(const QString &pdf)
{
    std::vector<PdfWord> words;
    QXmlStreamReader xml(RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("word"))
            continue;
        const auto at = [&xml](const char *name) { return xml.attributes().value(QLatin1String(name)).toDouble(); };
        const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
        words.push_back({xml.readElementText().replace(QChar(0xFF5E), QChar(0x301C)), box});
    }
    return words;
}

} // namespace

class PrevFormTest : public QObject
{
    Q_OBJECT

private:
    test::FakePlatform m_platform;
    RepaintingMessages m_messages;
    AppRecords m_records;
    PlainInputFields m_fields;
    test::FakeSchedulePrinter m_printer;
    std::unique_ptr<TPrevForm> m_form;

    template<typename T>
    T *Child(const char *name) const
    {
        return test::Control<T>(*m_form, name);
    }
    QToolButton *Button(int n) const
    {
        return test::Control<QToolButton>(*m_form, QStringLiteral("SpeedButton%1").arg(n));
    }
    QWidget *PaintBox() const { return Child<QWidget>("PaintBox1"); }
    QWidget *Viewport() const { return Child<QScrollArea>("ScrollBox1")->viewport(); }

    // Shows the form (not modally) with a visible area of `area`.
    void ShowWithVisibleArea(QSize area)
    {
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        for (int attempt = 0; attempt < 5 && Viewport()->size() != area; ++attempt) {
            m_form->resize(m_form->size() + area - Viewport()->size());
            QTRY_COMPARE(Viewport()->size(), area);
        }
    }
    // The repaints a click asked for, then the calls those paints queued.
    static void DeliverRepaintsAndQueuedCalls()
    {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }

    void ShowShots(const char *name)
    {
        const QString dir = qEnvironmentVariable("RALVO_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            m_form->grab().save(dir + u'/' + QLatin1String(name) + QStringLiteral(".png"));
    }

private Q_SLOTS:
    void initTestCase() { platform::InstallFontSubstitutions(); }

    void init()
    {
        m_records = AppRecords{};
        m_records.settings.Kikanmeicheck = false;
        m_fields = PlainInputFields{};
        m_fields.year = QStringLiteral("2024");
        m_fields.month = QStringLiteral("1");
        m_fields.day = QStringLiteral("1");
        m_fields.cycle = QStringLiteral("28");
        m_fields.mother = QStringLiteral("サンプル");
        m_messages.shown.clear();
        m_platform.fileDialogs.requests.clear();
        m_platform.fileDialogs.answers.clear();
        m_printer = test::FakeSchedulePrinter{};
        platform::Services services = m_platform.Services();
        services.messages = &m_messages;
        m_form = std::make_unique<TPrevForm>(services, m_records, m_fields, m_printer);
        m_messages.sheet = PaintBox();
    }

    void cleanup()
    {
        m_messages.sheet = nullptr;
        m_form.reset();
    }

    void controlsAreThoseOfThePreview()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("印刷プレビュー"));
        const struct
        {
            int n;
            const char *caption;
            const char *hint;
            int x;
        } buttons[] = {{1, "印刷", "表示されているスケジュール表を印刷します", 8},
                       {2, "ズームイン", "拡大表示します", 96},
                       {3, "ズームアウト", "縮小表示します", 184},
                       {4, "閉じる", "プレビュー・フォームを閉じます", 272}};
        for (const auto &b : buttons) {
            QToolButton *button = Button(b.n);
            QVERIFY(button);
            QCOMPARE(button->text(), QString::fromUtf8(b.caption));
            QCOMPARE(button->toolTip(), QString::fromUtf8(b.hint));
            QVERIFY(button->autoRaise());
            QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(button->geometry(), QRect(b.x, 4, 81, 21));
            QVERIFY(button->isEnabled());
        }
        QCOMPARE(Child<QWidget>("Panel1")->height(), 29);
        QStatusBar *status = Child<QStatusBar>("StatusBar1");
        QCOMPARE(status->height(), 19);
        QVERIFY(status->currentMessage().isEmpty());
        QCOMPARE(Viewport()->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void opensMaximizedWithTheWholeSheetFitted()
    {
        bool checked = false;
        QTimer::singleShot(0, m_form.get(), [&] {
            QTRY_VERIFY(m_form->isVisible());
            QTRY_VERIFY(m_form->windowState() & Qt::WindowMaximized);
            QTRY_COMPARE(m_form->Zoom().paper, preview::FitPaper(Viewport()->size()));
            const QSize paper = m_form->Zoom().paper;
            QVERIFY(paper.width() <= Viewport()->width() && paper.height() <= Viewport()->height());
            QVERIFY(paper.width() == Viewport()->width() || paper.height() == Viewport()->height());
            QCoreApplication::sendPostedEvents();
            ShowShots("preview-maximized");
            checked = true;
            QTest::mouseClick(Button(4), Qt::LeftButton);
        });
        m_form->exec();
        QVERIFY(checked);
        QVERIFY(!m_form->isVisible());
    }

    void fitsAndZoomsWithTheButtons()
    {
        ShowWithVisibleArea({800, 600});
        QCOMPARE(m_form->Zoom().paper, QSize(424, 600));
        QCOMPARE(PaintBox()->size(), QSize(800, 600)); // fills the scroll box at level 0
        ShowShots("preview-level0");

        QTest::mouseClick(Button(2), Qt::LeftButton);
        QCOMPARE(m_form->Zoom().level, 1);
        QCOMPARE(PaintBox()->size(), QSize(600, 849));
        QTest::mouseClick(Button(2), Qt::LeftButton);
        QCOMPARE(PaintBox()->size(), QSize(849, 1201));
        QVERIFY(!Button(2)->isEnabled());
        QVERIFY(Button(3)->isEnabled());
        QTRY_VERIFY(Child<QScrollArea>("ScrollBox1")->verticalScrollBar()->maximum() > 0);
        QTRY_VERIFY(Child<QScrollArea>("ScrollBox1")->verticalScrollBar()->isVisible());
        ShowShots("preview-level2");

        // At level 2 resizing keeps the sheet; only the scroll range changes.
        const int range = Child<QScrollArea>("ScrollBox1")->verticalScrollBar()->maximum();
        m_form->resize(m_form->size() + QSize(60, 100));
        QTRY_VERIFY(Child<QScrollArea>("ScrollBox1")->verticalScrollBar()->maximum() != range);
        QCOMPARE(PaintBox()->size(), QSize(849, 1201));
        QCOMPARE(m_form->Zoom().paper, QSize(849, 1201));

        QTest::mouseClick(Button(3), Qt::LeftButton);
        QCOMPARE(PaintBox()->size(), QSize(600, 849));
        QVERIFY(Button(2)->isEnabled());
        // Back at level 0 the sheet is fitted to the larger area anew.
        QTest::mouseClick(Button(3), Qt::LeftButton);
        QCOMPARE(m_form->Zoom().level, 0);
        QTRY_COMPARE(PaintBox()->size(), Viewport()->size());
        QTRY_COMPARE(m_form->Zoom().paper, preview::FitPaper(Viewport()->size()));

        // At level 0 every resize fits again.
        m_form->resize(m_form->size() - QSize(60, 100));
        QTRY_COMPARE(m_form->Zoom().paper, QSize(424, 600));

        QTest::mouseClick(Button(3), Qt::LeftButton);
        QTest::mouseClick(Button(3), Qt::LeftButton);
        QCOMPARE(PaintBox()->size(), QSize(212, 300));
        QVERIFY(!Button(3)->isEnabled());
        QVERIFY(Button(2)->isEnabled());
    }

    void stateStaysBetweenShowings()
    {
        ShowWithVisibleArea({800, 600});
        QTest::mouseClick(Button(2), Qt::LeftButton);
        QTest::mouseClick(Button(2), Qt::LeftButton);
        QTest::mouseClick(Button(4), Qt::LeftButton);
        QTRY_VERIFY(!m_form->isVisible());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QCOMPARE(m_form->Zoom().level, 2);
        QCOMPARE(PaintBox()->size(), QSize(849, 1201));
        QVERIFY(!Button(2)->isEnabled());
    }

    void blockMessageShownOncePerShowingWithoutLooping()
    {
        m_records.settings.Kikanmeicheck = true;
        WakuRecord frame = WakuRecord::WithEdges(0, 0, 5000, 5000);
        frame.Kind = WakuKind::Unreadable();
        m_records.block.AppendFrame(frame);

        ShowWithVisibleArea({800, 600});
        QTRY_COMPARE(m_messages.shown.size(), std::size_t(1));
        QCOMPARE(m_messages.shown.front(), QStringLiteral("画像データが読み込み不能となっています"));
        // Repaints (scrolling, uncovering, the box closing) show nothing more.
        for (int i = 0; i < 5; ++i) {
            PaintBox()->repaint();
            QCoreApplication::processEvents();
        }
        QTest::mouseClick(Button(2), Qt::LeftButton);
        DeliverRepaintsAndQueuedCalls();
        QCOMPARE(m_messages.shown.size(), std::size_t(1));

        // The next showing tells it again, once.
        m_form->hide();
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        QTRY_COMPARE(m_messages.shown.size(), std::size_t(2));
        PaintBox()->repaint();
        DeliverRepaintsAndQueuedCalls();
        QCOMPARE(m_messages.shown.size(), std::size_t(2));
    }

    void badInputBeepsOnRepaintAndShowsNoMessage()
    {
        m_fields.cycle.clear();
        ShowWithVisibleArea({800, 600});
        QTRY_VERIFY(m_platform.sounds.beeps > 0);
        QVERIFY(m_messages.shown.empty());
    }

    void printButtonPrintsAndThePreviewStaysOpen()
    {
        ShowWithVisibleArea({800, 600});
        QTest::mouseClick(Button(2), Qt::LeftButton);
        QTest::mouseClick(Button(1), Qt::LeftButton);
        QCOMPARE(m_printer.calls.join(u' '), QStringLiteral("select portrait dialog begin end"));
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->Zoom().level, 1);
    }

    void pdfButtonSavesThePrintedPage()
    {
        // The page as the printer draws it on a whole A4 sheet at 600 dpi.
        m_printer.sheet = PrinterSheet{4958, 7017, 0, 0, 4958, 7017};
        QTest::mouseClick(Button(1), Qt::LeftButton);
        QVERIFY(m_printer.page);
        const std::vector<test::PaintCall> printed = m_printer.page->Of(test::PaintCall::Kind::Text);
        QVERIFY(printed.size() > 100);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("saved.pdf"));
        m_form->SetFileWriter(textout::WriteFileBytes);
        m_platform.fileDialogs.answers.push_back(pdf);
        QToolButton *button = Button(5);
        QCOMPARE(button->text(), QStringLiteral("PDF保存"));
        QCOMPARE(button->toolTip(), QStringLiteral("表示されているスケジュール表をPDFファイルに保存します"));
        QCOMPARE(button->geometry(), QRect(360, 4, 81, 21));
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(m_platform.fileDialogs.requests.size(), std::size_t(1));
        const auto &request = m_platform.fileDialogs.requests.front();
        QCOMPARE(request.filter, QStringLiteral("PDFファイル (*.pdf)|*.pdf"));
        QCOMPARE(request.fileName, QStringLiteral("サンプルさんの出産までのスケジュール.pdf"));
        QVERIFY(m_messages.shown.empty());

        const QSizeF a4 = PdfPageMm(pdf);
        QVERIFY(std::abs(a4.width() - 210) < 0.5 && std::abs(a4.height() - 297) < 0.5);
        const QString fonts = QString::fromUtf8(RunTool(QStringLiteral("pdffonts"), {pdf}));
        QVERIFY2(fonts.contains(QRegularExpression(QStringLiteral("IPAGothic +CID TrueType +Identity-H +yes"))),
                 qPrintable(fonts));

        // Every printed text's first word stands in the PDF where the printer
        // put it: the same left edge (or inside a word it touches), its
        // baseline inside the word's box.
        const std::vector<PdfWord> words = PdfWords(pdf);
        QVERIFY(!words.empty());
        constexpr double pointsPerDot = 72.0 / 600.0;
        int compared = 0;
        for (const test::PaintCall &call : printed) {
            if (call.text.isEmpty() || call.text.front().isSpace())
                continue;
            // The face gives "～" and "〜" one glyph; poppler reads back either.
            const QString first =
                call.text
                    .left(std::find_if(call.text.begin(), call.text.end(), [](QChar c) { return c.isSpace(); })
                          - call.text.begin())
                    .replace(QChar(0xFF5E), QChar(0x301C));
            const QPointF at = call.point * pointsPerDot;
            const auto match = std::find_if(words.begin(), words.end(), [&](const PdfWord &w) {
                // poppler joins texts that touch ("〜" and "10月" into "〜10月").
                const bool starts = w.text.startsWith(first) && std::abs(w.box.left() - at.x()) < 0.5;
                const bool inside = w.text.contains(first) && w.box.left() < at.x() && at.x() < w.box.right();
                return (starts || inside) && w.box.top() - 0.5 < at.y() && at.y() < w.box.bottom() + 0.5;
            });
            QVERIFY2(match != words.end(),
                     qPrintable(call.text + QStringLiteral(" at %1, %2").arg(at.x()).arg(at.y())));
            ++compared;
        }
        QVERIFY(compared > 100);

        // The JIS B5 paper of Yoshi 0.
        m_records.settings.Yoshi = 0;
        m_platform.fileDialogs.answers.push_back(pdf);
        QTest::mouseClick(button, Qt::LeftButton);
        const QSizeF b5 = PdfPageMm(pdf);
        QVERIFY(std::abs(b5.width() - 182) < 0.5 && std::abs(b5.height() - 257) < 0.5);
    }

    void pdfButtonRefusals()
    {
        QTemporaryDir dir;
        m_form->SetFileWriter(textout::WriteFileBytes);
        // Cancelled: nothing written, nothing said.
        QTest::mouseClick(Button(5), Qt::LeftButton);
        QCOMPARE(m_platform.fileDialogs.requests.size(), std::size_t(1));
        QVERIFY(m_messages.shown.empty());
        QVERIFY(QDir(dir.path()).isEmpty());

        // A file that cannot be made is told, not passed over.
        const QString unreachable = dir.filePath(QStringLiteral("no-such-folder/x.pdf"));
        m_platform.fileDialogs.answers.push_back(unreachable);
        QTest::mouseClick(Button(5), Qt::LeftButton);
        QCOMPARE(m_messages.shown,
                 std::vector<QString>{QStringLiteral("ファイル %1 を作成できません").arg(unreachable)});

        // Bad input beeps and asks for no file.
        m_fields.day = QStringLiteral("x");
        const int beeps = m_platform.sounds.beeps;
        QTest::mouseClick(Button(5), Qt::LeftButton);
        QCOMPARE(m_platform.sounds.beeps, beeps + 1);
        QCOMPARE(m_platform.fileDialogs.requests.size(), std::size_t(2));
    }
};

QTEST_MAIN(PrevFormTest)
#include "prev_form_qtest.moc"
