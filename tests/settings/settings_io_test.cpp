// Loading and saving the records through a temporary store file.

#include "records/AppRecords.h"
#include "settings/ScheduleSettingsFields.h"
#include "store/SettingsStore.h"
#include "support/CalcPrinters.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ralvo;
using store::SettingsStore;

namespace {

class SettingsIOTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fake.clock.today = QDate(2024, 3, 5);
        fields.year = QStringLiteral("2023");
        fields.month = QStringLiteral("12");
        fields.day = QStringLiteral("31");
    }

    QString StorePath() const { return dir.filePath(QStringLiteral("settings.json")); }

    // Writes a store file whose keys are given by their last path part.
    void WriteStore(const QJsonObject &keysByName)
    {
        QJsonObject keys;
        for (auto it = keysByName.begin(); it != keysByName.end(); ++it)
            keys.insert(QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\") + it.key(), it.value());
        const QJsonObject top{{QStringLiteral("format"), QStringLiteral("ralvo-settings")},
                              {QStringLiteral("version"), 1},
                              {QStringLiteral("keys"), keys}};
        QFile file(StorePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(top).toJson());
    }

    void Load()
    {
        store = SettingsStore::Open(StorePath());
        LoadSettings(store, records, fields, fake.Services());
    }

    std::optional<store::SettingsKey> Reopened(const QString &key)
    {
        reopened = SettingsStore::Open(StorePath(), SettingsStore::Access::ReadOnly);
        return reopened.OpenKeyForReading(key);
    }

    QStringList Shown() const { return QStringList(fake.messages.shown.begin(), fake.messages.shown.end()); }

    QTemporaryDir dir;
    test::FakePlatform fake;
    SettingsStore store = SettingsStore::InMemory();
    SettingsStore reopened = SettingsStore::InMemory();
    AppRecords records;
    PlainInputFields fields;
};

// A complete SetData of non-default values.
QJsonObject ChangedSetData()
{
    return QJsonObject{{QStringLiteral("Tit"), QStringLiteral("??様 ｽｹｼﾞｭｰﾙ")},
                       {QStringLiteral("Yoteiyogo"), 1},
                       {QStringLiteral("Tsuki1"), QStringLiteral("第")},
                       {QStringLiteral("Tsuki2"), QStringLiteral("月")},
                       {QStringLiteral("Shu1"), QString()},
                       {QStringLiteral("Shu2"), QStringLiteral("w")},
                       {QStringLiteral("Yoshi"), 1},
                       {QStringLiteral("Hani"), 2},
                       {QStringLiteral("Shumatsucheck"), 0},
                       {QStringLiteral("Noticecheck"), 5},
                       {QStringLiteral("Kikanmeicheck"), 0},
                       {QStringLiteral("Titfont"), QStringLiteral("ＭＳ 明朝")},
                       {QStringLiteral("Titcolor"), 1},
                       {QStringLiteral("Yotfont"), QStringLiteral("IPAGothic")},
                       {QStringLiteral("Yotcolor"), 2},
                       {QStringLiteral("MWfont"), QStringLiteral("a")},
                       {QStringLiteral("MWcolor"), 3},
                       {QStringLiteral("Dayfont"), QStringLiteral("b")},
                       {QStringLiteral("Daycolor"), -1},
                       {QStringLiteral("Notfont"), QStringLiteral("c")},
                       {QStringLiteral("Seikicolor"), 0xFFFFFF},
                       {QStringLiteral("Yoteibicolor"), 0},
                       {QStringLiteral("Colorcheck"), 0}};
}

} // namespace

