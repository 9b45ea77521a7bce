// The shared checked writer and reader: whole files or nothing, devices and
// FIFOs written into but never replaced, links followed only by the rule.

#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "support/FileSystemNodes.h"
#include "support/TemporaryFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using ralvo::store::FileReadResult;
using ralvo::store::ReadRegularFile;
using ralvo::store::RemoveStrayTemporaryFiles;
using ralvo::store::WriteFileAtomically;
using namespace ralvo::test;

namespace {

unsigned Mode(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

using FileWriterTest = TemporaryFolderTest;

} // namespace

TEST_F(FileWriterTest, AFullDiskLeavesTheOldFileAndNoTemporaryFile)
{
    SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    const QString target = disk.filePath(QStringLiteral("out.txt"));
    const QByteArray old = "the old contents\r\n";
    WriteAll(target, old);
    ASSERT_TRUE(disk.Fill());

    const auto written = WriteFileAtomically(target, QByteArray(8000, 'n'));
    EXPECT_FALSE(written.ok);
    EXPECT_EQ(written.reason, QStringLiteral("ディスクの空き容量が足りません"));
    EXPECT_EQ(ReadAll(target), old) << "byte for byte";
    EXPECT_EQ(disk.Names(), QStringList{QStringLiteral("out.txt")}) << "nothing half-written remains";

    // A new file on the full disk is not created at all.
    EXPECT_FALSE(WriteFileAtomically(disk.filePath(QStringLiteral("new.txt")), QByteArray(8000, 'n')));
    EXPECT_EQ(disk.Names(), QStringList{QStringLiteral("out.txt")});
}

TEST_F(FileWriterTest, ReplacesAFileKeepingItsPermissions)
{
    const QString target = Path(QStringLiteral("out.txt"));
    WriteAll(target, "old");
    ASSERT_TRUE(
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    ASSERT_TRUE(WriteFileAtomically(target, "new"));
    EXPECT_EQ(ReadAll(target), "new");
    EXPECT_EQ(Mode(target), 0640u);

    ralvo::store::FileWriteOptions privateFile;
    privateFile.newFileMode = 0600;
    privateFile.exactNewMode = true;
    ASSERT_TRUE(WriteFileAtomically(Path(QStringLiteral("new.json")), "{}", privateFile));
    EXPECT_EQ(Mode(Path(QStringLiteral("new.json"))), 0600u);

    EXPECT_FALSE(WriteFileAtomically(Path(QStringLiteral("missing/out.txt")), "x"));
    EXPECT_FALSE(WriteFileAtomically(dir.path(), "x")) << "a folder";
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("new.json"), QStringLiteral("out.txt")}));
}

TEST_F(FileWriterTest, DevicesAndFifosAreWrittenIntoNeverReplaced)
{
    const QString null = Path(QStringLiteral("null"));
    const QString full = Path(QStringLiteral("full"));
    if (!MakeCharacterDevice(null, kMemoryMajor, kNullMinor) || !MakeCharacterDevice(full, kMemoryMajor, kFullMinor))
        GTEST_SKIP() << "mknod needs root";

    EXPECT_TRUE(WriteFileAtomically(null, "into the void"));
    EXPECT_EQ(NodeType(null), S_IFCHR);
    const auto onFull = WriteFileAtomically(full, "x");
    EXPECT_FALSE(onFull.ok) << "a failing device is a failure";
    EXPECT_EQ(onFull.reason, QStringLiteral("ディスクの空き容量が足りません"));
    EXPECT_EQ(NodeType(full), S_IFCHR);

    // A link to a device streams into the device; the link stays.
    const QString link = Path(QStringLiteral("link-to-null"));
    ASSERT_TRUE(QFile::link(null, link));
    EXPECT_TRUE(WriteFileAtomically(link, "x"));
    EXPECT_EQ(NodeType(link), S_IFLNK);
    EXPECT_EQ(NodeType(null), S_IFCHR);
    EXPECT_EQ(Names().size(), 3) << "no temporary file beside them";
}

