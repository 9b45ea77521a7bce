// What the text and graphic frame dialogs are filled with, and how their
// results are stored into a frame.
#include "kikanmei/FrameDialogValues.h"

#include <gtest/gtest.h>

using namespace ralvo;

TEST(FrameDialogValues, TextDialogPreparedFromTheFrame)
{
    WakuRecord fresh = WakuRecord::WithEdges(0, 0, 100, 100);
    fresh.Kind = QStringLiteral("L");
    const MojiValues blank = MojiValuesFromFrame(fresh);
    EXPECT_EQ(blank.colour, 0x000000u) << "no colour yet gives black";
    EXPECT_FALSE(blank.vertical);
    EXPECT_TRUE(blank.text.isEmpty());

    WakuRecord former = fresh;
    former.Kind = QStringLiteral("P");
    former.Color = QStringLiteral("16711680");
    former.FontName = QStringLiteral("IPAGothic");
    former.Content = QStringLiteral("/pictures/logo.bmp");
    const MojiValues values = MojiValuesFromFrame(former);
    EXPECT_TRUE(values.vertical);
    EXPECT_EQ(values.colour, 0xFF0000u);
    EXPECT_EQ(values.fontName, QStringLiteral("IPAGothic"));
    EXPECT_EQ(values.text, QStringLiteral("/pictures/logo.bmp"));
}

TEST(FrameDialogValues, StoringTheTextResult)
{
    WakuRecord frame = WakuRecord::WithEdges(0, 0, 100, 100);
    EXPECT_FALSE(StoreMojiValues(frame, {QStringLiteral("ABC"), QStringLiteral("知らない書体"), true, 255}));
    EXPECT_EQ(frame.Kind, QStringLiteral("P"));
    EXPECT_EQ(frame.Color, QStringLiteral("255"));
    EXPECT_EQ(frame.FontName, QStringLiteral("知らない書体")) << "a typed name is kept as typed";
    EXPECT_EQ(frame.Content, QStringLiteral("ABC"));

    EXPECT_TRUE(StoreMojiValues(frame, {QString(), QString(), false, 0}));
    EXPECT_EQ(frame.Kind, QStringLiteral("L"));
    EXPECT_EQ(frame.FontName, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(frame.FontName.toUtf8(), QByteArray("\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D"));
    EXPECT_EQ(EmptyFontNameMessage(), QStringLiteral("フォントが指定されていません。\n仮に「ＭＳ 明朝」を使用します"));
}

TEST(FrameDialogValues, PictureKindFollowsTheCheckBox)
{
    WakuRecord frame = WakuRecord::WithEdges(0, 0, 100, 100);
    frame.Kind = QStringLiteral("V");
    frame.Content = QStringLiteral("/a.wmf");
    EXPECT_FALSE(GraphicValuesFromFrame(frame).fixedAspect);
    frame.Kind = QStringLiteral("F");
    EXPECT_TRUE(GraphicValuesFromFrame(frame).fixedAspect);
    EXPECT_EQ(GraphicValuesFromFrame(frame).fileName, QStringLiteral("/a.wmf"));

    StoreGraphicValues(frame, {QStringLiteral("/b.emf"), false});
    EXPECT_EQ(frame.Kind, QStringLiteral("V"));
    EXPECT_EQ(frame.Content, QStringLiteral("/b.emf"));
    StoreGraphicValues(frame, {QStringLiteral("/b.emf"), true});
    EXPECT_EQ(frame.Kind, QStringLiteral("F"));
}