TEST_F(SettingsIOTest, FirstStartGivesDefaultsAndTheFirstSaveWritesEveryValue)
{
    records.notices = NoticeTable{};
    fields.cycle.clear();
    Load();

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
    EXPECT_FALSE(QFile::exists(StorePath())) << "loading never creates the store";

    ASSERT_TRUE(SaveSettings(store, records, fields, fake.Services()));
    EXPECT_TRUE(fake.messages.shown.empty());

    const QList<std::pair<QString, int>> expected = {{store_keys::SetData(), 23},
                                                     {store_keys::NoticeSetData(), 80},
                                                     {store_keys::LastData(), 6},
                                                     {store_keys::KikanmeiData(), 1}};
    for (const auto &[key, count] : expected) {
        const auto opened = Reopened(key);
        ASSERT_TRUE(opened) << qPrintable(key);
        EXPECT_EQ(opened->ValueNames().size(), count) << qPrintable(key);
    }
    // "03" in the field is stored as the integer 3, and shown as "3" next time.
    EXPECT_EQ(Reopened(store_keys::LastData())->Value(QStringLiteral("KijunM"))->integer(), 3);
    PlainInputFields next;
    AppRecords nextRecords;
    SettingsStore again = SettingsStore::Open(StorePath());
    LoadSettings(again, nextRecords, next, fake.Services());
    EXPECT_EQ(next.month, QStringLiteral("3"));
}

TEST_F(SettingsIOTest, SaveWritesInTheFixedOrder)
{
    store = SettingsStore::Open(StorePath());
    ASSERT_TRUE(SaveSettings(store, records, fields, fake.Services()));
    const QStringList setData = store.OpenKeyForReading(store_keys::SetData())->ValueNames();
    EXPECT_EQ(setData.mid(16, 6),
              (QStringList{QStringLiteral("MWcolor"), QStringLiteral("Dayfont"), QStringLiteral("Daycolor"),
                           QStringLiteral("Notfont"), QStringLiteral("Seikicolor"), QStringLiteral("Yoteibicolor")}));
    EXPECT_EQ(setData.front(), QStringLiteral("Tit"));
    EXPECT_EQ(setData.back(), QStringLiteral("Colorcheck"));
    const QStringList notices = store.OpenKeyForReading(store_keys::NoticeSetData())->ValueNames();
    EXPECT_EQ(notices.at(0), QStringLiteral("Not4"));
    EXPECT_EQ(notices.at(39), QStringLiteral("Not43"));
    EXPECT_EQ(notices.at(40), QStringLiteral("Col4"));
    EXPECT_EQ(store.OpenKeyForReading(store_keys::LastData())->ValueNames(),
              (QStringList{QStringLiteral("Kijun"), QStringLiteral("KijunY"), QStringLiteral("KijunM"),
                           QStringLiteral("KijunD"), QStringLiteral("Mother"), QStringLiteral("Shuki")}));
}

