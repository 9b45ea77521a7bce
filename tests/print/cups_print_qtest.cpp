// The real print path: the worked example printed through PrintSchedule and
// Qt Print Support to a CUPS-PDF queue, with the print dialog accepted as a
// user would, and the PDF that arrives checked for the page. Where no CUPS
// scheduler can run, the same page goes through Qt's PDF output instead.
// Queues with other default papers check that the paper setting reaches the
// sheet, and a rejecting queue that a refused job is told to the user, by
// the schedule's print command and by the text editor's.

#include "platform/Fonts.h"
#include "platform/qt/QtPlatform.h"
#include "print/CalendarPage.h"
#include "print/ui/QtSchedulePrinter.h"
#include "records/AppRecords.h"
#include "settings/LastInputFields.h"
#include "support/FakePlatform.h"
#include "support/FindControl.h"
#include "textout/ui/TextEditorForm.h"

#include <cups/cups.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ralvo;

namespace {

QString Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Where CUPS-PDF puts the jobs of this user: "Out" of its configuration,
// ${HOME} being the user's home from the password database (the backend
// does not see our environment).
QString CupsPdfOutputDir()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        const QRegularExpression outLine(QStringLiteral("^Out\\s+(\\S+)\\s*$"), QRegularExpression::MultilineOption);
        const auto match = outLine.match(QString::fromUtf8(conf.readAll()));
        if (match.hasMatch())
            out = match.captured(1);
    }
    const passwd *user = getpwuid(getuid());
    return out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user ? user->pw_dir : "/"));
}

// The PDF files in `dir`, each with what identifies this version of it
// (inode, modification time, size). Job numbers restart with each private
// scheduler, so a job's name can be that of a file an earlier run left: the
// job's own output is the file that is new or changed since the job began.
QHash<QString, QString> PdfFiles(const QString &dir)
{
    QHash<QString, QString> files;
    const QStringList names = QDir(dir).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    for (const QString &name : names) {
        struct stat st;
        if (::stat(QFile::encodeName(QDir(dir).filePath(name)).constData(), &st) == 0)
            files.insert(name, QStringLiteral("%1:%2.%3:%4")
                                   .arg(st.st_ino)
                                   .arg(st.st_mtim.tv_sec)
                                   .arg(st.st_mtim.tv_nsec)
                                   .arg(st.st_size));
    }
    return files;
}

// A PDF in `dir` that is not in `before`, or changed since; empty when none.
QString NewPdf(const QString &dir, const QHash<QString, QString> &before)
{
    const QHash<QString, QString> now = PdfFiles(dir);
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (before.value(it.key()) != it.value())
            return QDir(dir).filePath(it.key());
    }
    return {};
}

bool EndsAsAPdf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll().trimmed().endsWith("%%EOF");
}

// Checks that `pdf` holds one A4 page with the schedule on it: the table
// frame's left edge as a dark line at 0.0952 of the width down the table, and
// the teal title and the red due-date line in their bands.
void VerifyPrintedPage(const QString &pdf)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+59[45](\\.\\d+)? x 84[12](\\.\\d+)? pts"))),
             qPrintable(info));

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString base = tmp.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"),
                                     QStringLiteral("-singlefile"), pdf, base});
    const QImage image(base + QStringLiteral(".png"));
    QVERIFY(!image.isNull());
    const int w = image.width();
    const int h = image.height();

    // The frame's left edge: a dark pixel near x = 0.0952 W on nearly every
    // line of the table.
    int darkLines = 0;
    const int top = int(0.13 * h);
    const int bottom = int(0.79 * h);
    for (int y = top; y < bottom; ++y) {
        for (int x = int(0.0952 * w) - 3; x <= int(0.0952 * w) + 3; ++x) {
            if (qGray(image.pixel(x, y)) < 100) {
                ++darkLines;
                break;
            }
        }
    }
    QVERIFY2(darkLines > 0.95 * (bottom - top), qPrintable(QString::number(darkLines)));

    // Coloured text: teal (0, 128, 128) in the title band, red in the due-date band.
    const auto countNear = [&](int y0, int y1, QColor colour) {
        int n = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = 0; x < w; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (qAbs(c.red() - colour.red()) < 60 && qAbs(c.green() - colour.green()) < 60
                    && qAbs(c.blue() - colour.blue()) < 60)
                    ++n;
            }
        }
        return n;
    };
    QVERIFY(countNear(int(0.06 * h), int(0.09 * h), QColor(0, 128, 128)) > 100);
    QVERIFY(countNear(int(0.095 * h), int(0.12 * h), QColor(255, 0, 0)) > 100);
}