TEST_F(FileWriterTest, AFifoIsStreamedIntoOrRefusedWithoutWaiting)
{
    const QString fifo = Path(QStringLiteral("pipe"));
    ASSERT_TRUE(MakeFifo(fifo));

    QElapsedTimer timer;
    timer.start();
    const auto unread = WriteFileAtomically(fifo, "nobody listens");
    EXPECT_FALSE(unread.ok);
    EXPECT_LT(timer.elapsed(), 5000) << "never blocks on a FIFO without a reader";
    EXPECT_EQ(NodeType(fifo), S_IFIFO);

    QByteArray received;
    std::thread reader([&] {
        QFile file(fifo);
        if (file.open(QIODevice::ReadOnly))
            received = file.readAll();
    });
    const QByteArray bytes(200000, 'p'); // more than the pipe holds at once
    bool written = false;
    timer.restart();
    while (!written && timer.elapsed() < 60000) {
        written = WriteFileAtomically(fifo, bytes).ok; // until the reader has opened its end
        if (!written)
            std::this_thread::yield();
    }
    if (!written) { // free the reader before failing
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
        ::close(fd);
    }
    reader.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(received, bytes);
    EXPECT_EQ(NodeType(fifo), S_IFIFO);
}

TEST_F(FileWriterTest, LinksAreFollowedOnlyToTheUsersOwnRegularFile)
{
    // A dangling link: nothing is created where it points.
    const QString outside = Path(QStringLiteral("elsewhere/target.json"));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("elsewhere"))));
    const QString dangling = Path(QStringLiteral("dangling.json"));
    ASSERT_TRUE(QFile::link(outside, dangling));
    const auto refused = WriteFileAtomically(dangling, "x");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.reason, QStringLiteral("リンク先のファイルがありません"));
    EXPECT_FALSE(QFileInfo::exists(outside));

    // A link to the user's own file: that file is replaced, the link stays.
    const QString own = Path(QStringLiteral("elsewhere/own.json"));
    WriteAll(own, "old");
    const QString link = Path(QStringLiteral("own-link.json"));
    ASSERT_TRUE(QFile::link(own, link));
    EXPECT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_EQ(ReadAll(own), "new");
    EXPECT_EQ(NodeType(link), S_IFLNK);

    // A link to another user's file is refused and the file stays theirs.
    if (::geteuid() != 0)
        GTEST_SKIP() << "a file of another user needs root to make";
    const QString theirs = Path(QStringLiteral("elsewhere/theirs.json"));
    WriteAll(theirs, "theirs");
    ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);
    const QString toTheirs = Path(QStringLiteral("their-link.json"));
    ASSERT_TRUE(QFile::link(theirs, toTheirs));
    const auto notOurs = WriteFileAtomically(toTheirs, "mine");
    EXPECT_FALSE(notOurs.ok);
    EXPECT_EQ(notOurs.reason, QStringLiteral("リンク先が他のユーザーのファイルです"));
    EXPECT_EQ(ReadAll(theirs), "theirs");
    EXPECT_EQ(QFileInfo(theirs).ownerId(), 65534u);

    // Replaced directly (not through a link), another user's file keeps its owner.
    ASSERT_TRUE(WriteFileAtomically(theirs, "edited by root"));
    EXPECT_EQ(QFileInfo(theirs).ownerId(), 65534u);
    EXPECT_EQ(QFileInfo(theirs).groupId(), 65534u);
}