TEST_F(SettingsIOTest, RoundTripKeepsEveryValue)
{
    AppRecords saved;
    saved.settings.Tit = QStringLiteral("ﾊﾝｶｸｶﾀｶﾅ と 全角カタカナ ??");
    saved.settings.Yoteiyogo = 1;
    saved.settings.Shu1.clear();
    saved.settings.Yoshi = 0;
    saved.settings.Hani = 2;
    saved.settings.Noticecheck = false;
    saved.settings.Colorcheck = false;
    saved.settings.Notfont = QStringLiteral("ＭＳ Ｐ明朝");
    saved.settings.Daycolor = 0xFFFFFFFF; // stored as the integer -1
    saved.settings.Seikicolor = 0x123456;
    saved.notices.ForWeek(4).text.clear();
    saved.notices.ForWeek(9).text = QStringLiteral("ｶﾀｶﾅ・カタカナ 1-2g");
    saved.notices.ForWeek(43).color = 0xABCDEF;
    // 13 lines: not a whole number of frames, and nothing is dropped.
    QStringList lines;
    for (int i = 0; i < 13; ++i)
        lines.append(i % 3 == 0 ? QString() : QStringLiteral("行%1 ｱ").arg(i));
    saved.block = KikanmeiBlock(lines);
    PlainInputFields input;
    input.basis = 2;
    input.year = QStringLiteral("-5");
    input.month = QStringLiteral("+7");
    input.day = QStringLiteral("-0");
    input.mother = QStringLiteral("山田 ﾊﾅｺ");
    input.cycle = QStringLiteral("2147483647");

    store = SettingsStore::Open(StorePath());
    ASSERT_TRUE(SaveSettings(store, saved, input, fake.Services()));
    EXPECT_EQ(Reopened(store_keys::KikanmeiData())->Value(QStringLiteral("EditStr"))->text(),
              lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_EQ(Reopened(store_keys::SetData())->Value(QStringLiteral("Daycolor"))->integer(), -1);

    Load();
    EXPECT_TRUE(fake.messages.shown.empty()) << qPrintable(Shown().join(u'\n'));
    EXPECT_EQ(records.settings, saved.settings);
    EXPECT_EQ(records.notices, saved.notices);
    EXPECT_EQ(records.block, saved.block);
    EXPECT_EQ(fields.basis, 2);
    EXPECT_EQ(fields.year, QStringLiteral("-5"));
    EXPECT_EQ(fields.month, QStringLiteral("7"));
    EXPECT_EQ(fields.day, QStringLiteral("0"));
    EXPECT_EQ(fields.mother, input.mother);
    EXPECT_EQ(fields.cycle, QStringLiteral("2147483647"));
}

TEST_F(SettingsIOTest, StoredSettingsWithoutNoticesGiveDefaultNotices)
{
    WriteStore({{QStringLiteral("SetData"), ChangedSetData()}});
    Load();
    EXPECT_TRUE(fake.messages.shown.empty()) << qPrintable(Shown().join(u'\n'));
    EXPECT_EQ(records.settings.Tit, QStringLiteral("??様 ｽｹｼﾞｭｰﾙ"));
    EXPECT_EQ(records.settings.Shu1, QString());
    EXPECT_TRUE(records.settings.Noticecheck) << "any nonzero integer is true";
    EXPECT_FALSE(records.settings.Shumatsucheck);
    EXPECT_EQ(records.settings.Daycolor, 0xFFFFFFFFu);
    EXPECT_EQ(records.settings.Seikicolor, 0xFFFFFFu);
    EXPECT_EQ(records.notices, DefaultNoticeTable());
    EXPECT_EQ(fields.cycle, QStringLiteral("28"));
    EXPECT_EQ(fields.month, QStringLiteral("03"));
}

TEST_F(SettingsIOTest, MissingValuesInsideAKey)
{
    // Texts read as empty without a word; integers are reported and keep
    // their first-run defaults.
    WriteStore({{QStringLiteral("SetData"), QJsonObject{{QStringLiteral("Yoshi"), 0}}},
                {QStringLiteral("NoticeSetData"), QJsonObject{}},
                {QStringLiteral("LastData"), QJsonObject{{QStringLiteral("Kijun"), 1}}},
                {QStringLiteral("KikanmeiData"), QJsonObject{}}});
    fields.basis = 0;
    Load();

    EXPECT_EQ(records.settings.Tit, QString());
    EXPECT_EQ(records.settings.Titfont, QString());
    EXPECT_EQ(records.settings.Yoshi, 0);
    EXPECT_EQ(records.settings.Yoteiyogo, 0);
    EXPECT_EQ(records.settings.Titcolor, 0x808000u);
    EXPECT_TRUE(records.settings.Colorcheck);
    EXPECT_EQ(records.notices.ForWeek(4).text, QString());
    EXPECT_EQ(records.notices.ForWeek(4).color, DefaultNoticeTable().ForWeek(4).color);
    EXPECT_EQ(fields.basis, 1);
    EXPECT_EQ(fields.year, QStringLiteral("2024"));
    EXPECT_EQ(fields.day, QStringLiteral("05"));
    EXPECT_EQ(fields.cycle, QStringLiteral("28"));
    EXPECT_TRUE(records.block.Lines().isEmpty());

    const QStringList shown = Shown();
    // SetData: 12 of its 13 integers (Yoshi is there); 40 colours; 4 of LastData.
    EXPECT_EQ(shown.size(), 12 + 40 + 4);
    EXPECT_EQ(shown.front(), QStringLiteral("'Yoteiyogo' の取得に失敗しました"));
    // Read order: Notfont (a text, silent) comes before Daycolor.
    EXPECT_EQ(shown.mid(7, 3), (QStringList{QStringLiteral("'MWcolor' の取得に失敗しました"),
                                            QStringLiteral("'Daycolor' の取得に失敗しました"),
                                            QStringLiteral("'Seikicolor' の取得に失敗しました")}));
    EXPECT_EQ(shown.at(12), QStringLiteral("'Col4' の取得に失敗しました"));
    EXPECT_EQ(shown.back(), QStringLiteral("'Shuki' の取得に失敗しました"));
}

struct BadValueCase
{
    const char *label;
    const char *key;
    const char *name;
    QJsonValue stored;
    const char *message; // empty: no message

    friend void PrintTo(const BadValueCase &c, std::ostream *os) { *os << c.label; }
};

class BadValues : public SettingsIOTest, public ::testing::WithParamInterface<BadValueCase>
{};

TEST_P(BadValues, AreReportedAndTheFieldKeepsAUsableValue)
{
    const BadValueCase &c = GetParam();
    const QString key = QString::fromLatin1(c.key);
    const QString name = QString::fromLatin1(c.name);
    QJsonObject setData = ChangedSetData();
    QJsonObject notices;
    for (int week = 4; week <= 43; ++week) {
        notices.insert(QStringLiteral("Not%1").arg(week), QStringLiteral("n%1").arg(week));
        notices.insert(QStringLiteral("Col%1").arg(week), week);
    }
    QJsonObject last{{QStringLiteral("Kijun"), 2},
                     {QStringLiteral("KijunY"), 2020},
                     {QStringLiteral("KijunM"), 1},
                     {QStringLiteral("KijunD"), 2},
                     {QStringLiteral("Mother"), QStringLiteral("母")},
                     {QStringLiteral("Shuki"), 30}};
    QJsonObject block{{QStringLiteral("EditStr"), QStringLiteral("A\r\nB\r\n")}};
    QJsonObject *target = key == u"SetData"         ? &setData
                          : key == u"NoticeSetData" ? &notices
                          : key == u"LastData"      ? &last
                                                    : &block;
    target->insert(name, c.stored);
    WriteStore({{QStringLiteral("SetData"), setData},
                {QStringLiteral("NoticeSetData"), notices},
                {QStringLiteral("LastData"), last},
                {QStringLiteral("KikanmeiData"), block}});
    fields.basis = 1;
    Load();

    const QStringList expected = *c.message ? QStringList{QString::fromUtf8(c.message).arg(name)} : QStringList{};
    EXPECT_EQ(Shown(), expected);

    // Every other value was read; the bad one took its first-run default.
    const ScheduleSettings defaults;
    const QList<std::pair<const char *, bool>> settingChecks = {
        {"Tit", records.settings.Tit == defaults.Tit},
        {"Yoshi", records.settings.Yoshi == defaults.Yoshi},
        {"Yoteiyogo", records.settings.Yoteiyogo == defaults.Yoteiyogo},
        {"Hani", records.settings.Hani == defaults.Hani},
        {"Daycolor", records.settings.Daycolor == defaults.Daycolor},
        {"Notfont", records.settings.Notfont == defaults.Notfont},
        {"Col7", records.notices.ForWeek(7).color == DefaultNoticeTable().ForWeek(7).color},
        {"Not7", records.notices.ForWeek(7).text == DefaultNoticeTable().ForWeek(7).text}};
    for (const auto &[field, isDefault] : settingChecks)
        EXPECT_EQ(isDefault, name == QLatin1String(field)) << field;
    EXPECT_EQ(fields.basis, name == u"Kijun" ? 1 : 2) << "a bad basis leaves the selection unchanged";
    EXPECT_EQ(fields.year, name == u"KijunY" ? QStringLiteral("2024") : QStringLiteral("2020"));
    EXPECT_EQ(fields.cycle, name == u"Shuki" ? QStringLiteral("28") : QStringLiteral("30"));
    EXPECT_EQ(fields.mother, name == u"Mother" ? QString() : QStringLiteral("母"));
    const QStringList lines =
        name == u"EditStr" ? QStringList{} : QStringList{QStringLiteral("A"), QStringLiteral("B")};
    EXPECT_EQ(records.block.Lines(), lines);
}

const char *const kGetFailed = "'%1' の取得に失敗しました";
const char *const kBadType = "'%1' のデータ型が不正です";
const QJsonObject kBinary4{{QStringLiteral("kind"), QStringLiteral("binary")},
                           {QStringLiteral("data"), QStringLiteral("01000000")}};
const QJsonObject kBinary5{{QStringLiteral("kind"), QStringLiteral("binary")},
                           {QStringLiteral("data"), QStringLiteral("0100000000")}};
const QJsonObject kQword{{QStringLiteral("kind"), QStringLiteral("qword")},
                         {QStringLiteral("data"), QStringLiteral("0100000000000000")}};

INSTANTIATE_TEST_SUITE_P(
    StoredKinds, BadValues,
    ::testing::Values(BadValueCase{"IntegerAsSmallBinary", "SetData", "Yoshi", kBinary4, kBadType},
                      BadValueCase{"IntegerAsLargeBinary", "SetData", "Yoshi", kBinary5, kGetFailed},
                      BadValueCase{"IntegerAs64BitNumber", "SetData", "Hani", QJsonValue(5000000000.0), kGetFailed},
                      BadValueCase{"IntegerAsQword", "SetData", "Daycolor", kQword, kGetFailed},
                      BadValueCase{"IntegerAsShortText", "SetData", "Yoteiyogo", QStringLiteral("1"), kBadType},
                      BadValueCase{"IntegerAsLongText", "SetData", "Yoteiyogo", QStringLiteral("1234"), kGetFailed},
                      BadValueCase{"IntegerAsFraction", "SetData", "Hani", QJsonValue(1.5), kGetFailed},
                      BadValueCase{"IntegerAsJsonBoolean", "SetData", "Hani", QJsonValue(true), kGetFailed},
                      BadValueCase{"TextAsInteger", "SetData", "Tit", QJsonValue(3), kBadType},
                      BadValueCase{"FontAsBinary", "SetData", "Notfont", kBinary5, kBadType},
                      BadValueCase{"NoticeTextAsInteger", "NoticeSetData", "Not7", QJsonValue(7), kBadType},
                      BadValueCase{"NoticeColourAsText", "NoticeSetData", "Col7", QStringLiteral("red"), kBadType},
                      BadValueCase{"BasisAsText", "LastData", "Kijun", QStringLiteral("2"), kBadType},
                      BadValueCase{"YearAsLongText", "LastData", "KijunY", QStringLiteral("2024"), kGetFailed},
                      BadValueCase{"MotherAsInteger", "LastData", "Mother", QJsonValue(1), kBadType},
                      BadValueCase{"CycleAsBinary", "LastData", "Shuki", kBinary4, kBadType},
                      BadValueCase{"BlockAsInteger", "KikanmeiData", "EditStr", QJsonValue(0), kBadType},
                      // Out-of-range choices are never used to pick anything: silently the default.
                      BadValueCase{"PaperOutOfRange", "SetData", "Yoshi", QJsonValue(3), ""},
                      BadValueCase{"DueDateTermOutOfRange", "SetData", "Yoteiyogo", QJsonValue(2), ""},
                      BadValueCase{"FirstMonthNegative", "SetData", "Hani", QJsonValue(-1), ""},
                      BadValueCase{"BasisOutOfRange", "LastData", "Kijun", QJsonValue(3), ""}),
    [](const auto &test) { return std::string(test.param.label); });

// A hand-edited number no double can hold spoils that value only.
TEST_F(SettingsIOTest, ANumberOutOfRangeIsAWrongTypeNotADamagedFile)
{
    QJsonObject setData = ChangedSetData();
    setData.insert(QStringLiteral("Yoshi"), QStringLiteral("@huge@"));
    WriteStore({{QStringLiteral("SetData"), setData}});
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    bytes.replace("\"@huge@\"", "1e400");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();

    Load();
    EXPECT_EQ(store.TakeProblemReport(), QString()) << "the file is not damaged";
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("'Yoshi' のデータ型が不正です")});
    const ScheduleSettings defaults;
    EXPECT_EQ(records.settings.Yoshi, defaults.Yoshi);
    EXPECT_NE(records.settings.Tit, defaults.Tit) << "the other settings are kept";
    EXPECT_NE(records.settings.Daycolor, defaults.Daycolor);
}

