// ralvo-schedule as a user runs it: where -o points (a full disk, a device,
// a FIFO, a link), and an environment meant for a desktop or for cron.

#include "support/FileSystemNodes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <poll.h>

using namespace ralvo::test;

namespace {

const QStringList kExample = {QStringLiteral("--basis"), QStringLiteral("0"),         QStringLiteral("--year"),
                              QStringLiteral("2024"),    QStringLiteral("--month"),   QStringLiteral("1"),
                              QStringLiteral("--day"),   QStringLiteral("1"),         QStringLiteral("--cycle"),
                              QStringLiteral("28"),      QStringLiteral("--defaults")};

struct ToolRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

QProcessEnvironment Environment() { return QProcessEnvironment::systemEnvironment(); }

ToolRun RunTool(const QStringList &arguments, const QProcessEnvironment &environment = Environment())
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(RALVO_SCHEDULE_TOOL), arguments);
    ToolRun run;
    if (!tool.waitForFinished(120000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = tool.exitCode();
    run.out = tool.readAllStandardOutput();
    run.err = tool.readAllStandardError();
    return run;
}

QStringList Text(const QStringList &more) { return QStringList{QStringLiteral("text")} + kExample + more; }

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Expected() { return ReadAll(QStringLiteral(RALVO_CLI_DATA "/lmp-2024-01-01.txt")); }

} // namespace

TEST(ScheduleToolOutput, AFullDiskFailsWithStatus73AndKeepsTheOldFile)
{
    SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    const QString target = disk.filePath(QStringLiteral("schedule.txt"));
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("last week's schedule\r\n");
    }
    ASSERT_TRUE(disk.Fill());

    const ToolRun run = RunTool(Text({QStringLiteral("-o"), target}));
    EXPECT_EQ(run.status, 73);
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("ディスクの空き容量が足りません")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(ReadAll(target), "last week's schedule\r\n");
    EXPECT_EQ(disk.Names(), QStringList{QStringLiteral("schedule.txt")});
}

TEST(ScheduleToolOutput, DevicesAndLinksToThemAreWrittenIntoNotReplaced)
{
    QTemporaryDir dir;
    const QString null = dir.filePath(QStringLiteral("null"));
    const QString full = dir.filePath(QStringLiteral("full"));
    if (!MakeCharacterDevice(null, kMemoryMajor, kNullMinor) || !MakeCharacterDevice(full, kMemoryMajor, kFullMinor))
        GTEST_SKIP() << "mknod needs root";
    const QString link = dir.filePath(QStringLiteral("to-null.txt"));
    ASSERT_TRUE(QFile::link(null, link));

    EXPECT_EQ(RunTool(Text({QStringLiteral("-o"), null})).status, 0);
    EXPECT_EQ(RunTool(Text({QStringLiteral("-o"), link})).status, 0);
    const ToolRun onFull = RunTool(Text({QStringLiteral("-o"), full}));
    EXPECT_EQ(onFull.status, 73) << "a device that refuses the bytes is a failure";
    EXPECT_EQ(onFull.err.count('\n'), 1);
    EXPECT_EQ(NodeType(null), S_IFCHR);
    EXPECT_EQ(NodeType(full), S_IFCHR);
    EXPECT_EQ(NodeType(link), S_IFLNK);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(), 3);

    // A dangling link is refused: nothing appears where it points.
    const QString dangling = dir.filePath(QStringLiteral("dangling.txt"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere.txt")), dangling));
    EXPECT_EQ(RunTool(Text({QStringLiteral("-o"), dangling})).status, 73);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("nowhere.txt"))));
}

TEST(ScheduleToolOutput, APageGoesIntoAFifoAsAStream)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("page.pdf"));
    ASSERT_TRUE(MakeFifo(fifo));

    // Nobody reading: refused at once, the FIFO stays.
    const QStringList page = QStringList{QStringLiteral("page")} + kExample
                             + QStringList{QStringLiteral("--dpi"), QStringLiteral("40"), QStringLiteral("-o"), fifo};
    const ToolRun unread = RunTool(page);
    EXPECT_EQ(unread.status, 73);
    EXPECT_EQ(NodeType(fifo), S_IFIFO);

    // A reader: the whole PDF arrives through the FIFO.
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    QProcess tool;
    tool.start(QStringLiteral(RALVO_SCHEDULE_TOOL), page);
    QByteArray received;
    bool finished = false;
    for (;;) {
        pollfd ready{reader, POLLIN, 0};
        ::poll(&ready, 1, 100);
        char buffer[65536];
        const ssize_t n = ::read(reader, buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, n);
            continue;
        }
        if (finished)
            break; // drained after the tool ended
        finished = tool.waitForFinished(0) || tool.state() == QProcess::NotRunning;
    }
    ::close(reader);
    tool.waitForFinished();
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(received.startsWith("%PDF-")) << received.left(20).toStdString();
    EXPECT_TRUE(received.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(NodeType(fifo), S_IFIFO);
}

