#pragma once

// The topics of the help book, one page per window and command. Pass one to
// platform::Help::ShowHelp; the empty topic is the table of contents.

#include <QString>

namespace ralvo::platform::help_topics {

inline QString Contents() { return {}; }
inline QString Input() { return QStringLiteral("input"); }        // main window: dates, New, spinners
inline QString Basis() { return QStringLiteral("basis"); }        // the three calculation bases
inline QString TextOutput() { return QStringLiteral("textout"); } // text output and the text editor
inline QString Printing() { return QStringLiteral("print"); }     // printing the schedule
inline QString Preview() { return QStringLiteral("preview"); }    // the print preview window
inline QString Settings() { return QStringLiteral("settings"); }  // the schedule settings dialog
inline QString Notices() { return QStringLiteral("notices"); }    // the notice editor
inline QString Kikanmei() { return QStringLiteral("kikanmei"); }  // the institution block editor
inline QString Frames() { return QStringLiteral("frames"); }      // the frame dialogs

} // namespace ralvo::platform::help_topics
