// Frames drawn into images: where the ink of texts and pictures lands, the
// vertical forms of Japanese text, metafiles, and pictures that cannot be
// loaded. Tolerances instead of golden images: fonts may differ slightly.
#include "kikanmei/VerticalForms.h"
#include "kikanmei/WakuDrawing.h"
#include "pictures/Pictures.h"
#include "platform/Fonts.h"
#include "support/FakePlatform.h"

#include "support/MetafileSamples.h"
#include "support/PictureProbes.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace ralvo;

namespace {

QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

using test::InkBounds;

bool IsRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }
bool IsGreen(QRgb p) { return qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60; }
bool IsBlue(QRgb p) { return qBlue(p) > 150 && qRed(p) < 100 && qGreen(p) < 100; }

void SaveShot(const QImage &image, const QString &name)
{
    QDir().mkpath(QStringLiteral("kikanmei-shots"));
    image.save(QStringLiteral("kikanmei-shots/") + name + QStringLiteral(".png"));
}

class KikanmeiDrawing : public ::testing::Test
{
protected:
    void SetUp() override { platform::InstallFontSubstitutions(); }

    WakuRecord TextFrame(const QString &kind, const QString &text, const QString &face = QStringLiteral("ＭＳ 明朝"))
    {
        WakuRecord frame = WakuRecord::WithEdges(0, 0, 0, 0);
        frame.Kind = kind;
        frame.Content = text;
        frame.FontName = face;
        frame.FontHeight = QStringLiteral("1");
        frame.CharGap = QStringLiteral("0");
        frame.Color = QStringLiteral("0");
        return frame;
    }

    void Draw(QImage &image, WakuRecord &frame, WakuEdges edges, double em, double gap, int inset)
    {
        QPainter painter(&image);
        DrawWaku(frame, WakuTarget{&painter, edges, em, gap, inset, std::nullopt}, fake.messages, fake.sounds);
    }

    test::FakePlatform fake;
};

TEST_F(KikanmeiDrawing, HorizontalCharactersStartAtTheirOffsets)
{
    // The worked example: canvas 1000 × 229, edges (100, 20)-(500, 80), em 58,
    // gap 155.491: cells at x = 101, 285 and 470, y = 21.
    QImage image = WhiteImage(1000, 229);
    WakuRecord frame = TextFrame(QStringLiteral("L"), QStringLiteral("ABC"));
    Draw(image, frame, {100, 20, 500, 80}, 58.0, 155.491, 1);
    SaveShot(image, QStringLiteral("horizontal"));
    const std::vector<int> cells{101, 285, 470};
    for (int cell : cells) {
        const QRect ink = InkBounds(image, QRect(cell - 20, 0, 80, 229));
        ASSERT_FALSE(ink.isEmpty()) << cell;
        EXPECT_GE(ink.left(), cell);
        EXPECT_LE(ink.left(), cell + 12);
        EXPECT_LE(ink.right(), cell + 29); // half-width: half a cell
        EXPECT_GE(ink.top(), 21);
        EXPECT_LE(ink.bottom(), 21 + 58);
        EXPECT_GE(ink.height(), 30); // a capital letter, most of the cell high
    }
    EXPECT_TRUE(InkBounds(image, QRect(0, 0, 100, 229)).isEmpty());
}

TEST_F(KikanmeiDrawing, TextColourAndOverride)
{
    QImage image = WhiteImage(200, 100);
    WakuRecord frame = TextFrame(QStringLiteral("L"), QStringLiteral("■"));
    frame.Color = QString::number(MakeColour(255, 0, 0));
    Draw(image, frame, {0, 0, 100, 100}, 60, 0, 0);
    EXPECT_FALSE(InkBounds(image, image.rect(), IsRed).isEmpty());

    QImage black = WhiteImage(200, 100);
    QPainter painter(&black);
    DrawWaku(frame, WakuTarget{&painter, {0, 0, 100, 100}, 60, 0, 0, Colour(0)}, fake.messages, fake.sounds);
    painter.end();
    EXPECT_TRUE(InkBounds(black, black.rect(), IsRed).isEmpty());
    EXPECT_FALSE(InkBounds(black, black.rect()).isEmpty());
}

