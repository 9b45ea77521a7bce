// The per-user settings store on temporary files.

#include "store/SettingsStore.h"
#include "support/CalcPrinters.h"
#include "support/FileSystemNodes.h"
#include "support/TemporaryFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using ralvo::store::CanonicalKeyPath;
using ralvo::store::SettingsStore;
using ralvo::store::StoredValue;

namespace {

using ralvo::test::ReadAll;
using ralvo::test::WriteAll;

class SettingsStoreTest : public ralvo::test::TemporaryFolderTest
{
protected:
    QString StorePath() const { return dir.filePath(QStringLiteral("settings.json")); }
    QStringList AsideFiles() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("settings.json.damaged-*")}, QDir::Files | QDir::System);
    }
};

} // namespace

TEST(SettingsStoreKeys, PathsAreCanonicalAndCompareWithoutCase)
{
    EXPECT_EQ(CanonicalKeyPath(QStringLiteral("\\Software\\Quenda")), QStringLiteral("\\Software\\Quenda"));
    EXPECT_EQ(CanonicalKeyPath(QStringLiteral("Software\\Quenda")), QStringLiteral("\\Software\\Quenda"));
    for (const char *bad : {"", "\\", "\\A\\\\B", "\\A\\", "\\\\A"})
        EXPECT_EQ(CanonicalKeyPath(QString::fromLatin1(bad)), QString()) << bad;

    SettingsStore store = SettingsStore::InMemory();
    EXPECT_FALSE(store.OpenKeyForReading(QStringLiteral("\\A\\B")));
    EXPECT_TRUE(store.KeyPaths().isEmpty()) << "opening for reading creates nothing";

    auto written = store.OpenKeyForWriting(QStringLiteral("\\A\\B\\C"));
    ASSERT_TRUE(written);
    EXPECT_TRUE(written->WriteInteger(QStringLiteral("Value"), 1));
    EXPECT_TRUE(written->WriteText(QStringLiteral("VALUE"), QStringLiteral("x")));
    EXPECT_EQ(written->ValueNames(), QStringList{QStringLiteral("Value")}) << "replaced, keeping its name";

    // The parents exist; the key is found whatever the case.
    EXPECT_TRUE(store.OpenKeyForReading(QStringLiteral("\\a")));
    EXPECT_TRUE(store.OpenKeyForReading(QStringLiteral("\\A\\b")));
    EXPECT_FALSE(store.OpenKeyForReading(QStringLiteral("\\A\\B\\C\\D")));
    EXPECT_FALSE(store.OpenKeyForReading(QStringLiteral("\\A\\BC")));
    const auto read = store.OpenKeyForReading(QStringLiteral("\\a\\b\\c"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Value(QStringLiteral("vAlUe")), StoredValue::Text(QStringLiteral("x")));
    EXPECT_FALSE(read->Value(QStringLiteral("Other")));
    EXPECT_FALSE(read->isWritable());
    auto readOnly = *read;
    EXPECT_FALSE(readOnly.WriteInteger(QStringLiteral("Value"), 2)) << "a key opened for reading refuses writes";

    auto again = store.OpenKeyForWriting(QStringLiteral("\\a\\B\\c"));
    EXPECT_EQ(again->path(), QStringLiteral("\\A\\B\\C"));
    EXPECT_EQ(store.KeyPaths(), QStringList{QStringLiteral("\\A\\B\\C")});
}

TEST_F(SettingsStoreTest, EveryKindSurvivesTheFile)
{
    const QJsonObject binary{{QStringLiteral("kind"), QStringLiteral("binary")},
                             {QStringLiteral("data"), QStringLiteral("00ff10")}};
    const QByteArray file =
        QJsonDocument(QJsonObject{{QStringLiteral("format"), QStringLiteral("ralvo-settings")},
                                  {QStringLiteral("version"), 1},
                                  {QStringLiteral("keys"),
                                   QJsonObject{{QStringLiteral("\\K"),
                                                QJsonObject{{QStringLiteral("Binary"), binary},
                                                            {QStringLiteral("Big"), 4294967296.0},
                                                            {QStringLiteral("Flag"), true},
                                                            {QStringLiteral("List"), QJsonArray{1, 2}}}}}}})
            .toJson();
    WriteAll(StorePath(), file);

    SettingsStore store = SettingsStore::Open(StorePath());
    EXPECT_EQ(store.TakeProblemReport(), QString());
    auto key = store.OpenKeyForWriting(QStringLiteral("\\K"));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->Value(QStringLiteral("Binary"))->dataSize(), 3);
    EXPECT_EQ(key->Value(QStringLiteral("Big"))->dataSize(), 8);
    EXPECT_GT(key->Value(QStringLiteral("Flag"))->dataSize(), 4);
    const QString text = QStringLiteral("改行\r\nと ﾊﾝｶｸ、\"引用\" \\ \t");
    key->WriteText(QStringLiteral("Text"), text);
    key->WriteText(QStringLiteral("Empty"), QString());
    key->WriteInteger(QStringLiteral("Min"), std::numeric_limits<qint32>::min());
    key->WriteInteger(QStringLiteral("Max"), std::numeric_limits<qint32>::max());
    ASSERT_TRUE(store.Save());

    const SettingsStore reopened = SettingsStore::Open(StorePath());
    const auto k = reopened.OpenKeyForReading(QStringLiteral("\\k"));
    ASSERT_TRUE(k);
    EXPECT_EQ(k->Value(QStringLiteral("Text"))->text(), text);
    EXPECT_EQ(k->Value(QStringLiteral("Empty")), StoredValue::Text(QString()));
    EXPECT_EQ(k->Value(QStringLiteral("Min"))->integer(), std::numeric_limits<qint32>::min());
    EXPECT_EQ(k->Value(QStringLiteral("Max"))->integer(), std::numeric_limits<qint32>::max());
    for (const char *name : {"Binary", "Big", "Flag", "List"})
        EXPECT_EQ(k->Value(QString::fromLatin1(name)), key->Value(QString::fromLatin1(name))) << name;
    EXPECT_EQ(k->Value(QStringLiteral("Binary"))->raw(), QJsonValue(binary));
    EXPECT_TRUE(AsideFiles().isEmpty());
}

