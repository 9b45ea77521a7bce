#include "textout/TextFile.h"
#include "textout/TextSchedule.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ralvo::textout;

namespace {

// "出産" and "予定" in code page 932.
const QByteArray kShussan("\x8F\x6F\x8E\x59");
const QByteArray kYotei("\x97\x5C\x92\xE8");

struct DecodeCase
{
    const char *name;
    QByteArray bytes;
    std::optional<QString> text;
};

void PrintTo(const DecodeCase &c, std::ostream *os) { *os << c.name; }

class DecodeTextFileTest : public testing::TestWithParam<DecodeCase>
{};

TEST_P(DecodeTextFileTest, Decodes) { EXPECT_EQ(DecodeTextFile(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeTextFileTest,
    testing::Values(DecodeCase{"ShiftJisCrLf", kShussan + "\r\n" + kYotei + "\r\n", QStringLiteral("出産\n予定")},
                    DecodeCase{"ShiftJisHalfWidthKanaAndTilde", QByteArray("\xB6\xC5\x81\x60"), QStringLiteral("ｶﾅ～")},
                    DecodeCase{"Utf8WithoutBom", QStringLiteral("出産\r\n予定").toUtf8(), QStringLiteral("出産\n予定")},
                    DecodeCase{"Utf8WithBom", "\xEF\xBB\xBF" + QStringLiteral("出産\n").toUtf8(),
                               QStringLiteral("出産")},
                    DecodeCase{"BomOnly", QByteArray("\xEF\xBB\xBF"), QString()},
                    DecodeCase{"Empty", QByteArray(), QString()},
                    DecodeCase{"LoneCrAndLf", QByteArray("A\rB\nC"), QStringLiteral("A\nB\nC")},
                    DecodeCase{"OnlyTheLastBreakIsDropped", QByteArray("A\r\n\r\n"), QStringLiteral("A\n")},
                    DecodeCase{"NoFinalBreak", QByteArray("A\r\nB"), QStringLiteral("A\nB")},
                    DecodeCase{"LeadByteAtEnd", kShussan + "\x8F", std::nullopt},
                    DecodeCase{"InvalidShiftJisTrailByte", QByteArray("\x81\x20"), std::nullopt},
                    DecodeCase{"NeitherEncoding",
                               QByteArray("\xFF\xFE"
                                          "A\x00",
                                          4),
                               std::nullopt},
                    DecodeCase{"BomWithInvalidUtf8", QByteArray("\xEF\xBB\xBF\xC3"), std::nullopt}),
    [](const testing::TestParamInfo<DecodeCase> &test) { return std::string(test.param.name); });

// What Save as writes for the editor's text.
ralvo::platform::ShiftJisBytes Saved(const QString &text) { return ralvo::EncodeTextFile(EditorTextLines(text)); }

TEST(EditorTextFile, EndsEveryLineWithCrLfInShiftJis)
{
    EXPECT_EQ(Saved(QStringLiteral("出産\n予定")).bytes, kShussan + "\r\n" + kYotei + "\r\n");
    EXPECT_EQ(Saved(QStringLiteral("A\n")).bytes, QByteArray("A\r\n\r\n"));
    EXPECT_EQ(Saved(QString()).bytes, QByteArray());
    // What Linux input methods type for ～ and － is saved as their CP932 twins.
    EXPECT_EQ(Saved(QStringLiteral("〜−")).bytes, QByteArray("\x81\x60\x81\x7C\r\n"));
}

TEST(EditorTextFile, RoundTripsThroughDecoding)
{
    for (const QString &text : {QStringLiteral("A"), QStringLiteral("A\n"), QStringLiteral("\n\nB"),
                                QStringLiteral("ｶﾅ\n　全角　\n"), QString()}) {
        EXPECT_EQ(DecodeTextFile(Saved(text).bytes), text) << text.toStdString();
    }
}

TEST(EditorTextFile, NamesEachUnencodableCharacterOnce)
{
    const ralvo::platform::ShiftJisBytes encoded = Saved(QStringLiteral("😀出産𠮷\n😀é"));
    EXPECT_FALSE(encoded.ok());
    EXPECT_EQ(encoded.unencodable, QStringLiteral("😀𠮷é"));
}

TEST(TextFiles, WriteAndReadBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("予定.txt"));
    ASSERT_TRUE(WriteFileBytes(path, kShussan + "\r\n"));
    EXPECT_EQ(ReadTextFile(path), QStringLiteral("出産"));
    EXPECT_FALSE(WriteFileBytes(dir.filePath(QStringLiteral("missing/x.txt")), "x"));
    EXPECT_FALSE(WriteFileBytes(dir.path(), "x")); // a folder
    EXPECT_FALSE(ReadTextFile(dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(ReadTextFile(dir.path()));
}

// The window's saves (text, PDF, calendar) never land on the settings store
// it reads: not at its path, not through a link, not before it exists.
TEST(TextFiles, NeverWriteOntoTheSettingsStore)
{
    QTemporaryDir dir;
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString store = dir.filePath(QStringLiteral("ralvo/settings.json"));
    EXPECT_FALSE(WriteFileBytes(store, "text")); // its folder does not exist yet
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("ralvo")));
    EXPECT_FALSE(WriteFileBytes(store, "text"));
    EXPECT_FALSE(QFile::exists(store));
    {
        QFile file(store);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{}");
    }
    const QString link = dir.filePath(QStringLiteral("予定.txt"));
    ASSERT_TRUE(QFile::link(store, link));
    EXPECT_FALSE(WriteFileBytes(store, "text"));
    EXPECT_FALSE(WriteFileBytes(link, "text"));
    EXPECT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("ralvo/other.txt")), "text"));
    qputenv("XDG_CONFIG_HOME", configHome);
    QFile file(store);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{}"));
}

} // namespace