// The page size of the first page of `pdf` in points; empty when unknown.
QSizeF PdfPageSize(const QString &pdf)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    const auto match = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    if (!match.hasMatch())
        return {};
    return QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
}

// Jobs of the private scheduler not yet finished.
int ActiveJobs()
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
    cupsFreeJobs(std::max(count, 0), jobs);
    return count;
}

// Waits until the scheduler has finished every job and the job's PDF is in
// `out` (the backend writes it before the job completes).
void AwaitNewPdf(const QString &out, const QHash<QString, QString> &before, QString &arrived)
{
    QTRY_VERIFY_WITH_TIMEOUT(ActiveJobs() == 0 && !NewPdf(out, before).isEmpty(), 90000);
    arrived = NewPdf(out, before);
    QVERIFY(EndsAsAPdf(arrived));
}

// Creates an empty job on the PDF queue and purges it at once, printing
// nothing; its id tells which jobs the scheduler was given before it.
int ProbeJobId()
{
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, "RalvoPDF", "ralvo probe", 0, nullptr);
    if (id > 0)
        cupsCancelJob2(CUPS_HTTP_DEFAULT, "RalvoPDF", id, 1);
    return id;
}

bool CupsUnavailable()
{
    const QString dir = qEnvironmentVariable("RALVO_CUPS_DIR");
    return dir.isEmpty() || QFile::exists(dir + QStringLiteral("/unavailable"));
}

// The platform's print dialogs with another queue as the default printer.
class QueuePrintDialogs final : public platform::PrintDialogs
{
public:
    explicit QueuePrintDialogs(QString queue) : m_queue(std::move(queue)) {}
    bool ExecPrintDialog(QPrinter &printer) override { return m_qt.ExecPrintDialog(printer); }
    bool ExecPrinterSetupDialog(QPrinter &printer) override { return m_qt.ExecPrinterSetupDialog(printer); }
    QStringList AvailablePrinters() const override { return m_qt.AvailablePrinters(); }
    QString DefaultPrinter() const override { return m_queue; }

private:
    platform::QtPrintDialogs m_qt;
    QString m_queue;
};

// Accepts the print dialog as soon as it is up, as the user would.
class DialogAcceptor : public QObject
{
public:
    int accepted = 0;
    DialogAcceptor() { m_timer = startTimer(50); }

protected:
    void timerEvent(QTimerEvent *) override
    {
        if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
            ++accepted;
            dialog->accept();
        }
    }

private:
    int m_timer = 0;
};

// The printer of the command, with Qt's PDF output in place of the default
// printer.
class PdfFilePrinter final : public SchedulePrinter
{
public:
    PdfFilePrinter(QPrinter &printer, platform::PrintDialogs &dialogs, QString file)
        : m_qt(printer, dialogs), m_printer(printer), m_file(std::move(file))
    {}
    bool SelectDefaultPrinter() override
    {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_file);
        return true;
    }
    void SetPaperSize(QPageSize::PageSizeId paper) override { m_qt.SetPaperSize(paper); }
    void SetPortrait() override { m_qt.SetPortrait(); }
    bool ShowPrintDialog() override { return m_qt.ShowPrintDialog(); }
    PrinterSheet Sheet() const override { return m_qt.Sheet(); }
    QPainter *BeginDocument() override { return m_qt.BeginDocument(); }
    bool EndDocument() override { return m_qt.EndDocument(); }
    void AbortDocument() override { m_qt.AbortDocument(); }

private:
    QtSchedulePrinter m_qt;
    QPrinter &m_printer;
    QString m_file;
};

} // namespace

class CupsPrintTest : public QObject
{
    Q_OBJECT

private:
    test::FakePlatform m_platform;
    AppRecords m_records;
    PlainInputFields m_fields;