TEST_F(SettingsStoreTest, FilesThatAreNotStoresAreKeptAsideUntouched)
{
    const QList<std::pair<const char *, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"truncated",
         QByteArrayLiteral("{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": {\"a\": ")},
        {"binary junk", QByteArray("\x00\xff\x12garbage", 10)},
        {"JSON array", QByteArrayLiteral("[1, 2]")},
        {"another program's JSON", QByteArrayLiteral("{\"keys\": {}}")},
        {"future version", QByteArrayLiteral("{\"format\": \"ralvo-settings\", \"version\": 2, \"keys\": {}}")},
        {"key not an object",
         QByteArrayLiteral("{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": 1}}")},
        {"malformed key path",
         QByteArrayLiteral("{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\A\\\\\\\\B\": {}}}")},
        {"keys differing in case",
         QByteArrayLiteral(
             "{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": {}, \"\\\\k\": {}}}")},
        {"values differing in case",
         QByteArrayLiteral(
             "{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": {\"a\": 1, \"A\": 2}}}")},
        {"a value repeated exactly",
         QByteArrayLiteral(
             "{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": {\"a\": 1, \"a\": 2}}}")},
        {"a key repeated exactly",
         QByteArrayLiteral(
             "{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": {}, \"\\\\K\": {}}}")},
    };
    for (const auto &[label, bytes] : cases) {
        SCOPED_TRACE(label);
        for (const QString &old : AsideFiles())
            QFile::remove(dir.filePath(old));
        WriteAll(StorePath(), bytes);

        // A tool opening it read-only moves nothing.
        SettingsStore tool = SettingsStore::Open(StorePath(), SettingsStore::Access::ReadOnly);
        EXPECT_FALSE(tool.TakeProblemReport().isEmpty());
        EXPECT_EQ(ReadAll(StorePath()), bytes);
        EXPECT_TRUE(AsideFiles().isEmpty());

        SettingsStore store = SettingsStore::Open(StorePath());
        EXPECT_TRUE(store.KeyPaths().isEmpty());
        const QString report = store.TakeProblemReport();
        EXPECT_EQ(store.TakeProblemReport(), QString()) << "told once";
        EXPECT_FALSE(QFile::exists(StorePath()));
        ASSERT_EQ(AsideFiles().size(), 1);
        EXPECT_TRUE(report.contains(AsideFiles().front())) << report.toStdString();
        EXPECT_EQ(ReadAll(dir.filePath(AsideFiles().front())), bytes);

        store.OpenKeyForWriting(QStringLiteral("\\K"))->WriteInteger(QStringLiteral("a"), 1);
        EXPECT_TRUE(store.Save());
        EXPECT_EQ(ReadAll(dir.filePath(AsideFiles().front())), bytes);
    }
}

namespace {

QByteArray StoreWithKeys(const QByteArray &keys)
{
    return "{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {" + keys + "}}";
}

} // namespace

// The store holds at most ten times its file in memory (a megabyte at
// least), counted from what its containers really take: a file whose shape
// would need more (thousands of tiny keys, or of tiny values in one key,
// whose slots and names take ten times their bytes in the file) is damaged,
// read only up to that point; shapes within it load.
TEST_F(SettingsStoreTest, AStoreThatCannotBeHeldWithinTenTimesItsSizeIsDamaged)
{
    QByteArray tinyKeys;
    for (int i = 0; i < 12000; ++i)
        tinyKeys += (i ? ",\"\\\\K" : "\"\\\\K") + QByteArray::number(i) + "\":{\"a\":1}";
    const QByteArray manyKeys = StoreWithKeys(tinyKeys);
    QString why;
    EXPECT_FALSE(SettingsStore::FromJson(manyKeys, &why));
    EXPECT_EQ(why, QStringLiteral("設定が多すぎてメモリに収まりません"));
    QByteArray tinyValues;
    for (int i = 0; i < 10000; ++i)
        tinyValues +=
            (i ? ",\n            \"Value" : "\"Value") + QByteArray::number(i) + "\": " + QByteArray::number(i);
    EXPECT_FALSE(SettingsStore::FromJson(StoreWithKeys("\"\\\\K\":{" + tinyValues + "}"), &why));
    EXPECT_EQ(why, QStringLiteral("設定が多すぎてメモリに収まりません"));
    WriteAll(StorePath(), manyKeys);
    SettingsStore tool = SettingsStore::Open(StorePath(), SettingsStore::Access::ReadOnly);
    EXPECT_TRUE(tool.KeyPaths().isEmpty());
    EXPECT_TRUE(tool.TakeProblemReport().contains(why));

    // Long texts, many values of one key, a long array, deep nesting.
    const QByteArray longText = "\"" + QByteArray(1 << 18, 'a') + "\"";
    QByteArray values;
    for (int i = 0; i < 2000; ++i)
        values += (i ? ",\"v" : "\"v") + QByteArray::number(i) + "\":\"" + QByteArray(200, 'x') + "\"";
    QByteArray longArray = "[1";
    for (int i = 0; i < (1 << 17); ++i)
        longArray += ",1";
    longArray += "]";
    const QByteArray deep = QByteArray(190, '[') + QByteArray(190, ']');
    for (const QByteArray &keys : QByteArrayList{"\"\\\\K\":{\"t\":" + longText + "}", "\"\\\\K\":{" + values + "}",
                                                 "\"\\\\K\":{\"a\":" + longArray + ",\"d\":" + deep + "}"}) {
        const auto store = SettingsStore::FromJson(StoreWithKeys(keys), &why);
        ASSERT_TRUE(store) << why.toStdString();
        EXPECT_EQ(store->KeyPaths(), QStringList{QStringLiteral("\\K")});
        EXPECT_EQ(SettingsStore::FromJson(store->ToJson())->ToJson(), store->ToJson());
    }
    const auto arrays = SettingsStore::FromJson(StoreWithKeys("\"\\\\K\":{\"a\":[1,2,{\"b\":[]}]}"));
    ASSERT_TRUE(arrays);
    EXPECT_EQ(arrays->OpenKeyForReading(QStringLiteral("\\K"))->Value(QStringLiteral("A"))->raw(),
              QJsonValue(QJsonArray{1, 2, QJsonObject{{QStringLiteral("b"), QJsonArray()}}}));
}

TEST_F(SettingsStoreTest, ASecondDamagedFileGetsItsOwnName)
{
    for (int round = 0; round < 2; ++round) {
        WriteAll(StorePath(), QByteArrayLiteral("not json ") + QByteArray::number(round));
        SettingsStore store = SettingsStore::Open(StorePath());
    }
    const QStringList aside = AsideFiles();
    ASSERT_EQ(aside.size(), 2);
    EXPECT_NE(ReadAll(dir.filePath(aside.at(0))), ReadAll(dir.filePath(aside.at(1))));
}

TEST_F(SettingsStoreTest, AFailedSaveLeavesTheFileAsItWas)
{
    SettingsStore store = SettingsStore::Open(StorePath());
    store.OpenKeyForWriting(QStringLiteral("\\K"))->WriteInteger(QStringLiteral("a"), 1);
    ASSERT_TRUE(store.Save());
    const QByteArray before = ReadAll(StorePath());
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_FALSE(QFile::permissions(StorePath()) & others) << "a new store is for its owner only";

    // Read-only access never writes.
    SettingsStore readOnly = SettingsStore::Open(StorePath(), SettingsStore::Access::ReadOnly);
    EXPECT_FALSE(readOnly.OpenKeyForWriting(QStringLiteral("\\K")));
    QString why;
    EXPECT_FALSE(readOnly.Save(&why));
    EXPECT_FALSE(why.isEmpty());

    // A store whose folder cannot be made.
    WriteAll(dir.filePath(QStringLiteral("file")), "x");
    SettingsStore blocked = SettingsStore::Open(dir.filePath(QStringLiteral("file/sub/settings.json")));
    blocked.OpenKeyForWriting(QStringLiteral("\\K"))->WriteInteger(QStringLiteral("a"), 1);
    EXPECT_FALSE(blocked.Save());

    EXPECT_EQ(ReadAll(StorePath()), before);
    EXPECT_FALSE(SettingsStore::InMemory().Save());
}

TEST_F(SettingsStoreTest, TheUserStoreLivesUnderTheConfigurationHome)
{
    // The test environment points XDG_CONFIG_HOME at a folder of the build tree.
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(home.isEmpty());
    EXPECT_EQ(SettingsStore::UserStorePath(), home + QStringLiteral("/ralvo/settings.json"));
}

// Kills a process that saves a large store over and over at random moments:
// the file on disk must always be a complete store, of an old or a newer
// generation, never a torn one.
TEST_F(SettingsStoreTest, AKilledSaveLeavesACompleteOldOrNewStore)
{
    constexpr int rounds = 20;
    constexpr int fillerSize = 1 << 19;
    const QString saver = QStringLiteral(RALVO_STORE_SAVER);
    QRandomGenerator random(20241207);
    int lastGeneration = -1;
    int killedAfterACommit = 0;
    for (int round = 0; round < rounds; ++round) {
        QProcess child;
        child.start(saver, {StorePath(), QString::number(fillerSize)});
        ASSERT_TRUE(child.waitForStarted());
        // Once the child has saved in this round it does nothing but save:
        // kill it a random moment later, whatever the machine's load.
        ASSERT_TRUE(child.waitForReadyRead(120000)) << "round " << round << ": no save";
        QThread::msleep(random.bounded(0, 300));
        child.kill();
        child.waitForFinished();
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "saver ended by itself: " << child.exitCode();
        const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
        ASSERT_GE(lines.size(), 2);
        const int announced = lines.at(lines.size() - 2).toInt();

        QString error;
        const std::optional<SettingsStore> store = SettingsStore::FromJson(ReadAll(StorePath()), &error);
        ASSERT_TRUE(store) << "round " << round << ": " << error.toStdString();
        const auto key = store->OpenKeyForReading(QStringLiteral("\\Test"));
        ASSERT_TRUE(key);
        const int generation = key->Value(QStringLiteral("Generation"))->integer();
        EXPECT_EQ(key->Value(QStringLiteral("Filler"))->text(), QString(fillerSize, QChar(u'a' + generation % 26)));
        EXPECT_GT(generation, lastGeneration);
        // The last save the child announced is on disk, or the next one if it
        // was committed before the child could say so.
        EXPECT_GE(generation, announced);
        EXPECT_LE(generation, announced + 1);
        if (generation == announced)
            ++killedAfterACommit; // and before the next one: while saving
        lastGeneration = generation;
    }
    EXPECT_GT(killedAfterACommit, 0);
    EXPECT_TRUE(AsideFiles().isEmpty());
    // Each save removed what a killed one left: only the last kill's remains,
    // until the next save.
    const QStringList strays = QDir(dir.path()).entryList({QStringLiteral("settings.json.??????")}, QDir::Files);
    EXPECT_LE(strays.size(), 1) << strays.join(u' ').toStdString();
    {
        SettingsStore store = SettingsStore::Open(StorePath());
        ASSERT_TRUE(store.Save());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("settings.json")});
    RecordProperty("generations", lastGeneration + 1);
    RecordProperty("killedAfterACommit", killedAfterACommit);
}