TEST_F(SettingsIOTest, ReadOrderPutsNotfontBeforeDaycolor)
{
    QJsonObject setData = ChangedSetData();
    setData.remove(QStringLiteral("Daycolor"));
    setData.insert(QStringLiteral("Notfont"), 1);
    WriteStore({{QStringLiteral("SetData"), setData}});
    Load();
    EXPECT_EQ(Shown(), (QStringList{QStringLiteral("'Notfont' のデータ型が不正です"),
                                    QStringLiteral("'Daycolor' の取得に失敗しました")}));
}

TEST(SettingFieldOrder, TheReadOrderHoldsEveryStoredValueOnceAndMovesOnlyNotfont)
{
    QStringList written;
    for (const SettingField &field : ScheduleSettingFields())
        written << field.Name();
    QStringList read;
    for (const SettingField *field : ScheduleSettingFieldsInReadOrder())
        read << field->Name();
    QStringList expected = written;
    expected.move(expected.indexOf(QStringLiteral("Notfont")), expected.indexOf(QStringLiteral("Daycolor")));
    EXPECT_EQ(read, expected);
}

struct BadFieldCase
{
    const char *label;
    int field; // 0 year, 1 month, 2 day, 3 cycle
    const char *text;
    int lastDataValues; // values under LastData after the stopped save

