#include "print/PreviewMessages.h"
#include "print/PreviewZoom.h"

#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace ralvo;
using namespace ralvo::preview;

namespace {

struct FitCase
{
    const char *name;
    QSize area;
    QSize sheet;
};

class FitPaperTest : public testing::TestWithParam<FitCase>
{};

TEST_P(FitPaperTest, LargestSheetOfProportionsOneToSqrtTwo) { EXPECT_EQ(FitPaper(GetParam().area), GetParam().sheet); }

INSTANTIATE_TEST_SUITE_P(Areas, FitPaperTest,
                         testing::Values(
                             // A wide area: the height limits, width round(600 / 1.414) = 424.
                             FitCase{"WideAreaLimitedByHeight", {800, 600}, {424, 600}},
                             // A tall area: height cut to round(600 × 1.414) = 848, then the width
                             // is tested again (848 < 848.4) and recomputed as round(848 / 1.414).
                             FitCase{"TallAreaLimitedByWidth", {600, 1000}, {600, 848}},
                             // Exactly 1.414 high needs no cut, and the width stays.
                             FitCase{"ExactProportions", {1000, 1414}, {1000, 1414}},
                             FitCase{"EmptyArea", {0, 0}, {0, 0}}),
                         [](const testing::TestParamInfo<FitCase> &test) { return std::string(test.param.name); });

const QSize kArea(800, 600);

ZoomState Fitted()
{
    ZoomState s;
    s.paper = FitPaper(kArea);
    return s;
}

} // namespace

TEST(PreviewZoom, StepsInDoubleTheAreaUpToLevelTwo)
{
    ZoomState s = ZoomIn(Fitted(), kArea);
    EXPECT_EQ(s.level, 1);
    EXPECT_EQ(s.paper, QSize(600, 849)); // round(424 × 1.414213), round(600 × 1.414213)
    EXPECT_TRUE(s.zoomInEnabled);

    s = ZoomIn(s, kArea);
    EXPECT_EQ(s.level, 2);
    EXPECT_EQ(s.paper, QSize(849, 1201));
    EXPECT_FALSE(s.zoomInEnabled);
    EXPECT_TRUE(s.zoomOutEnabled);

    // At the end nothing changes.
    EXPECT_EQ(ZoomIn(s, kArea), s);

    s = ZoomOut(s, kArea);
    EXPECT_EQ(s.level, 1);
    EXPECT_EQ(s.paper, QSize(600, 849)); // round(849 × 0.707106)
    EXPECT_TRUE(s.zoomInEnabled);

    // Back at level 0 the sheet is fitted afresh to the area as it is now.
    s = ZoomOut(s, QSize(600, 1000));
    EXPECT_EQ(s.level, 0);
    EXPECT_EQ(s.paper, QSize(600, 848));
}

TEST(PreviewZoom, StepsOutHalveTheAreaDownToLevelMinusTwo)
{
    ZoomState s = ZoomOut(Fitted(), kArea);
    EXPECT_EQ(s.level, -1);
    EXPECT_EQ(s.paper, QSize(300, 424)); // round(424 × 0.707106), round(300 × 1.414213)
    EXPECT_TRUE(s.zoomOutEnabled);

    s = ZoomOut(s, kArea);
    EXPECT_EQ(s.level, -2);
    EXPECT_EQ(s.paper, QSize(212, 300));
    EXPECT_FALSE(s.zoomOutEnabled);
    EXPECT_TRUE(s.zoomInEnabled);
    EXPECT_EQ(ZoomOut(s, kArea), s);

    s = ZoomIn(s, kArea);
    EXPECT_EQ(s.level, -1);
    EXPECT_TRUE(s.zoomOutEnabled);
    EXPECT_EQ(s.paper.width(), 300); // round(212 × 1.414213)

    s = ZoomIn(s, kArea);
    EXPECT_EQ(s, Fitted());
}

TEST(PreviewMessages, EachMessageOncePerShowingHeldUntilShown)
{
    test::FakeMessages target;
    PreviewMessages messages(target);
    const QString non = QStringLiteral("画像データが読み込み不能となっています");
    const QString edges = QStringLiteral("機関名等の編集の入力が不完全です。");

    // First drawing: two damaged frames with the same text, one with another.
    messages.BeginDrawing();
    messages.ShowMessage(non);
    messages.ShowMessage(edges);
    messages.ShowMessage(non);
    EXPECT_TRUE(target.shown.empty()) << "nothing is shown while painting";
    ASSERT_TRUE(messages.HasPending());
    messages.ShowPending();
    EXPECT_EQ(target.shown, (std::vector<QString>{non, edges, non}));
    EXPECT_FALSE(messages.HasPending());

    // The repaints that closing the boxes causes report the same again.
    for (int repaint = 0; repaint < 3; ++repaint) {
        messages.BeginDrawing();
        messages.ShowMessage(non);
        messages.ShowMessage(edges);
        messages.ShowMessage(non);
        EXPECT_FALSE(messages.HasPending());
    }

    // A third frame turning up within the same showing is shown once.
    messages.BeginDrawing();
    for (int i = 0; i < 3; ++i)
        messages.ShowMessage(non);
    messages.ShowPending();
    EXPECT_EQ(target.shown.size(), 4u);

    // The next showing shows them again.
    messages.NewShowing();
    messages.BeginDrawing();
    messages.ShowMessage(edges);
    messages.ShowPending();
    EXPECT_EQ(target.shown.back(), edges);
    EXPECT_EQ(target.shown.size(), 5u);
}
