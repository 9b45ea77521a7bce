#include "app/ui/Application.h"

#include "app/ui/AfterFirstPaint.h"
#include "app/ui/BatchPdfCommand.h"
#include "app/ui/CalendarExportCommand.h"
#include "app/ui/Pictures.h"
#include "app/ui/PregnancyCalendarForm.h"
#include "app/ui/RalvoMainForm.h"
#include "app/ui/VerForm.h"
#include "kikanmei/ui/GraphicForm.h"
#include "kikanmei/ui/KikanmeiForm.h"
#include "kikanmei/ui/MojiForm.h"
#include "kikanmei/ui/WakuSelForm.h"
#include "platform/Fonts.h"
#include "platform/qt/DialogHelpers.h"
#include "print/SchedulePdf.h"
#include "print/ui/PrevForm.h"
#include "print/ui/QtSchedulePrinter.h"
#include "settings/ui/NoticeEditForm.h"
#include "settings/ui/SetupForm.h"
#include "textout/TextFile.h"
#include "textout/ui/TextEditorForm.h"
#include "textout/ui/WriteTextSchedule.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>

#include <functional>
#include <utility>

namespace ralvo {

Application::Application()
    : m_services{&m_messages,     &m_sounds,       &m_clock, &m_fileDialogs,
                 &m_colorChooser, &m_printDialogs, &m_help,  &m_progress},
      m_store(store::SettingsStore::OpenUserStore(store::SettingsStore::Access::ReadWrite))
{
    InitializeApplication();
    CreateMainWindow();
    WireCommands();
}

Application::~Application() = default;

void Application::InitializeApplication()
{
    // The title is the main window's caption and the caption of plain
    // message boxes (platform::ApplicationTitle). It is deliberately not
    // the display name, which Qt would append to every window's caption.
    QCoreApplication::setApplicationName(QStringLiteral("ralvo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("ralvo"));
    QGuiApplication::setWindowIcon(ApplicationIcon());
    // The program ends when the main window closes, even with help open.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    platform::InstallFontSubstitutions();
    QApplication::setFont(platform::DialogFont());

    // Qt's own dialogs (file, colour, print) in Japanese.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    if (m_qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslator);
}

void Application::CreateMainWindow()
{
    // 1. The main window: its creation loads the settings, the notices, the
    //    institution block and the last input, before any other window.
    m_mainForm = std::make_unique<TRalvoMainForm>(m_services, m_records, m_store);
}

void Application::CreateSecondaryWindows()
{
    if (m_calendarForm)
        return;
    QWidget *owner = m_mainForm.get();

    // 2. to 11.: the other windows, in this order, each with the main window
    //    as Qt parent (which owns and destroys it). The records, m_services
    //    and m_store live as long as the windows.

    // 2. The settings dialog.
    m_setupForm = new TSetupForm(m_records.notices, m_records.block, m_sharedColorChooser, owner);

    // 3. The text editor.
    m_textEditorForm = new textout::TTextEditorForm(m_services, owner);

    // 4. The print preview, printing on the text editor's printer.
    m_schedulePrinter = std::make_unique<QtSchedulePrinter>(
        [editor = m_textEditorForm]() -> QPrinter & { return editor->Printer(); }, m_printDialogs);
    m_prevForm = new TPrevForm(m_services, m_records, *m_mainForm, *m_schedulePrinter, owner);
    m_prevForm->SetFileWriter(textout::WriteFileBytes);

    // 5. The notice editor, opened from the settings dialog.
    m_noticeEditForm = new TNoticeEditForm(m_records.settings, m_sharedColorChooser, owner);
    m_setupForm->SetNoticeEditor(m_noticeEditForm);

    // 6. The block editor, opened from the settings dialog on a working copy,
    //    and 7. to 9. its frame dialogs.
    m_kikanmeiForm = new TKikanmeiForm(m_services, owner);
    m_wakuSelForm = new TWakuSelForm(owner);
    m_mojiForm = new TMojiForm(m_services, m_sharedColorChooser, owner);
    m_graphicForm = new TGraphicForm(m_services, owner);
    m_kikanmeiForm->SetFrameDialogs(m_wakuSelForm, m_mojiForm, m_graphicForm);
    m_setupForm->SetBlockEditor([this](KikanmeiBlock &workingCopy) { return m_kikanmeiForm->Edit(workingCopy); });

    // 10. The About box.
    m_verForm = new TVerForm(owner);

    // 11. The pregnancy calendar, last: its existence marks the ten as made.
    m_calendarForm = new TPregnancyCalendarForm(
        m_services, m_records, *m_schedulePrinter, textout::WriteFileBytes,
        [] { return QDateTime::currentDateTimeUtc(); }, owner);
}

void Application::WireCommands()
{
    // How the main window's commands reach the other windows: each entry of
    // MainCommands is the one shared operation behind a command's button and
    // menu item, assigned here. The main window's LastInputFields and Input()
    // give the fields as they are at that moment; m_records holds the
    // settings, notices and block.
    // A command that reaches another window makes the other windows first,
    // should it come before they were made after the first paint.
    const auto withSecondaryWindows = [this](std::function<void()> command) {
        return [this, command = std::move(command)] {
            CreateSecondaryWindows();
            command();
        };
    };
    MainCommands &commands = m_mainForm->Commands();
    commands.showAbout = withSecondaryWindows([this] { m_verForm->exec(); });
    commands.textOutput = withSecondaryWindows([this] {
        textout::WriteTextSchedule(m_mainForm->Input(), m_mainForm->MotherName(), m_records.settings, m_services,
                                   *m_textEditorForm);
    });
    commands.editSettings = withSecondaryWindows([this] { EditSettings(*m_setupForm, m_records.settings); });
    commands.printPreview = withSecondaryWindows([this] { m_prevForm->exec(); });
    commands.print =
        withSecondaryWindows([this] { PrintSchedule(*m_schedulePrinter, m_records, *m_mainForm, m_services); });
    commands.savePdf = [this] {
        const PageSources sources{m_records.settings, m_records.notices,    m_records.block,
                                  *m_mainForm,        *m_services.messages, *m_services.sounds};
        SaveSchedulePdf(sources, *m_services.fileDialogs, textout::WriteFileBytes);
    };
    commands.pregnancyCalendar = withSecondaryWindows([this] { m_calendarForm->Open(*m_mainForm); });
    commands.batchPdf = [this] { MakeBatchPdf(m_records, m_services); };
    commands.exportCalendar = CalendarExportCommand(*m_mainForm, m_records, m_services, textout::WriteFileBytes,
                                                    [] { return QDateTime::currentDateTimeUtc(); });
}

int Application::Run()
{
    QObject::connect(m_mainForm.get(), &TRalvoMainForm::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    m_mainForm->show();
    // The other ten windows are made right after the main window's first
    // paint, so that it is on screen without waiting for them; they exist
    // before the run handles any input (and a command made sooner makes them
    // itself).
    const AfterFirstPaint afterFirstPaint(*m_mainForm, [this] { CreateSecondaryWindows(); });
    return QApplication::exec();
}

} // namespace ralvo
