#pragma once

#include "app/ui/QtHelp.h"
#include "platform/SharedColorChooser.h"
#include "platform/qt/QtPlatform.h"
#include "records/AppRecords.h"
#include "store/SettingsStore.h"

#include <QTranslator>

#include <memory>

namespace ralvo {

class QtSchedulePrinter;
class TGraphicForm;
class TKikanmeiForm;
class TMojiForm;
class TNoticeEditForm;
class TPregnancyCalendarForm;
class TPrevForm;
class TRalvoMainForm;
class TSetupForm;
class TVerForm;
class TWakuSelForm;
namespace textout {
class TTextEditorForm;
}

// The application: the platform services, the records that exist once for
// the run, and the windows, each created once in a fixed order and kept
// until the end. Construct it after the QApplication: that creates the main
// window, which loads the settings. Run() shows the main window, creates the
// other ten right after its first paint, and runs the event loop until the
// main window is closed.
class Application final
{
public:
    Application();
    ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    int Run();

    // Creates windows 2 to 11, in their order, unless they exist. Run() calls
    // it once the main window is first on screen, every command that reaches
    // one of them calls it first, and a test may call it at once.
    void CreateSecondaryWindows();

    TRalvoMainForm &MainForm() const { return *m_mainForm; }

private:
    void InitializeApplication();
    void CreateMainWindow();
    void WireCommands();

    QTranslator m_qtTranslator;

    // Platform services, shared by every window.
    platform::QtMessages m_messages;
    platform::QtSounds m_sounds;
    platform::SystemClock m_clock;
    platform::QtFileDialogs m_fileDialogs;
    platform::QtColorChooser m_colorChooser;
    // The one colour chooser of the dialogs: remembers the last confirmed colour.
    platform::SharedColorChooser m_sharedColorChooser{m_colorChooser};
    platform::QtPrintDialogs m_printDialogs;
    QtHelp m_help;
    platform::QtProgress m_progress;
    platform::Services m_services;
    // The schedule's printer: the application's printer, which the text
    // editor's printing shares.
    std::unique_ptr<QtSchedulePrinter> m_schedulePrinter;

    // The settings store and the application-wide records.
    store::SettingsStore m_store;
    AppRecords m_records;

    // The windows, in the order they are created. The main window owns the
    // others as their Qt parent, so they are destroyed with it.
    std::unique_ptr<TRalvoMainForm> m_mainForm;           // 1 main window
    TSetupForm *m_setupForm = nullptr;                    // 2 settings dialog
    textout::TTextEditorForm *m_textEditorForm = nullptr; // 3 text editor
    TPrevForm *m_prevForm = nullptr;                      // 4 print preview
    TNoticeEditForm *m_noticeEditForm = nullptr;          // 5 notice editor
    TKikanmeiForm *m_kikanmeiForm = nullptr;              // 6 block editor
    TWakuSelForm *m_wakuSelForm = nullptr;                // 7 frame-kind selection
    TMojiForm *m_mojiForm = nullptr;                      // 8 text-frame dialog
    TGraphicForm *m_graphicForm = nullptr;                // 9 graphic-frame dialog
    TVerForm *m_verForm = nullptr;                        // 10 About box
    TPregnancyCalendarForm *m_calendarForm = nullptr;     // 11 pregnancy calendar
};

} // namespace ralvo
