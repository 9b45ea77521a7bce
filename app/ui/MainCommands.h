#pragma once

#include <functional>

namespace ralvo {

// The commands of the main window that other windows carry out. Each menu
// item, button and tool button has its own handler in TRalvoMainForm, and
// every handler of one command calls the same entry here. The application
// (app/ui/Application.cpp, WireCommands) assigns each entry the shared
// operation of the window that does the work; an entry left empty does
// nothing.
struct MainCommands
{
    std::function<void()> textOutput;        // SchdlBtnClick, N2Click
    std::function<void()> printPreview;      // BitBtn1Click, PrintPreview1Click
    std::function<void()> print;             // PrintBtnClick, N7Click
    std::function<void()> savePdf;           // SavePdf1Click
    std::function<void()> exportCalendar;    // ExportCalendar1Click
    std::function<void()> editSettings;      // SignBtnClick, S1Click
    std::function<void()> showAbout;         // About1Click
    std::function<void()> pregnancyCalendar; // PregnancyCalendar1Click
    std::function<void()> batchPdf;          // BatchPdf1Click
};

} // namespace ralvo