TEST_F(KikanmeiDrawing, VerticalTextHangsLeftOfTheRightEdge)
{
    // ０３－１２ in an inner area 38 × 198: em 38, gap 2, cells every 40 pixels.
    QImage image = WhiteImage(200, 240);
    WakuRecord frame = TextFrame(QStringLiteral("P"), QStringLiteral("０３－１２"), QStringLiteral("ＭＳ ゴシック"));
    Draw(image, frame, {100, 10, 140, 210}, 38, 2, 1);
    SaveShot(image, QStringLiteral("vertical-digits"));
    const QRect all = InkBounds(image, image.rect());
    EXPECT_GE(all.left(), 139 - 38);
    EXPECT_LE(all.right(), 139);
    EXPECT_GE(all.top(), 11);
    EXPECT_LE(all.bottom(), 11 + 198);
    // The middle character (cell from y = 91) is a vertical stroke.
    const QRect dash = InkBounds(image, QRect(101, 91, 38, 38));
    ASSERT_FALSE(dash.isEmpty());
    EXPECT_GT(dash.height(), 2 * dash.width());
    // The digits stand upright: taller than wide.
    const QRect zero = InkBounds(image, QRect(101, 11, 38, 38));
    EXPECT_GT(zero.height(), zero.width());
}

TEST_F(KikanmeiDrawing, VerticalFormsOfJapanesePunctuation)
{
    // Long vowel mark and bracket turn; the full stop moves to the upper right.
    QImage image = WhiteImage(120, 260);
    WakuRecord frame = TextFrame(QStringLiteral("P"), QStringLiteral("ー「。"), QStringLiteral("ＭＳ ゴシック"));
    Draw(image, frame, {40, 0, 102, 242}, 60, 0, 1);
    SaveShot(image, QStringLiteral("vertical-forms"));
    const QRect bar = InkBounds(image, QRect(41, 1, 60, 60));
    ASSERT_FALSE(bar.isEmpty());
    EXPECT_GT(bar.height(), 3 * bar.width());
    const QRect bracket = InkBounds(image, QRect(41, 61, 60, 60));
    ASSERT_FALSE(bracket.isEmpty());
    EXPECT_GT(bracket.width(), bracket.height()); // 「 lies on its side: ﹁
    const QRect stop = InkBounds(image, QRect(41, 121, 60, 60));
    ASSERT_FALSE(stop.isEmpty());
    EXPECT_GT(stop.center().x(), 41 + 30);
    EXPECT_LT(stop.center().y(), 121 + 30);

    QImage flat = WhiteImage(260, 80);
    WakuRecord horizontal = TextFrame(QStringLiteral("L"), QStringLiteral("ー"), QStringLiteral("ＭＳ ゴシック"));
    Draw(flat, horizontal, {0, 0, 100, 80}, 60, 0, 1);
    const QRect flatBar = InkBounds(flat, flat.rect());
    EXPECT_GT(flatBar.width(), 3 * flatBar.height());
}

TEST_F(KikanmeiDrawing, HalfWidthCharactersLieTurnedClockwise)
{
    QImage image = WhiteImage(120, 200);
    WakuRecord frame = TextFrame(QStringLiteral("P"), QStringLiteral("1病"), QStringLiteral("ＭＳ ゴシック"));
    Draw(image, frame, {40, 0, 102, 200}, 60, 0, 1);
    SaveShot(image, QStringLiteral("vertical-turned"));
    // "1" takes half a cell along the column and lies on its side.
    const QRect one = InkBounds(image, QRect(41, 1, 60, 30));
    ASSERT_FALSE(one.isEmpty());
    EXPECT_GT(one.width(), 2 * one.height());
    // Turned clockwise, its foot is on the left of the column and its top on the right.
    EXPECT_GE(one.left(), 41);
    EXPECT_LE(one.right(), 101);
    const QRect kanji = InkBounds(image, QRect(41, 31, 60, 60));
    EXPECT_FALSE(kanji.isEmpty());
}