namespace {

QByteArray StoreWith(const QByteArray &values)
{
    return "{\"format\": \"ralvo-settings\", \"version\": 1, \"keys\": {\"\\\\K\": {" + values + "}}}";
}

} // namespace

TEST_F(SettingsStoreTest, ValuesKeepTheirOrderAndANumberOutOfRangeStaysAValue)
{
    WriteAll(StorePath(), StoreWith("\"Zeta\": 1, \"Huge\": -1e400, \"Alpha\": \"a\", \"Big\": 12345678901234567890"));
    SettingsStore store = SettingsStore::Open(StorePath());
    EXPECT_EQ(store.TakeProblemReport(), QString());
    const auto key = store.OpenKeyForReading(QStringLiteral("\\K"));
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ValueNames(), (QStringList{QStringLiteral("Zeta"), QStringLiteral("Huge"), QStringLiteral("Alpha"),
                                              QStringLiteral("Big")}));
    const StoredValue huge = *key->Value(QStringLiteral("Huge"));
    EXPECT_EQ(huge.kind(), StoredValue::Kind::Other);
    EXPECT_LE(huge.dataSize(), 4) << "read as an integer: the wrong type, not a missing value";
    EXPECT_EQ(key->Value(QStringLiteral("Alpha")), StoredValue::Text(QStringLiteral("a")));

    // Saved back as found, the other values with it.
    store.OpenKeyForWriting(QStringLiteral("\\K"))->WriteInteger(QStringLiteral("Zeta"), 2);
    ASSERT_TRUE(store.Save());
    const QByteArray saved = ReadAll(StorePath());
    EXPECT_TRUE(saved.contains("\"Huge\": -1e400")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\"Big\": 12345678901234567890")) << saved.toStdString();
    EXPECT_LT(saved.indexOf("Zeta"), saved.indexOf("Alpha"));
    const SettingsStore reopened = SettingsStore::Open(StorePath());
    EXPECT_EQ(reopened.OpenKeyForReading(QStringLiteral("\\K"))->Value(QStringLiteral("Huge")), huge);
}

