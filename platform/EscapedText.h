#pragma once

// Text from outside (a file's cells, option values, file names) quoted in a
// message for a terminal or a log: control characters could retitle or
// clear the terminal, or forge further lines, so they are written as
// escapes instead.

#include <QString>
#include <QStringView>

namespace ralvo::platform {

// `text` with every control character escaped: TAB, LF and CR as "\t", "\n",
// "\r", the other C0 characters and DEL as "\x1b" and the like, C1
// characters (U+0080 to U+009F) as "\u009b" and the like. Everything else
// is kept.
QString EscapeControlCharacters(QStringView text);

} // namespace ralvo::platform