    PageSources Sources()
    {
        return PageSources{m_records.settings, m_records.notices,   m_records.block,
                           m_fields,           m_platform.messages, m_platform.sounds};
    }

private Q_SLOTS:
    void initTestCase()
    {
        platform::InstallFontSubstitutions();
        m_fields.year = QStringLiteral("2024");
        m_fields.month = QStringLiteral("1");
        m_fields.day = QStringLiteral("1");
        m_fields.cycle = QStringLiteral("28");
        m_fields.mother = QStringLiteral("サンプル");
        m_records.settings.Yoshi = 1; // A4
        m_records.settings.Kikanmeicheck = false;
    }

    void printsTheWorkedExampleThroughCups()
    {
        const QString dir = qEnvironmentVariable("RALVO_CUPS_DIR");
        QFile unavailable(dir + QStringLiteral("/unavailable"));
        if (dir.isEmpty() || unavailable.open(QIODevice::ReadOnly))
            QSKIP(qPrintable(QStringLiteral("no CUPS scheduler: ") + QString::fromUtf8(unavailable.readAll()).trimmed()
                             + QStringLiteral("; Qt's PDF output is tested instead")));
        QCOMPARE(QPrinterInfo::defaultPrinterName(), QStringLiteral("RalvoPDF"));

        const QString out = CupsPdfOutputDir();
        const QHash<QString, QString> before = PdfFiles(out);

        QPrinter printer(QPrinter::HighResolution);
        platform::QtPrintDialogs dialogs;
        QtSchedulePrinter port(printer, dialogs);
        DialogAcceptor acceptor;
        QCOMPARE(PrintSchedule(port, Sources()), PrintResult::Printed);
        QCOMPARE(acceptor.accepted, 1);
        QCOMPARE(printer.printerName(), QStringLiteral("RalvoPDF"));
        QVERIFY(m_platform.messages.shown.empty());
        QCOMPARE(m_platform.sounds.beeps, 0);

        // The job lands as a PDF within seconds; wait up to a minute, then
        // for the backend to finish writing it.
        QString arrived;
        QTRY_VERIFY2_WITH_TIMEOUT(!(arrived = NewPdf(out, before)).isEmpty(),
                                  qPrintable(QStringLiteral("no PDF arrived in ") + out), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(EndsAsAPdf(arrived), 30000);
        VerifyPrintedPage(arrived);
        if (!QTest::currentTestFailed())
            QFile::remove(arrived);
    }

    void badInputSendsNoJobToCups()
    {
        if (CupsUnavailable())
            QSKIP("no CUPS scheduler");
        const int before = ProbeJobId();
        QVERIFY2(before > 0, cupsLastErrorString());
        {
            QPrinter printer(QPrinter::HighResolution);
            platform::QtPrintDialogs dialogs;
            QtSchedulePrinter port(printer, dialogs);
            DialogAcceptor acceptor;
            const int beeps = m_platform.sounds.beeps;
            const QString cycle = std::exchange(m_fields.cycle, QString());
            QCOMPARE(PrintSchedule(port, Sources()), PrintResult::InputFailure);
            m_fields.cycle = cycle;
            QCOMPARE(acceptor.accepted, 1);
            QCOMPARE(m_platform.sounds.beeps, beeps + 1);
        } // a document left open would go out as the printer goes
        // Job ids count up by one: a job sent in between would take one.
        QCOMPARE(ProbeJobId(), before + 1);
    }

    // The dialog of Qt 6.4 puts the queue's default paper back when it is
    // accepted; the setting's paper must still be the sheet that comes out.
    void paperSettingReachesTheSheet_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<int>("yoshi");
        QTest::addColumn<QSizeF>("points");
        const QSizeF b5(515.9, 728.5); // JIS B5, 182 × 257 mm
        const QSizeF a4(595.3, 841.9);
        QTest::newRow("B5 on an A4 queue") << QStringLiteral("RalvoA4") << 0 << b5;
        QTest::newRow("A4 on an A4 queue") << QStringLiteral("RalvoA4") << 1 << a4;
        QTest::newRow("B5 on a Letter queue") << QStringLiteral("RalvoLetter") << 0 << b5;
        QTest::newRow("A4 on a Letter queue") << QStringLiteral("RalvoLetter") << 1 << a4;
    }