// A large document (a batch PDF) goes to the temporary file beside the
// target while it is made, never held whole in memory; the target changes
// only when it is whole.
TEST_F(FileWriterTest, AStreamedFileFillsItsTemporaryFileAndReplacesTheTargetOnlyWhenCommitted)
{
    const QString target = Path(QStringLiteral("day.pdf"));
    WriteAll(target, "last week's pages");
    const QByteArray piece(1 << 20, 'p');
    {
        ralvo::store::StreamingFileWriter writer(target);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(writer.Write(piece));
        const QStringList names = Names();
        ASSERT_EQ(names.size(), 2) << names.join(u' ').toStdString();
        const QString temporary = names.filter(QStringLiteral("day.pdf.")).value(0);
        EXPECT_GE(QFileInfo(Path(temporary)).size(), 2 * piece.size()) << "the pieces are on disk already";
        EXPECT_EQ(ReadAll(target), "last week's pages");
        // Dropped without Commit(): the old file stays, nothing else remains.
    }
    EXPECT_EQ(ReadAll(target), "last week's pages");
    EXPECT_EQ(Names(), QStringList{QStringLiteral("day.pdf")});

    ralvo::store::StreamingFileWriter writer(target);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(writer.Write(piece));
    ASSERT_TRUE(writer.Write("end"));
    EXPECT_TRUE(writer.Commit().ok);
    EXPECT_EQ(ReadAll(target), piece + piece + piece + "end");
    EXPECT_EQ(Names(), QStringList{QStringLiteral("day.pdf")});

    // A target that cannot be written fails at once, before anything is made.
    ralvo::store::StreamingFileWriter refused(Path(QStringLiteral("missing/day.pdf")));
    EXPECT_TRUE(refused.failed());
    EXPECT_FALSE(refused.Write("x"));
    EXPECT_EQ(refused.Commit().reason, QStringLiteral("フォルダがありません"));
}

TEST_F(FileWriterTest, StrayTemporaryFilesOfThatNameAreRemoved)
{
    const QString target = Path(QStringLiteral("settings.json"));
    WriteAll(target, "{}");
    for (const char *name : {"settings.json.Ab12Cd", "settings.json.zzzzzz", "settings.json.abc12",
                             "settings.json.damaged-20240101-000000", "other.json.Ab12Cd"})
        WriteAll(Path(QString::fromLatin1(name)), "x");
    EXPECT_EQ(RemoveStrayTemporaryFiles(target), 2);
    EXPECT_EQ(Names(), (QStringList{QStringLiteral("other.json.Ab12Cd"), QStringLiteral("settings.json"),
                                    QStringLiteral("settings.json.abc12"),
                                    QStringLiteral("settings.json.damaged-20240101-000000")}));
}

TEST_F(FileWriterTest, TheReaderTakesOnlyRegularFilesUpToTheCap)
{
    const QString file = Path(QStringLiteral("small"));
    WriteAll(file, "12345");
    EXPECT_EQ(ReadRegularFile(file, 5).bytes, "12345");
    EXPECT_EQ(ReadRegularFile(file, 4).status, FileReadResult::Status::Refused);
    EXPECT_EQ(ReadRegularFile(Path(QStringLiteral("none")), 5).status, FileReadResult::Status::Missing);
    EXPECT_EQ(ReadRegularFile(dir.path(), 5).status, FileReadResult::Status::Refused);

    const QString fifo = Path(QStringLiteral("pipe"));
    ASSERT_TRUE(MakeFifo(fifo));
    const FileReadResult fromFifo = ReadRegularFile(fifo, 5); // must not wait for a writer
    EXPECT_EQ(fromFifo.status, FileReadResult::Status::Refused);
    EXPECT_EQ(fromFifo.reason, QStringLiteral("通常のファイルではありません"));

    const QString zero = Path(QStringLiteral("zero"));
    if (!MakeCharacterDevice(zero, kMemoryMajor, kZeroMinor))
        GTEST_SKIP() << "mknod needs root";
    const QString link = Path(QStringLiteral("link-to-zero"));
    ASSERT_TRUE(QFile::link(zero, link));
    EXPECT_EQ(ReadRegularFile(link, 1 << 20).status, FileReadResult::Status::Refused) << "never reads a device";
}
