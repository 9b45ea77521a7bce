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

QProcessEnvironment Environment()
{
    return QProcessEnvironment::systemEnvironment();
}

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

QStringList Text(const QStringList &more)
{
    return QStringList{QStringLiteral("text")} + kExample + more;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Expected()
{
    return ReadAll(QStringLiteral(RALVO_CLI_DATA "/lmp-2024-01-01.txt"));
}

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