    friend void PrintTo(const BadFieldCase &c, std::ostream *os) { *os << c.label; }
};

class BadFieldOnSave : public SettingsIOTest, public ::testing::WithParamInterface<BadFieldCase>
{};

TEST_P(BadFieldOnSave, StopsTheSaveKeepsWhatCameBeforeAndALaterSaveCompletes)
{
    const BadFieldCase &c = GetParam();
    PlainInputFields input;
    input.year = QStringLiteral("2024");
    input.month = QStringLiteral("3");
    input.day = QStringLiteral("5");
    input.basis = 1;
    QString *bad[] = {&input.year, &input.month, &input.day, &input.cycle};
    const QString good = *bad[c.field];
    *bad[c.field] = QString::fromUtf8(c.text);

    store = SettingsStore::Open(StorePath());
    EXPECT_FALSE(SaveSettings(store, records, input, fake.Services()));
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("'%1' は整数ではありません").arg(QString::fromUtf8(c.text))});
    ASSERT_TRUE(Reopened(store_keys::SetData()));
    EXPECT_EQ(Reopened(store_keys::SetData())->ValueNames().size(), 23);
    EXPECT_EQ(Reopened(store_keys::NoticeSetData())->ValueNames().size(), 80);
    EXPECT_EQ(Reopened(store_keys::LastData())->ValueNames().size(), c.lastDataValues);
    EXPECT_EQ(Reopened(store_keys::LastData())->Value(QStringLiteral("Kijun"))->integer(), 1);
    EXPECT_FALSE(Reopened(store_keys::KikanmeiData()));

    *bad[c.field] = good;
    EXPECT_TRUE(SaveSettings(store, records, input, fake.Services()));
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(Reopened(store_keys::LastData())->ValueNames().size(), 6);
    EXPECT_TRUE(Reopened(store_keys::KikanmeiData()));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BadFieldOnSave,
    ::testing::Values(BadFieldCase{"EmptyYear", 0, "", 1}, BadFieldCase{"FullWidthYear", 0, "２０２４", 1},
                      BadFieldCase{"YearWithTrailingSpace", 0, "2024 ", 1}, BadFieldCase{"HexMonth", 1, "0x3", 2},
                      BadFieldCase{"SignOnlyDay", 2, "-", 3}, BadFieldCase{"OverflowingCycle", 3, "2147483648", 5},
                      BadFieldCase{"FractionCycle", 3, "28.5", 5}),
    [](const auto &test) { return std::string(test.param.label); });

