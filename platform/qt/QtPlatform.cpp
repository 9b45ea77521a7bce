#include "platform/qt/QtPlatform.h"
#include "platform/qt/LoadedLibrary.h"

#include "platform/qt/PicturePreview.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>

#include <canberra.h>
#include <dlfcn.h>

namespace ralvo::platform {

QWidget *DialogParent()
{
    if (QWidget *w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

// ---------------------------------------------------------------- messages

void QtMessages::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, DialogParent());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

Messages::Answer QtMessages::Ask(const Question &question)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (question.icon) {
    case Icon::None:
        icon = QMessageBox::NoIcon;
        break;
    case Icon::Information:
        icon = QMessageBox::Information;
        break;
    case Icon::Warning:
        icon = QMessageBox::Warning;
        break;
    case Icon::Question:
        icon = QMessageBox::Question;
        break;
    case Icon::Error:
        icon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(icon, question.caption, question.text, QMessageBox::NoButton, DialogParent());
    QPushButton *yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton *cancel = nullptr;
    if (question.buttons == Buttons::YesNoCancel)
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel ? cancel : no);
    switch (question.defaultAnswer) {
    case Answer::No:
        box.setDefaultButton(no);
        break;
    case Answer::Cancel:
        box.setDefaultButton(cancel ? cancel : no);
        break;
    default:
        box.setDefaultButton(yes);
        break;
    }
    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    if (clicked == yes)
        return Answer::Yes;
    if (clicked == no)
        return Answer::No;
    return cancel ? Answer::Cancel : Answer::No;
}

// ------------------------------------------------------------------ sounds

namespace {

// libcanberra, loaded when the first sound is played: the program does not
// map and bind it, and the sound libraries it brings, at every start.
struct Canberra
{
    int (*create)(ca_context **context) = nullptr;
    int (*changeProps)(ca_context *context, ...) = nullptr;
    int (*play)(ca_context *context, uint32_t id, ...) = nullptr;
};

// The library's functions, or none when it cannot be loaded.
const Canberra *LoadedCanberra()
{
    static const Canberra loaded = [] {
        Canberra functions;
        void *library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return functions;
        if (!Resolve(library, "ca_context_create", functions.create)
            || !Resolve(library, "ca_context_change_props", functions.changeProps)
            || !Resolve(library, "ca_context_play", functions.play))
            return Canberra{};
        return functions;
    }();
    return loaded.create ? &loaded : nullptr;
}

// The run's one context, made at the first sound and never destroyed: the
// library plays each sound on a thread of its own that may still be
// finishing when a sound has been played, and destroying the context unloads
// the output driver that thread runs in.
ca_context *SoundContext()
{
    static ca_context *const context = []() -> ca_context * {
        const Canberra *canberra = LoadedCanberra();
        ca_context *made = nullptr;
        if (!canberra || canberra->create(&made) != CA_SUCCESS)
            return nullptr;
        canberra->changeProps(made, CA_PROP_APPLICATION_NAME, "ralvo", nullptr);
        return made;
    }();
    return context;
}

} // namespace

bool QtSounds::Play(const char *eventId)
{
    ca_context *context = SoundContext();
    return context && LoadedCanberra()->play(context, 0, CA_PROP_EVENT_ID, eventId, nullptr) == CA_SUCCESS;
}

void QtSounds::Beep()
{
    if (!Play("bell-window-system"))
        QApplication::beep();
}

void QtSounds::Exclamation()
{
    if (!Play("dialog-warning"))
        QApplication::beep();
}

// ------------------------------------------------------------------- clock

QDate SystemClock::Today() const { return QDate::currentDate(); }

// ------------------------------------------------------------ file dialogs

QStringList ToQtNameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        patterns.replace(u';', u' ');
        // A description that already names its patterns ("ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)")
        // shows them once, in the form Qt reads.
        QString description = parts.at(i);
        const qsizetype named = description.lastIndexOf(QLatin1String(" ("));
        if (named > 0 && description.endsWith(u')'))
            description.truncate(named);
        result.append(description + QLatin1String(" (") + patterns + u')');
    }
    return result;
}

namespace {

std::optional<QString> RunFileDialog(const FileDialogs::Request &request, QFileDialog::AcceptMode mode,
                                     QFileDialog::FileMode fileMode, bool picturePreview = false)
{
    QFileDialog dialog(DialogParent(), request.title, request.initialDir);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(fileMode);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const QStringList filters = ToQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (picturePreview)
        AddPicturePreview(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtFileDialogs::GetOpenFileName(const Request &request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
}

std::optional<QString> QtFileDialogs::GetSaveFileName(const Request &request)
{
    return RunFileDialog(request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
}

std::optional<QString> QtFileDialogs::GetPictureFileName(const Request &request)
{
    return RunFileDialog(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile, true);
}

// ---------------------------------------------------------- colour chooser

std::optional<Colour> QtColorChooser::ChooseColor(Colour initial)
{
    QColorDialog dialog(ToQColor(initial), DialogParent());
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FromQColor(dialog.selectedColor());
}

// ----------------------------------------------------------- print dialogs

namespace {

// Runs Qt's print dialog on `printer`. When accepted, Qt's dialog (6.4 on
// CUPS) puts the printer's default paper back, dropping the paper the
// caller chose; the paper is picked only in the dialog's properties, so the
// paper from before comes back unless the user opened them.
bool ExecKeepingPaper(QPrintDialog &dialog, QPrinter &printer)
{
    const QPageSize paper = printer.pageLayout().pageSize();
    bool propertiesOpened = false;
    auto *properties = dialog.findChild<QPushButton *>(QStringLiteral("properties"));
    if (properties)
        QObject::connect(properties, &QPushButton::clicked, &dialog, [&propertiesOpened] { propertiesOpened = true; });
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (properties && !propertiesOpened && paper.isValid() && !printer.pageLayout().pageSize().isEquivalentTo(paper))
        printer.setPageSize(paper);
    return true;
}

} // namespace

bool QtPrintDialogs::ExecPrintDialog(QPrinter &printer)
{
    QPrintDialog dialog(&printer, DialogParent());
    return ExecKeepingPaper(dialog, printer);
}

bool QtPrintDialogs::ExecPrinterSetupDialog(QPrinter &printer)
{
    QPrintDialog dialog(&printer, DialogParent());
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return ExecKeepingPaper(dialog, printer);
}

QStringList QtPrintDialogs::AvailablePrinters() const { return QPrinterInfo::availablePrinterNames(); }

QString QtPrintDialogs::DefaultPrinter() const { return QPrinterInfo::defaultPrinterName(); }

// ---------------------------------------------------------------- progress

QtProgress::QtProgress() = default;
QtProgress::~QtProgress() = default;

void QtProgress::Start(const QString &caption, const QString &text, int total)
{
    m_dialog = std::make_unique<QProgressDialog>(text, QStringLiteral("キャンセル"), 0, total, DialogParent());
    m_dialog->setWindowTitle(caption);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

bool QtProgress::Advance(int done)
{
    if (!m_dialog)
        return true;
    // A modal box's setValue lets the event loop run, so the button answers.
    m_dialog->setValue(done);
    QCoreApplication::processEvents();
    return !m_dialog->wasCanceled();
}

void QtProgress::Finish() { m_dialog.reset(); }

} // namespace ralvo::platform