    void paperSettingReachesTheSheet()
    {
        if (CupsUnavailable())
            QSKIP("no CUPS scheduler");
        QFETCH(QString, queue);
        QFETCH(int, yoshi);
        QFETCH(QSizeF, points);
        const QString out = CupsPdfOutputDir();
        const QHash<QString, QString> before = PdfFiles(out);

        QPrinter printer(QPrinter::HighResolution);
        QueuePrintDialogs dialogs(queue);
        QtSchedulePrinter port(printer, dialogs);
        DialogAcceptor acceptor;
        const int yoshiBefore = std::exchange(m_records.settings.Yoshi, yoshi);
        const PrintResult result = PrintSchedule(port, Sources());
        m_records.settings.Yoshi = yoshiBefore;
        QCOMPARE(result, PrintResult::Printed);
        QCOMPARE(acceptor.accepted, 1);
        QCOMPARE(printer.printerName(), queue);
        // The page was drawn for the sheet that goes out: 600 dpi.
        const QSizeF inches = printer.paperRect(QPrinter::Inch).size();
        QVERIFY2(qAbs(inches.width() * 72 - points.width()) < 3 && qAbs(inches.height() * 72 - points.height()) < 3,
                 qPrintable(QStringLiteral("%1 x %2 in").arg(inches.width()).arg(inches.height())));

        QString arrived;
        AwaitNewPdf(out, before, arrived);
        if (QTest::currentTestFailed())
            return;
        const QSizeF size = PdfPageSize(arrived);
        QVERIFY2(qAbs(size.width() - points.width()) < 3 && qAbs(size.height() - points.height()) < 3,
                 qPrintable(Run(QStringLiteral("pdfinfo"), {arrived})));
        QFile::remove(arrived);
    }

    // The pregnancy calendar's page goes out through the same steps, on the
    // paper of Yoshi.
    void calendarPageGoesThroughTheSameQueue()
    {
        if (CupsUnavailable())
            QSKIP("no CUPS scheduler");
        const QString out = CupsPdfOutputDir();
        const QHash<QString, QString> before = PdfFiles(out);
        QPrinter printer(QPrinter::HighResolution);
        QueuePrintDialogs dialogs(QStringLiteral("RalvoA4"));
        QtSchedulePrinter port(printer, dialogs);
        DialogAcceptor acceptor;
        CalendarRequest request;
        request.today = CalendarDate{2024, 3, 5};
        const int yoshiBefore = std::exchange(m_records.settings.Yoshi, 0);
        const PrintResult result = PrintPage(port, Sources(), true, CalendarPageDrawing(request));
        m_records.settings.Yoshi = yoshiBefore;
        QCOMPARE(result, PrintResult::Printed);

        QString arrived;
        AwaitNewPdf(out, before, arrived);
        if (QTest::currentTestFailed())
            return;
        const QSizeF size = PdfPageSize(arrived);
        QVERIFY2(qAbs(size.width() - 515.9) < 3 && qAbs(size.height() - 728.5) < 3,
                 qPrintable(Run(QStringLiteral("pdfinfo"), {arrived})));
        // (The queue's PDF keeps the glyphs, not their text: the page's
        // texts are checked on the saved PDF.)
        QFile::remove(arrived);
    }

    void refusedJobIsToldToTheUser()
    {
        if (CupsUnavailable())
            QSKIP("no CUPS scheduler");
        QPrinter printer(QPrinter::HighResolution);
        QueuePrintDialogs dialogs(QStringLiteral("RalvoReject"));
        QtSchedulePrinter port(printer, dialogs);
        DialogAcceptor acceptor;
        m_platform.messages.shown.clear();
        QCOMPARE(PrintSchedule(port, Sources()), PrintResult::Refused);
        QCOMPARE(printer.printerName(), QStringLiteral("RalvoReject"));
        QCOMPARE(m_platform.messages.shown.size(), 1u);
        QCOMPARE(m_platform.messages.shown.back(), PrintRefusedMessage());
        QVERIFY(m_platform.messages.shown.back().startsWith(QStringLiteral("プリンタが印刷を受け付けませんでした。")));
    }