// Two windows open at once: the second to close is asked before it drops
// the changes the first one saved.
TEST_F(SettingsIOTest, ASecondWindowAsksBeforeOverwritingTheFirstOnesSave)
{
    SettingsStore first = SettingsStore::Open(StorePath());
    SettingsStore second = SettingsStore::Open(StorePath());
    AppRecords firstRecords = records;
    firstRecords.settings.Tit = QStringLiteral("一つ目");
    AppRecords secondRecords = records;
    secondRecords.settings.Tit = QStringLiteral("二つ目");
    auto storedTitle = [&] { return Reopened(store_keys::SetData())->Value(QStringLiteral("Tit"))->text(); };

    ASSERT_TRUE(SaveSettings(first, firstRecords, fields, fake.Services()));
    EXPECT_TRUE(fake.messages.asked.empty()) << "nothing changed under the first";

    fake.messages.answers = {platform::Messages::Answer::Cancel, platform::Messages::Answer::No};
    EXPECT_FALSE(SaveSettings(second, secondRecords, fields, fake.Services())) << "cancel keeps the window open";
    EXPECT_TRUE(SaveSettings(second, secondRecords, fields, fake.Services())) << "no closes without saving";
    ASSERT_EQ(fake.messages.asked.size(), 2u);
    EXPECT_TRUE(fake.messages.asked.front().text.contains(StorePath()));
    EXPECT_EQ(storedTitle(), QStringLiteral("一つ目"));

    fake.messages.answers = {platform::Messages::Answer::Yes};
    EXPECT_TRUE(SaveSettings(second, secondRecords, fields, fake.Services()));
    EXPECT_EQ(storedTitle(), QStringLiteral("二つ目"));
    // Its own save is no change: the next close asks nothing.
    EXPECT_TRUE(SaveSettings(second, secondRecords, fields, fake.Services()));
    EXPECT_EQ(fake.messages.asked.size(), 3u);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(SettingsIOTest, AStoreThatCannotBeWrittenStopsTheSave)
{
    // The folder of the store is a plain file: nothing can be written there
    // (this holds for root as well, unlike a read-only folder).
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore unwritable = SettingsStore::Open(dir.filePath(QStringLiteral("blocker/settings.json")));
    EXPECT_FALSE(SaveSettings(unwritable, records, fields, fake.Services()));
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("'Tit' の設定に失敗しました")});

    SettingsStore readOnly = SettingsStore::Open(StorePath(), SettingsStore::Access::ReadOnly);
    EXPECT_FALSE(SaveSettings(readOnly, records, fields, fake.Services()));
    EXPECT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_FALSE(QFile::exists(StorePath()));
}

