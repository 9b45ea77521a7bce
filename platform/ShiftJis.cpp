#include "platform/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace ralvo::platform {

namespace {

constexpr const char *CodePage932 = "windows-31j";
constexpr char16_t Replacement = u'？'; // U+FF1F, 81 48 in CP932

char16_t Cp932Twin(char16_t c)
{
    switch (c) {
    case u'\u301C':
        return u'\uFF5E'; // 〜 → ～
    case u'\u2212':
        return u'\uFF0D'; // − → －
    case u'\u2016':
        return u'\u2225'; // ‖ → ∥
    case u'\u00AC':
        return u'\uFFE2'; // ¬ → ￢
    case u'\u00A2':
        return u'\uFFE0'; // ¢ → ￠
    case u'\u00A3':
        return u'\uFFE1'; // £ → ￡
    case u'\u2014':
        return u'\u2015'; // — → ―
    default:
        return c;
    }
}

QStringEncoder MakeEncoder() { return QStringEncoder(CodePage932, QStringConverter::Flag::Stateless); }

// Bytes of one code point (one or two UTF-16 units), or empty when CP932
// has no code for it.
QByteArray EncodeCodePoint(QStringView codePoint)
{
    if (codePoint == u"\uFEFF")
        return {};
    QStringEncoder encoder = MakeEncoder();
    QByteArray bytes = encoder.encode(codePoint);
    if (encoder.hasError())
        return {};
    return bytes;
}

// Length in UTF-16 units of the code point at `i` (a lone surrogate is one).
qsizetype CodePointLength(const QString &text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

// The encoder reports no error for U+FEFF but writes nothing: take the slow
// path whenever it is present.
bool FastPathEncodable(const QString &normalized, QByteArray *bytes)
{
    if (normalized.contains(QChar(0xFEFF)))
        return false;
    QStringEncoder encoder = MakeEncoder();
    *bytes = encoder.encode(normalized);
    return !encoder.hasError();
}

} // namespace

QString NormalizeForShiftJis(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = QChar(Cp932Twin(c.unicode()));
    return result;
}

ShiftJisBytes EncodeShiftJis(const QString &text)
{
    const QString normalized = NormalizeForShiftJis(text);
    ShiftJisBytes result;
    if (FastPathEncodable(normalized, &result.bytes))
        return result;

    result.bytes.clear();
    QStringEncoder replacementEncoder = MakeEncoder();
    const QByteArray replacement = replacementEncoder.encode(QStringView(&Replacement, 1));
    for (qsizetype i = 0; i < normalized.size();) {
        const qsizetype n = CodePointLength(normalized, i);
        const QStringView codePoint = QStringView(normalized).mid(i, n);
        const QByteArray bytes = EncodeCodePoint(codePoint);
        if (bytes.isEmpty()) {
            result.bytes += replacement;
            if (!result.unencodable.contains(codePoint))
                result.unencodable += codePoint;
        } else {
            result.bytes += bytes;
        }
        i += n;
    }
    return result;
}

int ShiftJisWidth(const QString &text)
{
    // An unencodable character becomes the two bytes of "？".
    return int(EncodeShiftJis(text).bytes.size());
}

bool IsShiftJisEncodable(const QString &text) { return EncodeShiftJis(text).ok(); }

ShiftJisText DecodeShiftJis(const QByteArray &bytes)
{
    ShiftJisText result;
    {
        QStringDecoder decoder(CodePage932, QStringConverter::Flag::Stateless);
        result.text = decoder.decode(bytes);
        if (!decoder.hasError())
            return result;
    }

    // Slow path: decode sequence by sequence to find and count the invalid ones.
    result.text.clear();
    const auto isLead = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes.at(i));
        qsizetype n = isLead(b) && i + 1 < bytes.size() ? 2 : 1;
        QStringDecoder decoder(CodePage932, QStringConverter::Flag::Stateless);
        QString piece = decoder.decode(bytes.mid(i, n));
        if (decoder.hasError() || piece.isEmpty()) {
            result.text += QChar(QChar::ReplacementCharacter);
            ++result.invalidBytes;
            // A lead byte whose trail is not valid: retry the trail on its own.
            n = 1;
        } else {
            result.text += piece;
        }
        i += n;
    }
    return result;
}

} // namespace ralvo::platform
