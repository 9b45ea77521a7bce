#pragma once

// The text editor's files: plain Shift-JIS (code page 932) text with CR LF
// line ends, byte for byte what the command-line tool writes for the same
// lines. The editor holds its text with "\n" between lines; these functions
// translate between that text and the bytes of a file.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace ralvo::textout {

// The text of a file's bytes. A byte-order mark or valid UTF-8 holding
// non-ASCII characters is read as UTF-8; otherwise the bytes must be valid
// Shift-JIS. CR LF, lone CR and lone LF all become "\n"; the line break that
// ends the last line is not part of the text. Empty when the bytes are
// neither encoding.
std::optional<QString> DecodeTextFile(const QByteArray &bytes);

// The lines of the editor's text as the file holds them: an empty text has
// no line at all. Saved with EncodeTextFile (textout/TextSchedule.h), every
// line ends with CR LF, so DecodeTextFile gives the text back unchanged.
QStringList EditorTextLines(const QString &text);

// The largest file the editor opens.
inline constexpr qint64 kMaxTextFileBytes = 64 * 1024 * 1024;

// Reads a whole regular file of at most kMaxTextFileBytes; empty when it
// cannot be read or decoded (a FIFO or device is refused, never waited on).
std::optional<QString> ReadTextFile(const QString &path);

// Writes `bytes` to `path` whole or not at all (store/FileWriter.h: a
// device or FIFO is written into, never replaced); false when it cannot be
// written, the old file then unchanged. The window's writes go through it:
// it never writes onto the user's settings store.
bool WriteFileBytes(const QString &path, const QByteArray &bytes);

} // namespace ralvo::textout
