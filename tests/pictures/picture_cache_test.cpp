#include "pictures/PictureCache.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace ralvo::pictures;

namespace {

// A bitmap of one colour (every one of a width has the same size).
void WriteBitmap(const QString &path, QRgb colour, int width = 16)
{
    QImage image(width, 16, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(path, "BMP"));
}

QRgb DrawnColour(const Picture &picture)
{
    QImage out(4, 4, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    picture.Draw(painter, QRectF(0, 0, 4, 4));
    painter.end();
    return out.pixel(2, 2);
}

// Sets the file's modification time, as a copy keeping times would.
void SetModified(const QString &path, std::time_t seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

std::timespec Later()
{
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    now.tv_sec += 60;
    return now;
}

struct Folder
{
    QTemporaryDir dir;
    QString File(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST(PictureCache, AnUnchangedFileIsDecodedOnce)
{
    Folder folder;
    const QString path = folder.File("logo.bmp");
    WriteBitmap(path, qRgb(200, 0, 0));
    PictureCache cache(1 << 20, 8, &Later);
    for (int i = 0; i < 3; ++i) {
        const auto picture = cache.Load(path);
        ASSERT_TRUE(picture);
        EXPECT_EQ(DrawnColour(*picture), qRgb(200, 0, 0));
    }
    EXPECT_EQ(cache.Decodes(), 1);
}

TEST(PictureCache, AFileChangedInAnyWayIsReadAgain)
{
    Folder folder;
    const QString path = folder.File("logo.bmp");
    WriteBitmap(path, qRgb(200, 0, 0));
    SetModified(path, 1000000000);
    PictureCache cache(1 << 20, 8, &Later);
    ASSERT_TRUE(cache.Load(path));

    // Rewritten in place, then given its old time back.
    WriteBitmap(path, qRgb(0, 200, 0), 20);
    SetModified(path, 1000000000);
    auto picture = cache.Load(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(DrawnColour(*picture), qRgb(0, 200, 0));

    // Replaced by another file of the same size.
    const QString other = folder.File("other.bmp");
    WriteBitmap(other, qRgb(0, 0, 200));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::rename(other, path));
    picture = cache.Load(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(DrawnColour(*picture), qRgb(0, 0, 200));

    // Gone, or damaged: nothing, not the picture it held before.
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_FALSE(cache.Load(path));
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("BM not a bitmap");
    damaged.close();
    EXPECT_FALSE(cache.Load(path));
    EXPECT_EQ(cache.Decodes(), 5);
}

TEST(PictureCache, AFileJustWrittenIsNotKept)
{
    // Two writes within one tick of the file clock can leave every time and
    // the size as they were: a file that new is decoded at every load.
    Folder folder;
    const QString path = folder.File("logo.bmp");
    WriteBitmap(path, qRgb(200, 0, 0));
    PictureCache cache;
    ASSERT_TRUE(cache.Load(path));
    WriteBitmap(path, qRgb(0, 200, 0));
    const auto picture = cache.Load(path);
    ASSERT_TRUE(picture);
    EXPECT_EQ(DrawnColour(*picture), qRgb(0, 200, 0));
    EXPECT_EQ(cache.Decodes(), 2);
}

TEST(PictureCache, KeepsTheMostRecentlyUsedWithinItsBounds)
{
    Folder folder;
    const QString a = folder.File("a.bmp"), b = folder.File("b.bmp"), c = folder.File("c.bmp");
    for (const QString &path : {a, b, c})
        WriteBitmap(path, qRgb(10, 20, 30));
    PictureCache byCount(1 << 20, 2, &Later);
    for (const QString &path : {a, b, a, c, a, b}) // c pushes b out, b pushes c out
        ASSERT_TRUE(byCount.Load(path));
    EXPECT_EQ(byCount.Decodes(), 4);

    PictureCache byBytes(16 * 16 * 4, 8, &Later); // room for one
    for (const QString &path : {a, b, a})
        ASSERT_TRUE(byBytes.Load(path));
    EXPECT_EQ(byBytes.Decodes(), 3);

    EXPECT_FALSE(byCount.Load(folder.File("notes.txt")));
    EXPECT_FALSE(byCount.Load(QDir(folder.dir.path()).filePath(QStringLiteral("missing.png"))));
}