TEST_F(KikanmeiDrawing, NoTextWithoutAFitOrWithATinyCell)
{
    QImage image = WhiteImage(200, 100);
    WakuRecord unfitted = TextFrame(QStringLiteral("L"), QStringLiteral("ABC"));
    unfitted.FontHeight.clear();
    Draw(image, unfitted, {0, 0, 200, 100}, 40, 0, 1);
    WakuRecord tiny = TextFrame(QStringLiteral("P"), QStringLiteral("ABC"));
    Draw(image, tiny, {0, 0, 200, 100}, 0.4, 0, 1);
    Draw(image, tiny, {0, 0, 200, 100}, -20, 0, 1);
    EXPECT_TRUE(InkBounds(image, image.rect()).isEmpty());
}

class KikanmeiPictures : public KikanmeiDrawing
{
protected:
    QString Path(const QString &name) const { return dir.filePath(name); }

    WakuRecord PictureFrame(const QString &kind, const QString &path)
    {
        WakuRecord frame = WakuRecord::WithEdges(0, 0, 0, 0);
        frame.Kind = kind;
        frame.Content = path;
        return frame;
    }

    QTemporaryDir dir;
};

TEST_F(KikanmeiPictures, BitmapKeepsItsAspectOrStretches)
{
    QImage bitmap(200, 100, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    ASSERT_TRUE(bitmap.save(Path(QStringLiteral("logo.BMP")), "BMP"));

    struct Case
    {
        QString kind;
        WakuEdges edges;
        QRect expected;
    };
    const std::vector<Case> cases{
        {QStringLiteral("F"), {10, 20, 312, 122}, QRect(111, 21, 200, 100)}, // inner 300 × 100
        {QStringLiteral("F"), {10, 20, 112, 322}, QRect(11, 21, 100, 50)},   // inner 100 × 300
        {QStringLiteral("V"), {10, 20, 112, 322}, QRect(11, 21, 100, 300)},
    };
    for (const Case &c : cases) {
        QImage image = WhiteImage(400, 400);
        WakuRecord frame = PictureFrame(c.kind, Path(QStringLiteral("logo.BMP")));
        Draw(image, frame, c.edges, 0, 0, 0);
        const QRect red = InkBounds(image, image.rect(), IsRed);
        EXPECT_EQ(red, c.expected) << c.kind.toStdString();
        EXPECT_EQ(frame.Kind, c.kind);
    }
    EXPECT_EQ(fake.messages.shown.size(), 0u);
    EXPECT_EQ(fake.sounds.beeps, 0);
}

TEST_F(KikanmeiPictures, IconUsesItsLargestImage)
{
    QImage icon(32, 16, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    ASSERT_TRUE(icon.save(Path(QStringLiteral("mark.ico")), "ICO"));
    QImage image = WhiteImage(200, 200);
    WakuRecord frame = PictureFrame(QStringLiteral("F"), Path(QStringLiteral("mark.ico")));
    Draw(image, frame, {0, 0, 102, 102}, 0, 0, 0);
    EXPECT_EQ(InkBounds(image, image.rect(), IsRed), QRect(1, 1, 100, 50));
}

TEST_F(KikanmeiPictures, MissingPictureIsReportedOnceThenUnreadable)
{
    KikanmeiBlock block;
    block.AppendFrame(PictureFrame(QStringLiteral("F"), Path(QStringLiteral("gone.bmp"))));
    QImage image = WhiteImage(100, 100);
    QPainter painter(&image);
    const WakuTarget target{&painter, {0, 0, 100, 100}, 0, 0, 0, std::nullopt};
    DrawWaku(block, 0, target, fake.messages, fake.sounds);
    EXPECT_EQ(fake.sounds.beeps, 1);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown.front(), QStringLiteral("グラフィックファイルを読み込めませんでした"));
    EXPECT_EQ(block.Frame(0).Kind, QStringLiteral("Non"));
    EXPECT_EQ(block.Frame(0).Content, Path(QStringLiteral("gone.bmp")));

    DrawWaku(block, 0, target, fake.messages, fake.sounds);
    EXPECT_EQ(fake.sounds.beeps, 1);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    painter.end();
    EXPECT_TRUE(InkBounds(image, image.rect()).isEmpty());
}

TEST_F(KikanmeiPictures, UnknownExtensionsAndDamagedFilesAreUnreadable)
{
    QImage bitmap(8, 8, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    ASSERT_TRUE(bitmap.save(Path(QStringLiteral("logo.gif.bmp")), "BMP"));
    QFile::copy(Path(QStringLiteral("logo.gif.bmp")), Path(QStringLiteral("logo.gif")));
    QFile damaged(Path(QStringLiteral("half.bmp")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(test::ReadAll(Path(QStringLiteral("logo.gif.bmp"))).left(20));
    damaged.close();

    for (const QString &name : {QStringLiteral("logo.gif"), QStringLiteral("half.bmp"), QStringLiteral("noext")}) {
        QImage image = WhiteImage(50, 50);
        WakuRecord frame = PictureFrame(QStringLiteral("V"), Path(name));
        Draw(image, frame, {0, 0, 50, 50}, 0, 0, 0);
        EXPECT_EQ(frame.Kind, QStringLiteral("Non")) << name.toStdString();
    }
    EXPECT_EQ(fake.sounds.beeps, 3);
}

// The sample metafiles drawn 1:1 into an inner area of 1000 × 500.
void ExpectSampleDrawn(const QImage &image)
{
    EXPECT_TRUE(IsRed(image.pixel(250, 250)));
    EXPECT_TRUE(IsGreen(image.pixel(750, 125)));
    EXPECT_FALSE(IsRed(image.pixel(750, 400)));
    const QRect red = InkBounds(image, image.rect(), IsRed);
    EXPECT_NEAR(red.left(), 1, 2);
    EXPECT_NEAR(red.right(), 501, 3);
    const QRect green = InkBounds(image, image.rect(), IsGreen);
    EXPECT_NEAR(green.left(), 501, 3);
    EXPECT_NEAR(green.bottom(), 251, 3);
    const QRect text = InkBounds(image, QRect(520, 270, 480, 230), IsBlue);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_NEAR(text.left(), 551, 20);
    EXPECT_GT(text.width(), 200); // two full-width characters of about 150
    EXPECT_GT(text.height(), 100);
}

TEST_F(KikanmeiPictures, WmfSampleIsPlayedIntoItsFrame)
{
    const QByteArray wmf = test::WriteSampleWmf(Path(QStringLiteral("sample.WMF")));
    ASSERT_GT(wmf.size(), 100);
    QImage image = WhiteImage(1002, 502);
    WakuRecord frame = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("sample.WMF")));
    Draw(image, frame, {0, 0, 1002, 502}, 0, 0, 0);
    SaveShot(image, QStringLiteral("sample-wmf"));
    EXPECT_EQ(frame.Kind, QStringLiteral("V"));
    ExpectSampleDrawn(image);

    // Kept aspect in a square: 300 × 150 at the top.
    QImage square = WhiteImage(302, 302);
    WakuRecord fixed = PictureFrame(QStringLiteral("F"), Path(QStringLiteral("sample.WMF")));
    Draw(square, fixed, {0, 0, 302, 302}, 0, 0, 0);
    const QRect all = InkBounds(square, square.rect());
    EXPECT_NEAR(all.bottom(), 151, 3);
    EXPECT_NEAR(all.right(), 300, 3);
}

TEST_F(KikanmeiPictures, WmfWindowWithoutPlaceableHeaderMayRunUpwards)
{
    test::WriteShapesWmf(Path(QStringLiteral("shapes.wmf")));
    QImage image = WhiteImage(202, 102);
    WakuRecord frame = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("shapes.wmf")));
    Draw(image, frame, {0, 0, 202, 102}, 0, 0, 0);
    SaveShot(image, QStringLiteral("shapes-wmf"));
    ASSERT_EQ(frame.Kind, QStringLiteral("V"));
    EXPECT_TRUE(IsGreen(image.pixel(51, 80)));  // the triangle's wide base is at the bottom
    EXPECT_FALSE(IsGreen(image.pixel(11, 20))); // and its tip at the top
    EXPECT_TRUE(IsBlue(image.pixel(151, 51)));
    EXPECT_FALSE(IsBlue(image.pixel(151, 90)));
    // The line drawn after the restored state near the bottom, in black.
    const QRect line = InkBounds(image, QRect(100, 90, 102, 12));
    EXPECT_NEAR(line.top(), 96, 2);
    EXPECT_FALSE(IsGreen(image.pixel(150, 96)));
}

