// ralvo-schedule page with institution blocks whose pictures cannot be
// drawn: a bitmap cut short, a FIFO named as a bitmap, metafiles too costly
// to draw. The page comes out at once, each picture is reported with its
// file on standard error (exit status 2), and the frames it could not draw
// stay blank.

#include "kikanmei/KikanmeiBlock.h"
#include "support/FileSystemNodes.h"
#include "support/MetafileSamples.h"
#include "support/TemporaryFolder.h"

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

using namespace ralvo;
using namespace ralvo::test;

namespace {

// Long enough for a page on a loaded machine; a picture that hangs or costs
// minutes passes it.
constexpr int kPageTimeoutMs = 60000;

struct PageRun
{
    bool finished = false;
    int status = -1;
    QStringList errorLines;
    QImage page;
};

class PagePictures : public TemporaryFolderTest
{
protected:
    // Frames side by side across the block, one per picture path, of `kind`.
    KikanmeiBlock Block(const QStringList &pictures, const QString &kind) const
    {
        KikanmeiBlock block;
        const int width = 10000 / int(pictures.size());
        for (int i = 0; i < pictures.size(); ++i) {
            WakuRecord frame = WakuRecord::WithEdges(i * width, 0, (i + 1) * width - 100, 10000);
            frame.Kind = kind;
            frame.Content = pictures[i];
            block.AppendFrame(frame);
        }
        return block;
    }

    // The page of the worked example with `block` as the stored institution
    // block, as a PNG at 100 dpi.
    PageRun RunPage(const KikanmeiBlock &block, const QString &name)
    {
        const QString store = Path(name + QStringLiteral(".json"));
        const QJsonObject keys{{QStringLiteral("\\Software\\Quenda\\Ralvo\\2.0\\KikanmeiData"),
                                QJsonObject{{QStringLiteral("EditStr"), block.ToText()}}}};
        const QJsonObject json{{QStringLiteral("format"), QStringLiteral("ralvo-settings")},
                               {QStringLiteral("version"), 1},
                               {QStringLiteral("keys"), keys}};
        WriteAll(store, QJsonDocument(json).toJson());
        const QString png = Path(name + QStringLiteral(".png"));

        QProcess tool;
        tool.start(QStringLiteral(RALVO_SCHEDULE_TOOL),
                   {QStringLiteral("page"), QStringLiteral("--basis"), QStringLiteral("0"), QStringLiteral("--year"),
                    QStringLiteral("2024"), QStringLiteral("--month"), QStringLiteral("1"), QStringLiteral("--day"),
                    QStringLiteral("1"), QStringLiteral("--cycle"), QStringLiteral("28"), QStringLiteral("--name"),
                    QStringLiteral("サンプル"), QStringLiteral("--settings"), store, QStringLiteral("--dpi"),
                    QStringLiteral("100"), QStringLiteral("-o"), png});
        PageRun run;
        run.finished = tool.waitForFinished(kPageTimeoutMs) && tool.exitStatus() == QProcess::NormalExit;
        if (!run.finished) {
            tool.kill();
            tool.waitForFinished();
            return run;
        }
        run.status = tool.exitCode();
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        run.errorLines = err.split(u'\n', Qt::SkipEmptyParts);
        run.page = QImage(png);
        return run;
    }
};

// A picture's bytes cut after its header and a third of its rows.
QByteArray CutBitmap()
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.left(54 + 60 * 60 * 3 / 3);
}

TEST_F(PagePictures, UndrawablePicturesAreReportedAndLeaveTheirFramesBlank)
{
    WriteAll(Path(QStringLiteral("cut.bmp")), CutBitmap());
    ASSERT_TRUE(MakeFifo(Path(QStringLiteral("pipe.bmp"))));
    WriteWidePenWmf(Path(QStringLiteral("costly.wmf")), 199000);
    WriteWidePenEmf(Path(QStringLiteral("costly.emf")), 2000);
    const QStringList pictures{Path(QStringLiteral("cut.bmp")), Path(QStringLiteral("pipe.bmp")),
                               Path(QStringLiteral("costly.wmf")), Path(QStringLiteral("costly.emf"))};

    const PageRun bad = RunPage(Block(pictures, WakuKind::PictureStretched()), QStringLiteral("bad"));
    ASSERT_TRUE(bad.finished) << "the page did not come out within " << kPageTimeoutMs / 1000 << " s";
    // The page is still written (the block's pictures are not the
    // schedule), but the run is no success: each frame's file is named.
    EXPECT_EQ(bad.status, 2);
    QStringList expected;
    for (const QString &picture : pictures)
        expected << QStringLiteral("グラフィックファイルを読み込めませんでした: ") + picture;
    EXPECT_EQ(bad.errorLines.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
    ASSERT_FALSE(bad.page.isNull());

    // Frames that draw nothing (no kind) give the same page, pixel for pixel:
    // nothing of the pictures' bytes reached it.
    const PageRun blank = RunPage(Block(pictures, QString()), QStringLiteral("blank"));
    ASSERT_TRUE(blank.finished);
    EXPECT_EQ(blank.status, 0);
    EXPECT_TRUE(blank.errorLines.isEmpty()) << blank.errorLines.join(u'\n').toStdString();
    EXPECT_TRUE(bad.page == blank.page);
    EXPECT_EQ(Names().filter(QStringLiteral("pipe.bmp")).size(), 1) << "the FIFO stays as it was";
    EXPECT_EQ(NodeType(Path(QStringLiteral("pipe.bmp"))), S_IFIFO);
}

// The frames lie on the page: the same block with a whole bitmap in the first
// frame draws it.
TEST_F(PagePictures, AWholeBitmapInTheSameFramesIsDrawn)
{
    QImage image(60, 60, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 90));
    ASSERT_TRUE(image.save(Path(QStringLiteral("whole.bmp")), "BMP"));
    const QStringList pictures{Path(QStringLiteral("whole.bmp"))};
    const PageRun drawn = RunPage(Block(pictures, WakuKind::PictureStretched()), QStringLiteral("drawn"));
    const PageRun blank = RunPage(Block(pictures, QString()), QStringLiteral("blank"));
    ASSERT_TRUE(drawn.finished && blank.finished);
    EXPECT_EQ(drawn.status, 0);
    EXPECT_TRUE(drawn.errorLines.isEmpty()) << drawn.errorLines.join(u'\n').toStdString();
    ASSERT_EQ(drawn.page.size(), blank.page.size());
    int picturePixels = 0;
    for (int y = 0; y < drawn.page.height(); ++y)
        for (int x = 0; x < drawn.page.width(); ++x)
            if (drawn.page.pixel(x, y) != blank.page.pixel(x, y))
                picturePixels += drawn.page.pixelColor(x, y) == QColor(200, 40, 90);
    EXPECT_GT(picturePixels, 100);
}

} // namespace
