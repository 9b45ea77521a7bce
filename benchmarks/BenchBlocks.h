#pragma once

// Institution blocks for the page benchmarks and the output comparison: text
// frames, horizontal and vertical, and picture frames, laid out on a grid
// over the whole block, as a clinic's block would hold them.

#include "kikanmei/KikanmeiBlock.h"
#include "platform/Platform.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>

namespace ralvo::bench {

// Platform services that stay silent: the drawings are timed, not heard.
class NoMessages final : public platform::Messages
{
public:
    void ShowMessage(const QString &) override {}
    Answer Ask(const Question &q) override { return q.defaultAnswer; }
};

class NoSounds final : public platform::Sounds
{
public:
    void Beep() override {}
    void Exclamation() override {}
};

enum class FrameMix { Horizontal, Vertical, Picture, Mixed };

// Two pictures written into `folder`: a 64 × 64 bitmap and a 320 × 200 PNG.
inline void WritePictures(const QString &folder)
{
    QImage bitmap(64, 64, QImage::Format_RGB32);
    QImage png(320, 200, QImage::Format_RGB32);
    for (QImage *image : {&bitmap, &png}) {
        image->fill(Qt::white);
        QPainter painter(image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(200, 40, 90));
        painter.drawEllipse(image->rect().adjusted(4, 4, -4, -4));
        painter.setBrush(QColor(20, 120, 200));
        painter.drawRect(image->width() / 4, image->height() / 4, image->width() / 2, image->height() / 3);
    }
    bitmap.save(QDir(folder).filePath(QStringLiteral("logo.bmp")));
    png.save(QDir(folder).filePath(QStringLiteral("map.png")));
}

// `count` frames of `mix` on a grid of 10 columns. A mixed block cycles
// horizontal, vertical, fixed-aspect picture, stretched picture.
inline KikanmeiBlock MakeBlock(FrameMix mix, int count, const QString &pictureFolder)
{
    const QString texts[] = {
        QStringLiteral("医療法人社団　さくら会"),
        QStringLiteral("さくらレディースクリニック"),
        QStringLiteral("〒123-4567　東京都千代田区１－２－３"),
        QStringLiteral("電話（03）1234-5678"),
        QStringLiteral("診療時間　９：００～１８：００"),
        QStringLiteral("院長　山田　花子"),
    };
    const QString faces[] = {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ 明朝"),
                             QStringLiteral("ＭＳ Ｐゴシック")};
    KikanmeiBlock block;
    const int columns = 10;
    const int rows = (count + columns - 1) / columns;
    const int width = 10000 / columns;
    const int height = 10000 / std::max(rows, 1);
    for (int i = 0; i < count; ++i) {
        const int left = (i % columns) * width;
        const int top = (i / columns) * height;
        WakuRecord frame = WakuRecord::WithEdges(left, top, left + width - 20, top + height - 20);
        const int kind = mix == FrameMix::Mixed        ? i % 4
                         : mix == FrameMix::Horizontal ? 0
                         : mix == FrameMix::Vertical   ? 1
                                                       : 2 + i % 2;
        frame.FontName = faces[i % 3];
        frame.Color = QString::number((i * 2654435761u) & 0xFFFFFF);
        frame.CharGap = QStringLiteral("10");
        switch (kind) {
        case 0:
            frame.Kind = WakuKind::Horizontal();
            frame.Content = texts[i % 6];
            frame.FontHeight = QStringLiteral("100");
            break;
        case 1:
            frame.Kind = WakuKind::Vertical();
            frame.Content = texts[(i + 3) % 6];
            frame.FontHeight = QStringLiteral("100");
            break;
        default:
            frame.Kind = kind == 2 ? WakuKind::PictureFixedAspect() : WakuKind::PictureStretched();
            frame.Content =
                QDir(pictureFolder).filePath(kind == 2 ? QStringLiteral("logo.bmp") : QStringLiteral("map.png"));
            break;
        }
        block.AppendFrame(frame);
    }
    return block;
}

// One vertical frame, as large as a clinic's name standing at the block's right.
inline KikanmeiBlock OneVerticalFrame()
{
    KikanmeiBlock block;
    WakuRecord frame = WakuRecord::WithEdges(9000, 200, 9800, 9800);
    frame.Kind = WakuKind::Vertical();
    frame.Content = QStringLiteral("さくらクリニック（産婦人科）");
    frame.FontName = QStringLiteral("ＭＳ 明朝");
    frame.FontHeight = QStringLiteral("140");
    frame.CharGap = QStringLiteral("10");
    frame.Color = QStringLiteral("0");
    block.AppendFrame(frame);
    return block;
}

// The same frame written across.
inline KikanmeiBlock OneHorizontalFrame()
{
    KikanmeiBlock block = OneVerticalFrame();
    WakuRecord frame = block.Frame(0);
    frame.Kind = WakuKind::Horizontal();
    frame.Left = QStringLiteral("200");
    frame.Top = QStringLiteral("4000");
    frame.Right = QStringLiteral("9800");
    frame.Bottom = QStringLiteral("6000");
    block.SetFrame(0, frame);
    return block;
}

// `count` copies of one frame of `block` side by side across the block, in
// the same face and text: what frames cost in a document once their face is
// in it.
inline KikanmeiBlock Copies(const KikanmeiBlock &block, int count)
{
    KikanmeiBlock copies;
    const WakuRecord frame = block.Frame(0);
    const int left = frame.Left.toInt();
    const int width = frame.Right.toInt() - left;
    const int step = count > 1 ? std::min(width + 50, (9900 - width) / (count - 1)) : 0;
    for (int i = 0; i < count; ++i) {
        WakuRecord copy = frame;
        const int x = count > 1 ? 50 + i * step : left;
        copy.Left = QString::number(x);
        copy.Right = QString::number(x + width);
        copies.AppendFrame(copy);
    }
    return copies;
}

} // namespace ralvo::bench