TEST_F(KikanmeiPictures, EmfSampleIsDrawnIntoItsFrame)
{
    const QByteArray emf = test::WriteSampleEmf(Path(QStringLiteral("sample.emf")));
    ASSERT_GT(emf.size(), 100);
    QImage image = WhiteImage(1002, 502);
    WakuRecord frame = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("sample.emf")));
    Draw(image, frame, {0, 0, 1002, 502}, 0, 0, 0);
    SaveShot(image, QStringLiteral("sample-emf"));
    EXPECT_EQ(frame.Kind, QStringLiteral("V"));
    ExpectSampleDrawn(image);
}

TEST_F(KikanmeiPictures, EmfTextGivenAsGlyphIndexesIsLeftOut)
{
    // The converter would shut fontconfig down under our feet for such text.
    QByteArray emf = test::WriteSampleEmf(Path(QStringLiteral("sample.emf")));
    bool marked = false;
    for (qsizetype off = 0; off + 8 <= emf.size();) {
        const quint32 type = qFromLittleEndian<quint32>(emf.constData() + off);
        const quint32 size = qFromLittleEndian<quint32>(emf.constData() + off + 4);
        if (type == 84) { // EMR_EXTTEXTOUTW: its text's options at byte 52
            emf[off + 52] = char(emf[off + 52] | 0x10);
            marked = true;
        }
        off += size;
    }
    ASSERT_TRUE(marked);
    QFile file(Path(QStringLiteral("glyphs.emf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(emf);
    file.close();
    QImage image = WhiteImage(1002, 502);
    WakuRecord frame = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("glyphs.emf")));
    Draw(image, frame, {0, 0, 1002, 502}, 0, 0, 0);
    EXPECT_EQ(frame.Kind, QStringLiteral("V"));
    EXPECT_TRUE(IsRed(image.pixel(250, 250)));
    EXPECT_TRUE(IsGreen(image.pixel(750, 125)));
    EXPECT_TRUE(InkBounds(image, QRect(520, 270, 480, 230), IsBlue).isEmpty());
}

TEST_F(KikanmeiPictures, TruncatedOrGarbledMetafilesAreUnreadable)
{
    const QByteArray wmf = test::WriteSampleWmf(Path(QStringLiteral("sample.wmf")));
    const QByteArray emf = test::WriteSampleEmf(Path(QStringLiteral("sample.emf")));
    auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    };
    QByteArray garbledWmf = wmf;
    // The first record after the header claims to be longer than the file.
    const int firstRecord = 22 + 18;
    garbledWmf[firstRecord + 2] = char(0x7F);
    QByteArray garbledEmf = emf;
    garbledEmf[4] = char(0xFF); // header size
    garbledEmf[5] = char(0xFF);
    const std::vector<QString> paths{
        write(QStringLiteral("cut.wmf"), wmf.left(wmf.size() / 2)),
        write(QStringLiteral("cut-at-record.wmf"), wmf.left(wmf.size() - 6)), // no end record
        write(QStringLiteral("garbled.wmf"), garbledWmf),
        write(QStringLiteral("cut.emf"), emf.left(emf.size() / 2)),
        write(QStringLiteral("garbled.emf"), garbledEmf),
        write(QStringLiteral("empty.emf"), QByteArray()),
        write(QStringLiteral("text.wmf"), QByteArray("not a metafile at all")),
    };
    for (const QString &path : paths) {
        QImage image = WhiteImage(100, 100);
        WakuRecord frame = PictureFrame(QStringLiteral("F"), path);
        Draw(image, frame, {0, 0, 100, 100}, 0, 0, 0);
        EXPECT_EQ(frame.Kind, QStringLiteral("Non")) << path.toStdString();
        EXPECT_TRUE(InkBounds(image, image.rect()).isEmpty()) << path.toStdString();
    }
    EXPECT_EQ(fake.sounds.beeps, int(paths.size()));
    EXPECT_EQ(fake.messages.shown.size(), paths.size());
}