// A desktop exports QT_QPA_PLATFORM=xcb; cron has neither a display nor
// XDG_RUNTIME_DIR. The tool still runs, keeps every argument for itself and
// writes nothing of Qt's on standard error.
TEST(ScheduleToolEnvironment, ADesktopPlatformWithoutDisplayChangesNothing)
{
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));

    const ToolRun named = RunTool(Text({QStringLiteral("--name"), QStringLiteral("サンプル")}), environment);
    EXPECT_EQ(named.status, 0) << named.err.toStdString();
    EXPECT_EQ(named.out, Expected());
    EXPECT_EQ(named.err, QByteArray());

    // Words Qt itself would take from its command line are the user's.
    const ToolRun dashed =
        RunTool(Text({QStringLiteral("--utf8"), QStringLiteral("--name"), QStringLiteral("-reverse")}), environment);
    EXPECT_EQ(dashed.status, 0) << dashed.err.toStdString();
    EXPECT_TRUE(dashed.out.contains("-reverseさんの出産までのスケジュール")) << dashed.out.left(300).toStdString();
    EXPECT_EQ(dashed.err, QByteArray());

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    const ToolRun page =
        RunTool(QStringList{QStringLiteral("page")} + kExample
                    + QStringList{QStringLiteral("--dpi"), QStringLiteral("20"), QStringLiteral("-o"), png},
                environment);
    EXPECT_EQ(page.status, 0) << page.err.toStdString();
    EXPECT_EQ(page.err, QByteArray());
    EXPECT_TRUE(ReadAll(png).startsWith("\x89PNG"));
}

// page --batch never writes its PDF over the CSV it reads, whatever path
// leads there.
TEST(ScheduleToolOutput, AnOutputOntoTheBatchFileIsRefused)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("in.csv"));
    const QByteArray table = "name,basis,year,month,day,cycle\n山田,0,2024,1,1,28\n";
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(table);
    file.close();
    const QString link = dir.filePath(QStringLiteral("out.pdf"));
    ASSERT_TRUE(QFile::link(csv, link));
    const QString hard = dir.filePath(QStringLiteral("hard.pdf"));
    ASSERT_TRUE(::link(QFile::encodeName(csv).constData(), QFile::encodeName(hard).constData()) == 0);
    for (const QString &output : {link, hard}) {
        const ToolRun run = RunTool({QStringLiteral("page"), QStringLiteral("--defaults"), QStringLiteral("--batch"),
                                     csv, QStringLiteral("-o"), output});
        EXPECT_EQ(run.status, 64) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_EQ(ReadAll(csv), table);
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

// Cells, option values and file names reach standard error with their
// control characters escaped: a crafted file cannot retitle or clear the
// terminal, or forge a line.
TEST(ScheduleToolInput, ControlCharactersInQuotedInputAreEscaped)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("bad\x1b[2J.csv"));
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("name,basis,year,month,day,cycle\n"
               "a,\"\x1b]0;owned\x07\x1b[2J\r\nforged\xc2\x9b\",2024,1,1,28\n"
               "b,0,2024,1,1,28\n");
    file.close();
    const ToolRun batch =
        RunTool({QStringLiteral("page"), QStringLiteral("--defaults"), QStringLiteral("--dpi"), QStringLiteral("20"),
                 QStringLiteral("--batch"), csv, QStringLiteral("-o"), dir.filePath(QStringLiteral("out.pdf"))});
    EXPECT_EQ(batch.status, 2);
    EXPECT_EQ(batch.err.count('\n'), 1) << batch.err.toStdString();
    EXPECT_TRUE(batch.err.contains("\\x1b]0;owned\\x07\\x1b[2J\\r\\nforged")) << batch.err.toStdString();
    EXPECT_TRUE(batch.err.contains("bad\\x1b[2J.csv")) << batch.err.toStdString();

    const ToolRun option = RunTool(
        QStringList{QStringLiteral("dates"), QStringLiteral("--basis"), QStringLiteral("\x1b[2J\n0"),
                    QStringLiteral("--year"), QStringLiteral("2024"), QStringLiteral("--month"), QStringLiteral("1"),
                    QStringLiteral("--day"), QStringLiteral("1"), QStringLiteral("--cycle"), QStringLiteral("28")});
    EXPECT_EQ(option.status, 64);
    EXPECT_TRUE(option.err.contains("\\x1b[2J\\n0")) << option.err.toStdString();
    for (const ToolRun &run : {batch, option}) {
        EXPECT_FALSE(run.err.contains('\x1b') || run.err.contains('\x07') || run.err.contains('\r')
                     || run.err.contains("\xc2\x9b"))
            << run.err.toStdString();
    }
}

// More data rows than the cap are refused at once, before any page; the
// cap can be raised.
TEST(ScheduleToolInput, ABatchBeyondTheRowCapIsRefused)
{
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("day.csv"));
    QByteArray table = "basis,year,month,day,cycle\n";
    for (int row = 0; row < 20001; ++row)
        table += "x,2024,1,1,28\n";
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(table);
    file.close();
    const QString pdf = dir.filePath(QStringLiteral("day.pdf"));
    const QStringList batch{QStringLiteral("page"),    QStringLiteral("--defaults"),
                            QStringLiteral("--batch"), csv,
                            QStringLiteral("-o"),      pdf};
    const ToolRun capped = RunTool(batch);
    EXPECT_EQ(capped.status, 2);
    EXPECT_EQ(capped.err.count('\n'), 1) << capped.err.left(400).toStdString();
    EXPECT_TRUE(capped.err.contains("20001")) << capped.err.left(400).toStdString();
    EXPECT_TRUE(capped.err.contains("--max-rows")) << capped.err.left(400).toStdString();
    EXPECT_FALSE(QFileInfo::exists(pdf));

    // Raised, the rows are read (each one bad here: no page, 20,001 lines
    // and the one saying nothing could be a page).
    const ToolRun raised = RunTool(batch + QStringList{QStringLiteral("--max-rows"), QStringLiteral("20001")});
    EXPECT_EQ(raised.status, 2);
    EXPECT_EQ(raised.err.count('\n'), 20002);
    EXPECT_EQ(RunTool(batch + QStringList{QStringLiteral("--max-rows"), QStringLiteral("0")}).status, 64);
}
