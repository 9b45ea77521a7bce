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

// Reads a whole file; empty when it cannot be read or decoded.
std::optional<QString> ReadTextFile(const QString &path);

// Writes `bytes` to `path` atomically; false when the file cannot be written.
bool WriteFileBytes(const QString &path, const QByteArray &bytes);

} // namespace ralvo::textout
