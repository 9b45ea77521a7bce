#include "textout/TextFile.h"

#include "platform/ShiftJis.h"
#include "store/FileReader.h"
#include "store/FileWriter.h"
#include "store/SettingsStore.h"

#include <QStringDecoder>

namespace ralvo::textout {

namespace {

std::optional<QString> Decode(QStringDecoder &&decoder, QByteArrayView bytes)
{
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool IsAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// Which encoding a file is in. Shift-JIS text with any non-ASCII character is
// practically never valid UTF-8 (its lead bytes 81-9F are UTF-8 continuation
// bytes), while UTF-8 Japanese often happens to be valid Shift-JIS, shown as
// half-width katakana garbage: so UTF-8 is tried first.
std::optional<QString> DecodeAny(QByteArrayView bytes)
{
    static constexpr QByteArrayView kBom("\xEF\xBB\xBF");
    if (bytes.startsWith(kBom))
        return Decode(QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless),
                      bytes.sliced(kBom.size()));
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    if (auto utf8 = Decode(QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless), bytes))
        return utf8;
    platform::ShiftJisText shiftJis = platform::DecodeShiftJis(bytes.toByteArray());
    if (!shiftJis.ok())
        return std::nullopt;
    return std::move(shiftJis.text);
}

} // namespace

std::optional<QString> DecodeTextFile(const QByteArray &bytes)
{
    std::optional<QString> text = DecodeAny(bytes);
    if (!text)
        return std::nullopt;
    text->replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text->replace(u'\r', u'\n');
    if (text->endsWith(u'\n'))
        text->chop(1);
    return text;
}

QStringList EditorTextLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(u'\n');
}

std::optional<QString> ReadTextFile(const QString &path)
{
    const store::FileReadResult file = store::ReadRegularFile(path, kMaxTextFileBytes);
    if (!file.ok())
        return std::nullopt;
    return DecodeTextFile(file.bytes);
}

bool WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    store::FileWriteOptions options;
    options.readFiles = {store::SettingsStore::UserStorePath()};
    return store::WriteFileAtomically(path, bytes, options).ok;
}

} // namespace ralvo::textout