TEST_F(SettingsStoreTest, AStoreThatIsNotARegularFileIsDamagedAndNeverWaitedOn)
{
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(ralvo::test::MakeFifo(StorePath()));
    SettingsStore tool = SettingsStore::Open(StorePath(), SettingsStore::Access::ReadOnly);
    EXPECT_FALSE(tool.TakeProblemReport().isEmpty());
    EXPECT_EQ(ralvo::test::NodeType(StorePath()), S_IFIFO) << "a tool moves nothing";

    SettingsStore store = SettingsStore::Open(StorePath());
    const QString report = store.TakeProblemReport();
    EXPECT_TRUE(report.contains(QStringLiteral("通常のファイルではありません"))) << report.toStdString();
    ASSERT_EQ(AsideFiles().size(), 1);
    EXPECT_EQ(ralvo::test::NodeType(dir.filePath(AsideFiles().front())), S_IFIFO) << "moved aside as it was";
    EXPECT_TRUE(store.Save());
    EXPECT_LT(timer.elapsed(), 30000);

    // Larger than any store: damaged, not read into memory.
    for (const QString &old : AsideFiles())
        QFile::remove(dir.filePath(old));
    {
        QFile huge(StorePath());
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_TRUE(huge.resize(ralvo::store::kMaxStoreFileBytes + 1)); // sparse
    }
    SettingsStore tooLarge = SettingsStore::Open(StorePath());
    EXPECT_TRUE(tooLarge.TakeProblemReport().contains(QStringLiteral("大きすぎます")));
    EXPECT_EQ(AsideFiles().size(), 1);

    // A link to an endless device: the link is moved aside, the device stays.
    const QString zero = dir.filePath(QStringLiteral("zero"));
    if (!ralvo::test::MakeCharacterDevice(zero, ralvo::test::kMemoryMajor, ralvo::test::kZeroMinor))
        GTEST_SKIP() << "mknod needs root";
    ASSERT_TRUE(QFile::link(zero, StorePath()));
    SettingsStore endless = SettingsStore::Open(StorePath());
    EXPECT_FALSE(endless.TakeProblemReport().isEmpty());
    EXPECT_EQ(AsideFiles().size(), 2);
    EXPECT_EQ(ralvo::test::NodeType(zero), S_IFCHR);
    EXPECT_FALSE(QFileInfo(StorePath()).isSymLink());
}

