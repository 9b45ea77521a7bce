// The block editor's arithmetic: layout, the frame under a click, hover
// zones, the steps of moving and resizing, and the rubber band.
#include "kikanmei/BlockEditorGeometry.h"

#include <gtest/gtest.h>

using namespace ralvo;

namespace {

// The canvas of an editor window 1004 pixels wide.
const EditorCanvas Canvas1000{1000, 229};

WakuRecord Frame(int l, int t, int r, int b) { return WakuRecord::WithEdges(l, t, r, b); }

} // namespace

TEST(BlockEditorLayout, ClientWidthGivesCanvasAndButtonRows)
{
    const BlockEditorLayout layout = BlockEditorLayout::ForClientWidth(1004);
    EXPECT_EQ(layout.panel2Height, 233);
    EXPECT_EQ(layout.canvasWidth, 1000);
    EXPECT_EQ(layout.canvasHeight, 229);
    EXPECT_EQ(layout.speedButtonTop, 73 + 233 + 80);
    EXPECT_EQ(layout.buttonTop, 73 + 233 + 136);
    // round() halves to even: 1280 / 4.3038 = 297.41.., 1023 / 4.3038 = 237.69..
    EXPECT_EQ(BlockEditorLayout::ForClientWidth(1280).panel2Height, 297);
    EXPECT_EQ(BlockEditorLayout::ForClientWidth(1023).panel2Height, 238);
}

TEST(BlockEditorRubberBand, DragInsertsTheWorkedExampleFrameInEitherDirection)
{
    const auto forward = Canvas1000.FrameFromRubberBand({100, 20}, {500, 80});
    ASSERT_TRUE(forward);
    EXPECT_EQ(*forward, Frame(1000, 873, 5000, 3493));
    EXPECT_EQ(forward->ToLines().mid(4), QStringList(6, QString()));
    EXPECT_EQ(Canvas1000.FrameFromRubberBand({500, 80}, {100, 20}), forward);
    EXPECT_EQ(Canvas1000.FrameFromRubberBand({500, 20}, {100, 80}), forward);
}