// A picture cut short, drawn in a frame: unreadable, with the beep and the
// message (tests/pictures cuts every format at every length).
TEST_F(KikanmeiPictures, PictureCutShortIsReportedAndUnreadable)
{
    QImage rgb(13, 7, QImage::Format_RGB32);
    rgb.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    rgb.save(&buffer, "BMP");
    QFile cut(Path(QStringLiteral("half.BMP")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(bmp.left(bmp.size() / 2));
    cut.close();
    QImage image = WhiteImage(60, 60);
    WakuRecord frame = PictureFrame(QStringLiteral("V"), cut.fileName());
    Draw(image, frame, {0, 0, 60, 60}, 0, 0, 0);
    EXPECT_EQ(frame.Kind, QStringLiteral("Non"));
    EXPECT_TRUE(InkBounds(image, image.rect()).isEmpty());
    EXPECT_EQ(fake.sounds.beeps, 1);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown.front(), QStringLiteral("グラフィックファイルを読み込めませんでした"));
}

// SVG is no picture format of the block (its references would read other
// files, a FIFO among them); a FIFO named as a picture is never waited on.
TEST_F(KikanmeiPictures, SvgAndFifoPicturesAreUnreadable)
{
    const QString fifo = Path(QStringLiteral("pipe.bmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile svg(Path(QStringLiteral("logo.svg")));
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
              "width='10' height='10'><rect width='10' height='10' fill='red'/>"
              "<image width='10' height='10' xlink:href='"
              + QFile::encodeName(fifo) + "'/></svg>");
    svg.close();
    for (const QString &path : {svg.fileName(), fifo}) {
        QImage image = WhiteImage(50, 50);
        WakuRecord frame = PictureFrame(QStringLiteral("V"), path);
        Draw(image, frame, {0, 0, 50, 50}, 0, 0, 0);
        EXPECT_EQ(frame.Kind, QStringLiteral("Non")) << path.toStdString();
        EXPECT_TRUE(InkBounds(image, image.rect()).isEmpty());
    }
    EXPECT_EQ(fake.sounds.beeps, 2);
}

// A metafile whose drawing would paint the picture over many times (wide
// pens) is unreadable; a few such strokes still draw.
TEST_F(KikanmeiPictures, CostlyMetafileIsUnreadable)
{
    test::WriteWidePenWmf(Path(QStringLiteral("costly.wmf")), 2000);
    test::WriteWidePenWmf(Path(QStringLiteral("cheap.wmf")), 3);
    QElapsedTimer clock;
    clock.start();
    QImage page = WhiteImage(2000, 2000);
    WakuRecord costly = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("costly.wmf")));
    Draw(page, costly, {0, 0, 2000, 2000}, 0, 0, 0);
    EXPECT_EQ(costly.Kind, QStringLiteral("Non"));
    EXPECT_LT(clock.elapsed(), 5000);
    QImage image = WhiteImage(102, 102);
    WakuRecord cheap = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("cheap.wmf")));
    Draw(image, cheap, {0, 0, 102, 102}, 0, 0, 0);
    EXPECT_EQ(cheap.Kind, QStringLiteral("V"));
    EXPECT_TRUE(IsBlue(image.pixel(50, 50)));
    // Nothing is drawn outside the picture's frame.
    EXPECT_FALSE(IsBlue(image.pixel(0, 0)));
}

