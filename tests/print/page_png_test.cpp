// The PNG page file: drawn band by band, it holds exactly the pixels of the
// whole sheet drawn at once, and tells the user of a bad picture once.

#include "kikanmei/KikanmeiBlock.h"
#include "pictures/PictureCache.h"
#include "print/PageOutput.h"
#include "settings/LastInputFields.h"
#include "support/FakePlatform.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ralvo;

namespace {

WakuRecord Frame(int left, int top, int right, int bottom, const QString &kind, const QString &content)
{
    WakuRecord frame = WakuRecord::WithEdges(left, top, right, bottom);
    frame.Kind = kind;
    frame.Content = content;
    frame.FontName = QStringLiteral("ＭＳ 明朝");
    frame.FontHeight = QStringLiteral("300");
    frame.CharGap = QStringLiteral("10");
    frame.Color = QStringLiteral("255");
    return frame;
}

// Frames over the whole block: text across and down, a picture scaled in
// both ways, so that every band boundary cuts through something.
KikanmeiBlock BlockWithPictures(const QString &folder)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(30, 140, 90));
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(220, 40, 60));
        painter.drawEllipse(QRectF(3, 3, 34, 24));
    }
    const QString path = QDir(folder).filePath(QStringLiteral("logo.png"));
    picture.save(path);
    KikanmeiBlock block;
    block.AppendFrame(Frame(100, 100, 4000, 9900, WakuKind::PictureStretched(), path));
    block.AppendFrame(Frame(4100, 100, 6000, 9900, WakuKind::PictureFixedAspect(), path));
    block.AppendFrame(Frame(6100, 200, 7900, 9800, WakuKind::Horizontal(), QStringLiteral("さくら医院（産婦人科）")));
    block.AppendFrame(
        Frame(8000, 100, 9900, 9900, WakuKind::Vertical(), QStringLiteral("電話（０３）１２３４－５６７８")));
    return block;
}

struct Page
{
    ScheduleSettings settings;
    NoticeTable notices = DefaultNoticeTable();
    KikanmeiBlock block;
    PlainInputFields fields;
    test::FakeMessages messages;
    test::FakeSounds sounds;

    Page()
    {
        fields.year = QStringLiteral("2024");
        fields.month = QStringLiteral("1");
        fields.day = QStringLiteral("1");
        fields.mother = QStringLiteral("サンプル");
    }
    PageSources Sources() { return {settings, notices, block, fields, messages, sounds}; }
};

} // namespace

TEST(PagePng, BandsHoldThePixelsOfTheWholeSheetDrawnAtOnce)
{
    QTemporaryDir folder;
    Page page;
    page.block = BlockWithPictures(folder.path());
    for (const int dpi : {300, 97}) {
        const PageFile file = RenderPagePng(PagePaper::A4, dpi, page.Sources());
        ASSERT_EQ(file.result, PageResult::Drawn);
        ASSERT_FALSE(file.bytes.isEmpty()) << file.error.toStdString();
        const QImage png = QImage::fromData(file.bytes, "PNG");
        const QSize sheet = SheetPixels(PagePaper::A4, dpi);
        ASSERT_EQ(png.size(), sheet);

        QImage whole(sheet, QImage::Format_RGB32);
        whole.fill(Qt::white);
        {
            QPainter painter(&whole);
            DrawSchedulePage(SheetTarget(painter, sheet), page.Sources());
        }
        const QImage drawn = png.convertToFormat(QImage::Format_RGB32);
        int differing = 0;
        for (int y = 0; y < sheet.height(); ++y) {
            if (std::memcmp(drawn.constScanLine(y), whole.constScanLine(y), std::size_t(sheet.width()) * 4) != 0)
                ++differing;
        }
        EXPECT_EQ(differing, 0) << "rows differing at " << dpi << " dpi";
        EXPECT_EQ(png.dotsPerMeterX(), int(std::nearbyint(dpi / 0.0254)));
    }
    EXPECT_TRUE(page.messages.shown.empty());
}

TEST(PagePng, APictureIsReadOnceForTheWholeSheet)
{
    // Just written, the picture is not kept by the shared cache; the bands
    // still show one reading of it, not one each.
    QTemporaryDir folder;
    Page page;
    page.block = BlockWithPictures(folder.path());
    const int before = pictures::PictureCache::Shared().Decodes();
    const PageFile file = RenderPagePng(PagePaper::A4, 300, page.Sources());
    ASSERT_FALSE(file.bytes.isEmpty());
    EXPECT_EQ(pictures::PictureCache::Shared().Decodes() - before, 1);
}

TEST(PagePng, AnUnreadablePictureIsToldOnceForTheWholeSheet)
{
    QTemporaryDir folder;
    Page page;
    page.block = BlockWithPictures(folder.path());
    ASSERT_TRUE(QFile::remove(QDir(folder.path()).filePath(QStringLiteral("logo.png"))));
    const PageFile file = RenderPagePng(PagePaper::A4, 300, page.Sources());
    EXPECT_EQ(file.result, PageResult::Drawn);
    EXPECT_FALSE(file.bytes.isEmpty());
    // Two frames name the file; each is told once, not once per band.
    EXPECT_EQ(page.messages.shown.size(), 2u);
    EXPECT_EQ(page.block.Frame(0).Kind, WakuKind::Unreadable());
}