TEST_F(SettingsStoreTest, ASaveFollowsALinkOnlyToTheUsersOwnFile)
{
    const QString outside = dir.filePath(QStringLiteral("outside/settings.json"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("outside"))));
    ASSERT_TRUE(QFile::link(outside, StorePath()));
    SettingsStore dangling = SettingsStore::Open(StorePath());
    dangling.OpenKeyForWriting(QStringLiteral("\\K"))->WriteInteger(QStringLiteral("a"), 1);
    QString why;
    EXPECT_FALSE(dangling.Save(&why));
    EXPECT_EQ(why, QStringLiteral("リンク先のファイルがありません"));
    EXPECT_FALSE(QFileInfo::exists(outside)) << "nothing created outside the folder";

    WriteAll(outside, StoreWith(""));
    SettingsStore linked = SettingsStore::Open(StorePath());
    linked.OpenKeyForWriting(QStringLiteral("\\K"))->WriteInteger(QStringLiteral("a"), 2);
    ASSERT_TRUE(linked.Save());
    EXPECT_TRUE(QFileInfo(StorePath()).isSymLink());
    EXPECT_TRUE(ReadAll(outside).contains("\"a\": 2"));
}

TEST_F(SettingsStoreTest, AFullDiskLeavesTheStoreAsItWas)
{
    ralvo::test::SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.skipReason();
    const QString path = disk.filePath(QStringLiteral("settings.json"));
    WriteAll(path, StoreWith("\"a\": 1"));
    ASSERT_TRUE(disk.Fill());
    SettingsStore store = SettingsStore::Open(path);
    store.OpenKeyForWriting(QStringLiteral("\\K"))->WriteText(QStringLiteral("Filler"), QString(20000, u'x'));
    QString why;
    EXPECT_FALSE(store.Save(&why));
    EXPECT_EQ(why, QStringLiteral("ディスクの空き容量が足りません"));
    EXPECT_EQ(ReadAll(path), StoreWith("\"a\": 1"));
    EXPECT_EQ(disk.Names(), QStringList{QStringLiteral("settings.json")});
}