// An enhanced metafile with a few wide strokes, or a few fills a world
// transform blows up, still draws in its frame (tests/pictures finds the
// costly ones unreadable).
TEST_F(KikanmeiPictures, EnhancedMetafileWithAFewCostlyShapesDraws)
{
    QImage image = WhiteImage(102, 102);
    test::WriteWidePenEmf(Path(QStringLiteral("cheap.emf")), 3);
    WakuRecord cheap = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("cheap.emf")));
    Draw(image, cheap, {0, 0, 102, 102}, 0, 0, 0);
    EXPECT_EQ(cheap.Kind, QStringLiteral("V"));
    EXPECT_TRUE(IsBlue(image.pixel(50, 50)));
    image = WhiteImage(102, 102);
    test::WriteScaledSquaresEmf(Path(QStringLiteral("few.emf")), 3, 1000);
    WakuRecord few = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("few.emf")));
    Draw(image, few, {0, 0, 102, 102}, 0, 0, 0);
    EXPECT_EQ(few.Kind, QStringLiteral("V"));
    EXPECT_TRUE(IsRed(image.pixel(50, 50)));
    EXPECT_EQ(fake.messages.shown.size(), 0u);
}

// An enhanced metafile may draw beyond its own bounds: nothing of it lands
// outside the picture's place.
TEST_F(KikanmeiPictures, EnhancedMetafileStaysInsideItsFrame)
{
    test::WriteOverflowingEmf(Path(QStringLiteral("over.emf")));
    QImage image = WhiteImage(200, 200);
    WakuRecord frame = PictureFrame(QStringLiteral("V"), Path(QStringLiteral("over.emf")));
    Draw(image, frame, {49, 49, 101, 101}, 0, 0, 0);
    EXPECT_EQ(frame.Kind, QStringLiteral("V"));
    EXPECT_EQ(InkBounds(image, image.rect(), IsRed), QRect(50, 50, 50, 50));
}

} // namespace

