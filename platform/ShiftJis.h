#pragma once

// Shift-JIS (code page 932) helpers: the column width of a text and the
// conversion to and from CP932 bytes.
//
// Input methods on Linux type JIS code points that CP932 lacks (〜 U+301C,
// − U+2212, ‖ U+2016, ¬ U+00AC, ¢ U+00A2, £ U+00A3, — U+2014). Every helper
// here first maps them to their CP932 twins (～ U+FF5E, － U+FF0D, ∥ U+2225,
// ￢ U+FFE2, ￠ U+FFE0, ￡ U+FFE1, ― U+2015).
//
// Unencodable characters. A code point that CP932 cannot represent even after
// that mapping (emoji, 𠮷, a lone surrogate, and U+FEFF, which the converter
// would otherwise drop without a trace) is never dropped and never crashes:
//  - it counts 2 columns, like any other full-width character;
//  - encoding writes "？" (U+FF1F, bytes 81 48, also 2 columns) in its place
//    and reports it in ShiftJisBytes::unencodable, so a caller can refuse to
//    write or warn the user;
//  - decoding turns a byte sequence that is not CP932 into U+FFFD and reports
//    it in ShiftJisText::invalidBytes.

#include <QByteArray>
#include <QString>

namespace ralvo::platform {

// The text with JIS code points replaced by their CP932 twins.
QString NormalizeForShiftJis(const QString &text);

// Column width of a text: its length in CP932 bytes after normalisation (ASCII
// and half-width katakana 1, every other character 2, unencodable ones 2).
int ShiftJisWidth(const QString &text);

// True when every character of the text (after normalisation) has a CP932 code.
bool IsShiftJisEncodable(const QString &text);

// Result of encoding: the bytes, and the distinct unencodable characters that
// were written as "？" (empty when the encoding is exact).
struct ShiftJisBytes
{
    QByteArray bytes;
    QString unencodable;

    bool ok() const { return unencodable.isEmpty(); }
};

// Encodes a text as CP932 (windows-31j) after normalisation.
ShiftJisBytes EncodeShiftJis(const QString &text);

// Result of decoding: the text, and the number of byte sequences that were not
// CP932 (each became U+FFFD).
struct ShiftJisText
{
    QString text;
    int invalidBytes = 0;

    bool ok() const { return invalidBytes == 0; }
};

// Decodes CP932 bytes. A lead byte at the very end counts as invalid.
ShiftJisText DecodeShiftJis(const QByteArray &bytes);

} // namespace ralvo::platform
