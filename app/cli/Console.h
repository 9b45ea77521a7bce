#pragma once

// Standard output and standard error of the command-line tool, and the
// platform message sink that writes message boxes to standard error.

#include "platform/Platform.h"
#include "store/FileWriter.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace ralvo::cli {

// Exit statuses of ralvo-schedule.
enum ExitStatus : int {
    ExitOk = 0,
    ExitInputRefused = 2, // an input that is not an integer, or a date we refuse
    ExitUsage = 64,       // a bad option (EX_USAGE)
    ExitUnavailable = 69, // the page-drawing program is missing or cannot run (EX_UNAVAILABLE)
    ExitCannotWrite = 73, // the output file could not be written (EX_CANTCREAT)
};

// Keeps Qt's own warnings (a missing XDG_RUNTIME_DIR, font set-up notes,
// ...) off standard error, which is for the tool's messages.
void SilenceQtMessages();

class Console
{
public:
    explicit Console(std::FILE *out = stdout, std::FILE *err = stderr) : m_out(out), m_err(err) {}

    // One line (UTF-8, LF added) on standard error. Control characters in
    // it (a CSV cell, an option value, a file name quoted) are written
    // escaped ("\x1b", "\n"), so the line stays one line and the terminal
    // takes none of them as a command.
    void Error(const QString &line);
    // The tool's own text of several lines (the usage) on standard error,
    // as it is, LF added.
    void ErrorText(const QString &text);
    // Text as it is (UTF-8) on standard output, for --help.
    void Print(const QString &text);
    // The bytes to `fileName` (whole or not at all; a device or FIFO is
    // written into, never replaced), or to standard output when `fileName`
    // is empty. On failure writes a one-line reason and returns false.
    bool WriteOutput(const QByteArray &bytes, const QString &fileName);
    // Whether the checked write to `fileName` succeeded; writes its one-line
    // reason when not.
    bool Written(const store::FileWriteResult &written, const QString &fileName);

private:
    std::FILE *m_out;
    std::FILE *m_err;
};

// Message boxes become lines on standard error; questions take their default.
class ConsoleMessages final : public platform::Messages
{
public:
    explicit ConsoleMessages(Console &console) : m_console(console) {}
    void ShowMessage(const QString &text) override { m_console.Error(text); }
    Answer Ask(const Question &question) override
    {
        m_console.Error(question.text);
        return question.defaultAnswer;
    }

private:
    Console &m_console;
};

} // namespace ralvo::cli
