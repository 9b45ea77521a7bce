#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

using namespace ralvo::platform;

TEST(ShiftJisWidth, HalfAndFullWidthAndJisTwins)
{
    struct Case
    {
        const char16_t *text;
        int width;
    };
    const Case cases[] = {
        {u"", 0},
        {u"abc", 3},
        {u"ｱｲｳ", 3},
        {u"あ", 2},
        {u"【第", 4},
        {u"か月】", 6},
        {u"～－", 4},
        {u"〜−‖¬¢£—", 14},
        {u"┓┃┛", 6},
        // Unencodable characters count as the "？" they become.
        {u"😀", 2},
        {u"𠮷a", 3},
        {u"a\uFEFF", 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShiftJisWidth(QString::fromUtf16(c.text)), c.width) << QString::fromUtf16(c.text).toStdString();
}

TEST(EncodeShiftJis, MapsJisTwinsAndReportsWhatItCannotWrite)
{
    const ShiftJisBytes twins = EncodeShiftJis(QStringLiteral("〜−～－┓"));
    EXPECT_TRUE(twins.ok());
    EXPECT_EQ(twins.bytes, QByteArray("\x81\x60\x81\x7C\x81\x60\x81\x7C\x84\xAD"));

    const ShiftJisBytes mixed = EncodeShiftJis(QStringLiteral("a😀b😀\uFEFF"));
    EXPECT_FALSE(mixed.ok());
    EXPECT_EQ(mixed.unencodable, QStringLiteral("😀\uFEFF"));
    EXPECT_EQ(mixed.bytes, QByteArray("a\x81\x48"
                                      "b\x81\x48\x81\x48"));

    const ShiftJisBytes loneSurrogate = EncodeShiftJis(QString(QChar(0xD800)) + u'x');
    EXPECT_FALSE(loneSurrogate.ok());
    EXPECT_EQ(loneSurrogate.bytes, QByteArray("\x81\x48x"));
}

TEST(DecodeShiftJis, RoundTripsAndCountsInvalidBytes)
{
    const QString text = QStringLiteral("妊娠 4週　 1月29日(月)～ｱ\r\n");
    const ShiftJisText back = DecodeShiftJis(EncodeShiftJis(text).bytes);
    EXPECT_TRUE(back.ok());
    EXPECT_EQ(back.text, text);

    const ShiftJisText truncated = DecodeShiftJis(QByteArray("a\x82"));
    EXPECT_EQ(truncated.invalidBytes, 1);
    EXPECT_EQ(truncated.text, QStringLiteral("a\uFFFD"));

    const ShiftJisText badTrail = DecodeShiftJis(QByteArray("\x82\x20z"));
    EXPECT_FALSE(badTrail.ok());
    EXPECT_TRUE(badTrail.text.endsWith(QStringLiteral(" z")));
}
