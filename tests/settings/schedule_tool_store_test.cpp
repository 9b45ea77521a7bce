// ralvo-schedule reads the user's settings store, and never writes it.

#include "records/AppRecords.h"
#include "store/SettingsStore.h"
#include "support/CalcPrinters.h"
#include "support/FileSystemNodes.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ralvo::store::SettingsStore;

#ifdef RALVO_SCHEDULE_TOOL

namespace {

class ScheduleToolStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        storePath = home.filePath(QStringLiteral("ralvo/settings.json"));
    }

    // Runs the tool with its own configuration home; returns standard output.
    QString Run(QStringList extra, int expectedExit = 0)
    {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        tool.setProcessEnvironment(env);
        QStringList arguments{QStringLiteral("text"),    QStringLiteral("--basis"), QStringLiteral("0"),
                              QStringLiteral("--year"),  QStringLiteral("2024"),    QStringLiteral("--month"),
                              QStringLiteral("1"),       QStringLiteral("--day"),   QStringLiteral("1"),
                              QStringLiteral("--cycle"), QStringLiteral("28"),      QStringLiteral("--name"),
                              QStringLiteral("花子"),    QStringLiteral("--utf8")};
        arguments += extra;
        tool.start(QStringLiteral(RALVO_SCHEDULE_TOOL), arguments);
        EXPECT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitCode(), expectedExit);
        errors = QString::fromUtf8(tool.readAllStandardError());
        return QString::fromUtf8(tool.readAllStandardOutput());
    }

    void WriteUserStore(const QString &title)
    {
        SettingsStore store = SettingsStore::Open(storePath);
        store.OpenKeyForWriting(ralvo::store_keys::SetData())->WriteText(QStringLiteral("Tit"), title);
        ASSERT_TRUE(store.Save());
    }

    QByteArray StoreBytes() const
    {
        QFile file(storePath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir home;
    QString storePath;
    QString errors;
};

} // namespace

TEST_F(ScheduleToolStore, FollowsTheUsersTitleUnlessAskedForDefaults)
{
    WriteUserStore(QStringLiteral("??様の予定表"));
    const QByteArray before = StoreBytes();

    EXPECT_TRUE(Run({}).contains(QStringLiteral("花子様の予定表")));
    // The stored key has only Tit: the missing integers are told on stderr.
    EXPECT_TRUE(errors.contains(QStringLiteral("'Yoshi' の取得に失敗しました"))) << errors.toStdString();
    EXPECT_TRUE(Run({QStringLiteral("--defaults")}).contains(QStringLiteral("花子さんの出産までのスケジュール")));
    EXPECT_TRUE(Run({QStringLiteral("--set"), QStringLiteral("Tit=??の表")}).contains(QStringLiteral("花子の表")));
    // A choice outside its list is refused, never used to pick a term.
    Run({QStringLiteral("--defaults"), QStringLiteral("--set"), QStringLiteral("Yoteiyogo=2")}, 64);

    EXPECT_EQ(StoreBytes(), before) << "the tool never writes the store";
}

TEST_F(ScheduleToolStore, ReadsAGivenStoreFile)
{
    const QString other = home.filePath(QStringLiteral("clinic.json"));
    SettingsStore clinic = SettingsStore::Open(other);
    clinic.OpenKeyForWriting(ralvo::store_keys::SetData())
        ->WriteText(QStringLiteral("Tit"), QStringLiteral("??さん 当院"));
    ASSERT_TRUE(clinic.Save());
    EXPECT_TRUE(Run({QStringLiteral("--settings"), other}).contains(QStringLiteral("花子さん 当院")));
    Run({QStringLiteral("--settings"), home.filePath(QStringLiteral("missing.json"))}, 64);
    Run({QStringLiteral("--settings"), other, QStringLiteral("--defaults")}, 64);
    EXPECT_FALSE(QFile::exists(storePath));
}

TEST_F(ScheduleToolStore, ADamagedStoreIsToldAndLeftWhereItIs)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(storePath).path()));
    QFile file(storePath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ torn");
    file.close();

    EXPECT_TRUE(Run({}).contains(QStringLiteral("花子さんの出産までのスケジュール")));
    EXPECT_TRUE(errors.contains(storePath)) << errors.toStdString();
    EXPECT_EQ(StoreBytes(), QByteArray("{ torn"));
    EXPECT_EQ(QDir(QFileInfo(storePath).path()).entryList(QDir::Files).size(), 1);
}

// Checking a prepared file with --settings must fail on a broken one.
TEST_F(ScheduleToolStore, ASettingsFileThatCannotBeReadIsRefused)
{
    const QString torn = home.filePath(QStringLiteral("torn.json"));
    QFile file(torn);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ torn");
    file.close();
    EXPECT_TRUE(Run({QStringLiteral("--settings"), torn}, 2).isEmpty());
    EXPECT_EQ(errors.count(u'\n'), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(torn)) << errors.toStdString();

    const QString fifo = home.filePath(QStringLiteral("fifo.json"));
    ASSERT_TRUE(ralvo::test::MakeFifo(fifo));
    EXPECT_TRUE(Run({QStringLiteral("--settings"), fifo}, 2).isEmpty());
    EXPECT_EQ(errors.count(u'\n'), 1) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("通常のファイルではありません"))) << errors.toStdString();
    EXPECT_EQ(ralvo::test::NodeType(fifo), S_IFIFO);
}

// -o never replaces what the tool reads: the user's store (read or not), the
// --settings file, whether named directly or through a link.
TEST_F(ScheduleToolStore, AnOutputOntoASettingsFileIsRefused)
{
    WriteUserStore(QStringLiteral("??様の予定表"));
    const QByteArray before = StoreBytes();
    const QString link = home.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(QFile::link(storePath, link));
    for (const QStringList &extra :
         {QStringList{QStringLiteral("-o"), storePath}, QStringList{QStringLiteral("-o"), link},
          QStringList{QStringLiteral("--defaults"), QStringLiteral("-o"), link},
          QStringList{QStringLiteral("--settings"), storePath, QStringLiteral("-o"), link}}) {
        EXPECT_TRUE(Run(extra, 64).isEmpty()) << extra.join(u' ').toStdString();
        EXPECT_EQ(errors.count(u'\n'), 1) << errors.toStdString();
        EXPECT_EQ(StoreBytes(), before) << extra.join(u' ').toStdString();
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

#endif
