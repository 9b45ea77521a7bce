#pragma once

// The vertical forms of Japanese glyphs, for columns of text that run
// downwards (Qt 6.4 has no vertical layout and no font features).

#include <QFont>
#include <QRawFont>
#include <QString>

#include <memory>

class QPaintDevice;

namespace ralvo::platform {

// The raw font behind `font` on `device`, at the font's pixel size there.
QRawFont RawFontFor(const QFont &font, const QPaintDevice *device);

// The vertical-writing forms of a face: each character shaped alone, top to
// bottom, with the OpenType "vert" feature (long vowel mark, brackets, "～",
// "…", "、", "。" and small kana take their vertical shapes). The forms do
// not depend on the size; each character is shaped once.
class VerticalForms
{
public:
    // The forms of the face behind `font`, at any size, shared for the whole
    // run: the face's tables are read once, and a character shaped once.
    static const VerticalForms &Of(const QRawFont &font);

    explicit VerticalForms(const QRawFont &font);
    ~VerticalForms();
    VerticalForms(const VerticalForms &) = delete;
    VerticalForms &operator=(const VerticalForms &) = delete;

    // The glyph for one character (a code point, possibly a surrogate
    // pair); 0 when the face has none for it.
    quint32 Glyph(const QString &character) const;

private:
    struct HarfBuzz;
    std::unique_ptr<HarfBuzz> m_hb;
};

} // namespace ralvo::platform