TEST_F(SettingsIOTest, ADamagedFileIsKeptAsideAndTheDefaultsAreUsed)
{
    WriteStore({{QStringLiteral("SetData"), ChangedSetData()}});
    QFile file(StorePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    const QByteArray torn = whole.left(whole.size() / 2);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(torn);
    file.close();

    Load();
    EXPECT_EQ(records.settings, ScheduleSettings{});
    EXPECT_EQ(fields.cycle, QStringLiteral("28"));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown.front().contains(StorePath()));

    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("settings.json.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(fake.messages.shown.front().contains(aside.front()));
    QFile kept(dir.filePath(aside.front()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), torn);
    kept.close();

    // Told once; the next save writes a fresh store and leaves the copy alone.
    LoadSettings(store, records, fields, fake.Services());
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    ASSERT_TRUE(SaveSettings(store, records, fields, fake.Services()));
    EXPECT_TRUE(Reopened(store_keys::SetData()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), torn);
}

TEST_F(SettingsIOTest, ValuesAndKeysTheApplicationDoesNotKnowSurviveASave)
{
    QJsonObject setData = ChangedSetData();
    setData.insert(QStringLiteral("Extra"), kQword);
    WriteStore(
        {{QStringLiteral("SetData"), setData}, {QStringLiteral("Other"), QJsonObject{{QStringLiteral("x"), 1}}}});
    Load();
    ASSERT_TRUE(SaveSettings(store, records, fields, fake.Services()));
    EXPECT_EQ(Reopened(store_keys::SetData())->Value(QStringLiteral("Extra"))->raw(), QJsonValue(kQword));
    EXPECT_EQ(Reopened(QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\Other"))->Value(QStringLiteral("x"))->integer(),
              1);
}
