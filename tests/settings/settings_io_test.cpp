#include "platform/SettingsStore.h"
#include "settings/SettingsIO.h"
#include "support/FakePlatform.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ralvo;
using platform::SettingsStore;

TEST(SettingsFirstStart, DefaultsEverywhereThenFourKeysWithAllValues)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    test::FakePlatform fake;
    fake.clock.today = QDate(2024, 3, 5);

    SettingsStore store = SettingsStore::Open(path);
    AppRecords records;
    records.notices = NoticeTable{};
    PlainInputFields fields;
    fields.cycle.clear();
    LoadSettings(store, records, fields, fake.Services());

    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(records.settings, ScheduleSettings{});
    EXPECT_EQ(records.notices, DefaultNoticeTable());
    EXPECT_TRUE(records.block.Lines().isEmpty());
    EXPECT_EQ(fields.basis, 0);
    EXPECT_EQ(fields.year, QStringLiteral("2024"));
    EXPECT_EQ(fields.month, QStringLiteral("03"));
    EXPECT_EQ(fields.day, QStringLiteral("05"));
    EXPECT_EQ(fields.mother, QString());
    EXPECT_EQ(fields.cycle, QStringLiteral("28"));

    ASSERT_TRUE(SaveSettings(store, records, fields, fake.Services()));
    EXPECT_TRUE(fake.messages.shown.empty());

    const SettingsStore reopened = SettingsStore::Open(path);
    const QList<std::pair<QString, int>> expected = {
        {store_keys::SetData(), 23}, {store_keys::NoticeSetData(), 80},
        {store_keys::LastData(), 6}, {store_keys::KikanmeiData(), 1}};
    for (const auto &[key, count] : expected) {
        const auto opened = reopened.OpenKeyForReading(key);
        ASSERT_TRUE(opened) << qPrintable(key);
        EXPECT_EQ(opened->ValueNames().size(), count) << qPrintable(key);
    }
    EXPECT_EQ(reopened.OpenKeyForReading(store_keys::LastData())->Value(QStringLiteral("KijunM"))->integer(), 3);
}
