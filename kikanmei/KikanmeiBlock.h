#pragma once

#include <QString>
#include <QStringList>

namespace ralvo {

// One frame of the institution block: its ten lines, in stored order. Every
// field is kept as the text it was stored as; a damaged stored value may hold
// anything, so numbers are parsed where they are used.
struct WakuRecord
{
    QString Left; // x of the left edge, block units (1/10000 of the width)
    QString Top;  // y of the top edge, block units (1/10000 of the height)
    QString Right;
    QString Bottom;
    QString FontHeight; // character cell height, 1/10000 of the block's width
    QString CharGap;    // space after each character but the last, 1/10000 of the height
    QString FontName;
    QString Color;   // red + 256 × green + 65536 × blue
    QString Kind;    // "L", "P", "F", "V", "Non" or empty
    QString Content; // the text ("L", "P") or the picture's path ("F", "V", "Non")

    // A new frame as the editor creates it: the four edges, six empty fields.
    static WakuRecord WithEdges(int left, int top, int right, int bottom);

    // Lines first .. first + 9 of `lines`; lines past the end read as empty.
    static WakuRecord FromLines(const QStringList &lines, qsizetype first);
    QStringList ToLines() const;

    friend bool operator==(const WakuRecord &, const WakuRecord &) = default;
};

// The kinds a frame can hold.
namespace WakuKind {
inline QString Horizontal() { return QStringLiteral("L"); }
inline QString Vertical() { return QStringLiteral("P"); }
inline QString PictureFixedAspect() { return QStringLiteral("F"); }
inline QString PictureStretched() { return QStringLiteral("V"); }
inline QString Unreadable() { return QStringLiteral("Non"); }
} // namespace WakuKind

// The institution block: a list of text lines, ten per frame. The stored
// text form ("EditStr") is every line followed by CR LF.
//
// A line count that is not a multiple of ten (only an edited stored value
// can have one) is kept as it is: the trailing partial group counts as a
// frame whose missing fields are empty, is written back unchanged, and is
// completed with empty lines as soon as a frame is changed or added, so its
// data is never lost and later frames keep their places.
class KikanmeiBlock
{
public:
    static constexpr int LinesPerFrame = 10;

    KikanmeiBlock() = default;
    explicit KikanmeiBlock(QStringList lines) : m_lines(std::move(lines)) {}

    const QStringList &Lines() const { return m_lines; }
    QStringList &Lines() { return m_lines; }

    // Every line followed by CR LF, the last included.
    QString ToText() const;
    // Splits at CR LF, lone CR and lone LF; a break at the very end adds no
    // empty line; the empty text gives no lines.
    static KikanmeiBlock FromText(const QString &text);

    // Frames, in drawing order (a later frame lies over an earlier one).
    qsizetype FrameCount() const;
    WakuRecord Frame(qsizetype index) const;
    // Replaces frame `index` (0 <= index < FrameCount()).
    void SetFrame(qsizetype index, const WakuRecord &frame);
    void AppendFrame(const WakuRecord &frame);
    // Removes the frame's ten lines; the frames behind it move up.
    void RemoveFrame(qsizetype index);
    void Clear() { m_lines.clear(); }

    friend bool operator==(const KikanmeiBlock &, const KikanmeiBlock &) = default;

private:
    void CompleteLastFrame();

    QStringList m_lines;
};

} // namespace ralvo