namespace {

TEST_F(KikanmeiDrawing, MixedVerticalColumnStaysInItsFrame)
{
    // Small kana, long vowel marks, brackets, a wave dash, half-width digits.
    const QString text = QStringLiteral("「らるぼ」クリニック　ｼｮｯﾌﾟ～０３－1234…。");
    WakuRecord frame = TextFrame(QStringLiteral("P"), text, QStringLiteral("ＭＳ 明朝"));
    frame.Left = QStringLiteral("0");
    frame.Top = QStringLiteral("0");
    frame.Right = QStringLiteral("4000");
    frame.Bottom = QStringLiteral("10000");
    FitWakuText(frame, 200, 900);
    const auto canvas = BlockToPixels::ForCanvas(200, 900);
    const WakuEdges edges = *canvas.Edges(frame);
    QImage image = WhiteImage(200, 900);
    Draw(image, frame, edges, canvas.Em(*ParseWakuInteger(frame.FontHeight)),
         canvas.Gap(*ParseWakuInteger(frame.CharGap)), 1);
    SaveShot(image, QStringLiteral("vertical-mixed"));
    const QRect ink = InkBounds(image, image.rect());
    EXPECT_GE(ink.left(), edges.Left);
    EXPECT_LE(ink.right(), edges.Right);
    EXPECT_GE(ink.top(), edges.Top);
    EXPECT_LE(ink.bottom(), edges.Bottom);
}

} // namespace

namespace {

TEST_F(KikanmeiDrawing, VerticalTextOnAHighResolutionPdfPage)
{
    // 600 dpi: em 380 and gap 20 device units, column right edge at x = 1400.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        WakuRecord frame =
            TextFrame(QStringLiteral("P"), QStringLiteral("０３－１２"), QStringLiteral("ＭＳ ゴシック"));
        DrawWaku(frame, WakuTarget{&painter, {1000, 1000, 1400, 3000}, 380, 20, 0, std::nullopt}, fake.messages,
                 fake.sounds);
    }
    // Rasterised at 60 dpi: a tenth of the device units.
    const QString prefix = dir.filePath(QStringLiteral("page"));
    const int status = QProcess::execute(QStringLiteral("pdftoppm"),
                                         {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"),
                                          QStringLiteral("-singlefile"), pdf, prefix});
    if (status < 0)
        GTEST_SKIP() << "pdftoppm is not installed";
    ASSERT_EQ(status, 0);
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    SaveShot(page.copy(80, 80, 80, 240), QStringLiteral("vertical-pdf"));
    const QRect ink = InkBounds(page, page.rect());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 102 - 1);
    EXPECT_LE(ink.right(), 140);
    EXPECT_GE(ink.top(), 100 - 1);
    EXPECT_LE(ink.bottom(), 298 + 1);
    const QRect dash = InkBounds(page, QRect(102, 180, 38, 38));
    ASSERT_FALSE(dash.isEmpty());
    EXPECT_GT(dash.height(), 2 * dash.width());
}

} // namespace