    void textEditorTellsARefusedJob()
    {
        if (CupsUnavailable())
            QSKIP("no CUPS scheduler");
        test::FakePlatform fake;
        textout::TTextEditorForm form(fake.Services());
        test::Control<QPlainTextEdit>(form, "RichEdit1")->setPlainText(QStringLiteral("らるぼ 印刷の確認"));
        const QString out = CupsPdfOutputDir();
        const QHash<QString, QString> before = PdfFiles(out);

        form.Printer().setPrinterName(QStringLiteral("RalvoPDF"));
        test::Control<QAction>(form, "Print1")->trigger();
        QVERIFY(fake.messages.shown.empty());
        QString arrived;
        AwaitNewPdf(out, before, arrived);
        QFile::remove(arrived);

        form.Printer().setPrinterName(QStringLiteral("RalvoReject"));
        test::Control<QAction>(form, "Print1")->trigger();
        QCOMPARE(fake.messages.shown.size(), 1u);
        QCOMPARE(fake.messages.shown.back(), platform::PrintRefusedMessage());
    }

    // Started while no scheduler could be reached, the text editor prints to
    // a queue that became reachable after: it asks for the printers at every
    // print command.
    void textEditorFindsAPrinterThatAppearsAfterStart()
    {
        if (CupsUnavailable())
            QSKIP("no CUPS scheduler");
        const QByteArray scheduler = qgetenv("CUPS_SERVER");
        QVERIFY(!scheduler.isEmpty());
        // The client asks a socket that does not exist yet; it appears as a
        // link to the running scheduler's.
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString socket = tmp.filePath(QStringLiteral("cups.sock"));
        cupsSetServer(QFile::encodeName(socket).constData());
        const auto restore = qScopeGuard([&] { cupsSetServer(scheduler.constData()); });

        test::FakePlatform fake;
        platform::QtPrintDialogs dialogs;
        platform::Services services = fake.Services();
        services.printDialogs = &dialogs;
        textout::TTextEditorForm form(services);
        test::Control<QPlainTextEdit>(form, "RichEdit1")->setPlainText(QStringLiteral("らるぼ 後から来たプリンタ"));
        QVERIFY(dialogs.AvailablePrinters().isEmpty());
        test::Control<QAction>(form, "Print1")->trigger();
        QCOMPARE(fake.messages.shown.size(), 1u);
        QCOMPARE(fake.messages.shown.back(), QStringLiteral("印刷できるプリンタがありません。"));

        QVERIFY(QFile::link(QFile::decodeName(scheduler), socket));
        QVERIFY(dialogs.AvailablePrinters().contains(QStringLiteral("RalvoPDF")));
        const QString out = CupsPdfOutputDir();
        const QHash<QString, QString> before = PdfFiles(out);
        test::Control<QAction>(form, "Print1")->trigger();
        QCOMPARE(fake.messages.shown.size(), 1u);
        QCOMPARE(form.Printer().printerName(), QStringLiteral("RalvoPDF"));
        QString arrived;
        AwaitNewPdf(out, before, arrived);
        QFile::remove(arrived);
    }

    void printsTheWorkedExampleThroughQtPdfOutput()
    {
        QTemporaryDir tmp;
        QVERIFY(tmp.isValid());
        const QString file = tmp.filePath(QStringLiteral("schedule.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        test::FakePrintDialogs dialogs;
        PdfFilePrinter port(printer, dialogs, file);
        QCOMPARE(PrintSchedule(port, Sources()), PrintResult::Printed);
        QCOMPARE(dialogs.printDialogs, 1);
        VerifyPrintedPage(file);
        if (QTest::currentTestFailed())
            return;
        // Japanese text is embedded as text, in the IPA face.
        const QString text = Run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        QVERIFY2(text.contains(QStringLiteral("サンプルさんの出産までのスケジュール")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("2024年10月")));
        QVERIFY(Run(QStringLiteral("pdffonts"), {file}).contains(QStringLiteral("IPAGothic")));
    }

    void noInstalledPrinterIsReportedByTheQtPrinter()
    {
        QPrinter printer(QPrinter::HighResolution);
        test::FakePrintDialogs dialogs;
        dialogs.printers.clear();
        QtSchedulePrinter port(printer, dialogs);
        test::FakeSounds sounds;
        QCOMPARE(PrintSchedule(port, Sources()), PrintResult::NoPrinter);
        QCOMPARE(dialogs.printDialogs, 0);
        QCOMPARE(m_platform.messages.shown.back(), NoPrinterMessage());
        QVERIFY(!printer.isValid() || printer.printerState() != QPrinter::Active);
    }
};

QTEST_MAIN(CupsPrintTest)
#include "cups_print_qtest.moc"