TEST(BlockEditorRubberBand, TenPixelsInEitherDirectionSuffice)
{
    struct Case
    {
        const char *name;
        QPoint press, last;
        bool creates;
    };
    const Case cases[] = {
        {"100 x 5", {100, 20}, {200, 25}, true},          {"5 x 100", {100, 20}, {105, 120}, true},
        {"10 x 0", {100, 20}, {110, 20}, true},           {"9 x 9", {100, 20}, {109, 29}, false},
        {"9 x 9 backwards", {109, 29}, {100, 20}, false}, {"no move", {100, 20}, {100, 20}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Canvas1000.FrameFromRubberBand(c.press, c.last).has_value(), c.creates) << c.name;
}

TEST(BlockEditorSelection, LastFrameContainingThePointWinsEdgesIncluded)
{
    KikanmeiBlock block;
    block.AppendFrame(Frame(1000, 873, 5000, 3493));  // pixels 100, 20, 500, 80
    block.AppendFrame(Frame(3000, 2000, 6000, 6000)); // pixels 300, 46, 600, 137
    EXPECT_EQ(Canvas1000.FrameAt(block, {400, 60}), 1) << "shared point";
    EXPECT_EQ(Canvas1000.FrameAt(block, {200, 30}), 0);
    EXPECT_EQ(Canvas1000.FrameAt(block, {100, 20}), 0) << "top-left corner";
    EXPECT_EQ(Canvas1000.FrameAt(block, {550, 60}), 1) << "inside the later frame only";
    EXPECT_EQ(Canvas1000.FrameAt(block, {250, 80}), 0) << "bottom edge";
    EXPECT_EQ(Canvas1000.FrameAt(block, {99, 20}), std::nullopt);
    EXPECT_EQ(Canvas1000.FrameAt(block, {700, 200}), std::nullopt);

    WakuRecord damaged = Frame(0, 0, 10000, 10000);
    damaged.Left = QStringLiteral("x");
    block.AppendFrame(damaged);
    EXPECT_EQ(Canvas1000.FrameAt(block, {400, 60}), 1) << "a frame without readable edges is passed over";
}

TEST(BlockEditorHover, ZonesFollowTheTableLastMatchWinning)
{
    const WakuRecord frame = Frame(1000, 873, 5000, 3493); // pixels 100, 20, 500, 80; xm 300, ym 50
    using enum HoverZone;
    struct Case
    {
        QPoint at;
        std::optional<HoverZone> zone;
    };
    const Case
        cases
            [] =
                {
                    {{100, 20}, TopLeft},      {{98, 18}, TopLeft},
                    {{102, 22}, Inside}, // the inner line of a handle belongs to the inside
                    {{500, 20}, TopRight},     {{502, 18}, TopRight},
                    {{500, 80}, BottomRight},  {{100, 80}, BottomLeft},
                    {{300, 20}, Top},          {{500, 50}, Right},
                    {{300, 80}, Bottom},       {{100, 50}, Left},
                    {{300, 21}, Top},          {{300, 22}, Inside},
                    {{250, 40}, Inside},       {{498, 78}, Inside},
                    {{97, 20}, std::nullopt},  {{200, 20}, std::nullopt},
                    {{600, 50}, std::nullopt},
                };
    for (const Case &c : cases)
        EXPECT_EQ(Canvas1000.HoverZoneAt(frame, c.at), c.zone) << c.at.x() << "," << c.at.y();
}

TEST(BlockEditorHover, FramesUnderFivePixelsOfferNoZone)
{
    // 4 pixels wide (40 units of 1000 pixels), 60 pixels high.
    const WakuRecord narrow = Frame(1000, 873, 1040, 3493);
    for (const QPoint at : {QPoint(100, 20), QPoint(102, 50), QPoint(104, 80), QPoint(102, 20)})
        EXPECT_EQ(Canvas1000.HoverZoneAt(narrow, at), std::nullopt);

    WakuRecord damaged = Frame(1000, 873, 5000, 3493);
    damaged.Bottom = QString();
    EXPECT_EQ(Canvas1000.HoverZoneAt(damaged, {250, 40}), std::nullopt);
}

TEST(BlockEditorDrag, ResizingAndMovingSteps)
{
    const WakuEdges px{100, 20, 500, 80};
    const QPoint last{300, 50};
    using enum HoverZone;
    struct Case
    {
        const char *name;
        HoverZone zone;
        QPoint to;
        std::optional<WakuEdges> result;
    };
    const Case cases[] = {
        {"top-left", TopLeft, {90, 10}, WakuEdges{90, 10, 500, 80}},
        {"top-right", TopRight, {600, 10}, WakuEdges{100, 10, 600, 80}},
        {"bottom-right", BottomRight, {600, 100}, WakuEdges{100, 20, 600, 100}},
        {"bottom-left", BottomLeft, {50, 100}, WakuEdges{50, 20, 500, 100}},
        {"top", Top, {999, 30}, WakuEdges{100, 30, 500, 80}},
        {"right", Right, {450, 999}, WakuEdges{100, 20, 450, 80}},
        {"bottom", Bottom, {999, 70}, WakuEdges{100, 20, 500, 70}},
        {"left", Left, {200, 999}, WakuEdges{200, 20, 500, 80}},
        {"move", Inside, {310, 45}, WakuEdges{110, 15, 510, 75}},
        {"right edge to width 10", Right, {110, 50}, WakuEdges{100, 20, 110, 80}},
        {"right edge to width 9", Right, {109, 50}, std::nullopt},
        {"right edge past the left", Right, {50, 50}, std::nullopt},
        {"corner past the opposite one", BottomRight, {90, 10}, std::nullopt},
        {"corner past it in one axis only", TopLeft, {200, 85}, std::nullopt},
        {"move past the left edge", Inside, {-100, 50}, WakuEdges{-300, 20, 100, 80}},
        {"move below the canvas", Inside, {300, 400}, WakuEdges{100, 370, 500, 430}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ApplyDragStep(px, c.zone, c.to, last), c.result) << c.name;
}

TEST(BlockEditorDrag, AFrameFivePixelsHighCannotBeMovedNorResizedSideways)
{
    const auto frame = Canvas1000.FrameFromRubberBand({100, 20}, {200, 25});
    ASSERT_TRUE(frame);
    const WakuEdges px = *Canvas1000.PixelEdges(*frame);
    EXPECT_EQ(px.Bottom - px.Top, 5);
    EXPECT_TRUE(Canvas1000.HoverZoneAt(*frame, {150, 22}).has_value()) << "it offers zones";
    for (int dx : {-50, -1, 1, 50, 500})
        for (int dy : {-30, -1, 0, 1, 30}) {
            EXPECT_EQ(ApplyDragStep(px, HoverZone::Inside, {150 + dx, 22 + dy}, {150, 22}), std::nullopt);
            EXPECT_EQ(ApplyDragStep(px, HoverZone::Right, {200 + dx, 22 + dy}, {200, 22}), std::nullopt);
            EXPECT_EQ(ApplyDragStep(px, HoverZone::Left, {100 + dx, 22 + dy}, {100, 22}), std::nullopt);
        }
    // A vertical step of a few pixels still leaves it lower than 10 pixels.
    EXPECT_EQ(ApplyDragStep(px, HoverZone::Top, {150, 19}, {150, 20}), std::nullopt);
    EXPECT_EQ(ApplyDragStep(px, HoverZone::Bottom, {150, 29}, {150, 25}), std::nullopt);
}

TEST(BlockEditorDrag, StepsStoreRoundedUnitsAndNegativeEdges)
{
    const WakuEdges units = Canvas1000.UnitEdges({-300, 20, 100, 80});
    EXPECT_EQ(units, (WakuEdges{-3000, 873, 1000, 3493}));
    EXPECT_EQ(Canvas1000.PixelEdges(Frame(-3000, 873, 1000, 3493)), (WakuEdges{-300, 20, 100, 80}));
}

TEST(BlockEditorHandles, CornersAndMidpointsFromTheUnits)
{
    const auto handles = Canvas1000.Handles(Frame(1000, 873, 5001, 3493));
    ASSERT_TRUE(handles);
    // xm = round(6001 / 20000 × 1000) = round(300.05) = 300; ym = round(4366 / 20000 × 229) = 50
    const std::array<QPoint, 8> expected{QPoint(100, 20), QPoint(500, 20), QPoint(500, 80), QPoint(100, 80),
                                         QPoint(300, 20), QPoint(500, 50), QPoint(300, 80), QPoint(100, 50)};
    EXPECT_EQ(*handles, expected);
}

TEST(BlockEditorRubberBand, NormalisedEdges)
{
    EXPECT_EQ(NormalizedRubberBand({500, 20}, {100, 80}), (WakuEdges{100, 20, 500, 80}));
    EXPECT_EQ(NormalizedRubberBand({-5, 90}, {10, -3}), (WakuEdges{-5, -3, 10, 90}));
}