namespace {

TEST_F(KikanmeiDrawing, VeryLongDamagedTextDrawsOnlyWhatShows)
{
    // 30 000 characters at 20 pixels each run far past the image; only the
    // visible ones are drawn, so this stays quick.
    QImage image = WhiteImage(300, 60);
    WakuRecord frame = TextFrame(QStringLiteral("L"), QString(30000, QChar(u'病')), QStringLiteral("ＭＳ ゴシック"));
    Draw(image, frame, {0, 0, 300, 60}, 20, 0, 1);
    const QRect ink = InkBounds(image, image.rect());
    EXPECT_LE(ink.left(), 4);
    EXPECT_GE(ink.right(), 290);
    WakuRecord vertical = TextFrame(QStringLiteral("P"), QString(30000, QChar(u'A')), QStringLiteral("ＭＳ ゴシック"));
    QImage column = WhiteImage(60, 300);
    Draw(column, vertical, {0, 0, 60, 300}, 20, 0, 1);
    EXPECT_GE(InkBounds(column, column.rect()).bottom(), 290);
}

} // namespace

namespace {

// A widget that draws one vertical text frame down its whole height.
class FrameWidget : public QWidget
{
public:
    FrameWidget(WakuRecord frame, test::FakePlatform &fake, QWidget *parent)
        : QWidget(parent), m_frame(std::move(frame)), m_fake(fake)
    {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        DrawWaku(m_frame, WakuTarget{&painter, WakuEdges{0, 0, width(), height()}, 20, 0, 1, std::nullopt},
                 m_fake.messages, m_fake.sounds);
    }

private:
    WakuRecord m_frame;
    test::FakePlatform &m_fake;
};

} // namespace

// A canvas painted inside its window (offset in the window's surface) shows
// the whole column, not only the part that would fit above the offset.
TEST_F(KikanmeiDrawing, VerticalTextInAWidgetInsideItsWindowIsNotCut)
{
    QWidget window;
    window.resize(100, 500);
    auto *canvas = new FrameWidget(TextFrame(QStringLiteral("P"), QStringLiteral("あいうえおかきくけこさしすせそ")),
                                   fake, &window);
    canvas->setGeometry(0, 150, 100, 340);
    // Grabbing the window paints the canvas at its offset in the window.
    const QImage shot = window.grab().toImage();
    const QRect ink = InkBounds(shot, canvas->geometry());
    ASSERT_FALSE(ink.isEmpty());
    // 15 characters of 20 pixels run down to about 300 pixels below the canvas top.
    EXPECT_GT(ink.bottom(), 150 + 270);
}

// The vertical forms of a face are one shared set at every size, and give
// the glyphs a set of its own gives.
TEST_F(KikanmeiDrawing, VerticalFormsAreSharedAcrossSizes)
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(12);
    QRawFont small = QRawFont::fromFont(font);
    ASSERT_TRUE(small.isValid());
    QRawFont large = small;
    large.setPixelSize(80);
    const platform::VerticalForms &shared = platform::VerticalForms::Of(small);
    EXPECT_EQ(&shared, &platform::VerticalForms::Of(large));
    const platform::VerticalForms own(large);
    for (const QString &ch : {QStringLiteral("ー"), QStringLiteral("「"), QStringLiteral("。"), QStringLiteral("あ")}) {
        EXPECT_EQ(shared.Glyph(ch), own.Glyph(ch)) << ch.toStdString();
        EXPECT_EQ(shared.Glyph(ch), own.Glyph(ch)) << ch.toStdString(); // a second, remembered answer
        EXPECT_NE(shared.Glyph(ch), 0u);
    }
    EXPECT_NE(shared.Glyph(QStringLiteral("ー")), small.glyphIndexesForString(QStringLiteral("ー")).value(0));
}
