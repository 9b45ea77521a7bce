#pragma once

// The small layer over platform services. Logic talks to these interfaces
// only; the application wires the Qt implementations (platform/qt), tests
// wire fakes (tests/support/FakePlatform.h) that answer questions, count
// beeps and fix the date.

#include "platform/Colour.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;
class QPrinter;

namespace ralvo::platform {

// Modal message boxes.
class Messages
{
public:
    enum class Icon { None, Information, Warning, Question, Error };
    enum class Answer { Ok, Yes, No, Cancel };
    enum class Buttons { YesNo, YesNoCancel };

    struct Question
    {
        QString caption; // window caption ("警告", "確認", ...)
        QString text;
        Icon icon = Icon::Warning;
        Buttons buttons = Buttons::YesNo;
        Answer defaultAnswer = Answer::Yes;
    };

    virtual ~Messages() = default;
    // Plain box: application title as caption, one OK button, no icon.
    virtual void ShowMessage(const QString &text) = 0;
    // Question box with "はい(&Y)" / "いいえ(&N)" (/ "キャンセル"). Esc and the
    // close box answer No (or Cancel when offered).
    virtual Answer Ask(const Question &question) = 0;
};

// System sounds.
class Sounds
{
public:
    virtual ~Sounds() = default;
    virtual void Beep() = 0;        // the default beep
    virtual void Exclamation() = 0; // the exclamation (warning) sound
};

// The local clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate Today() const = 0;
};

// Standard file dialogs. Filters are given in the "caption|pattern|caption|pattern"
// form; an empty optional means the user cancelled.
class FileDialogs
{
public:
    struct Request
    {
        QString title;
        QString filter;      // "テキストファイル|*.txt|すべてのファイル|*.*"
        int filterIndex = 1; // 1-based, as the filter list counts
        QString initialDir;
        QString fileName;      // proposed name (save) or preselected file (open)
        QString defaultSuffix; // "txt"
    };
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> GetOpenFileName(const Request &request) = 0;
    virtual std::optional<QString> GetSaveFileName(const Request &request) = 0;
    // Picture open dialog with a preview of the selected picture.
    virtual std::optional<QString> GetPictureFileName(const Request &request) = 0;
};

// The shared colour chooser. It opens with `initial` and its custom colours
// shown; empty optional on cancel.
class ColorChooser
{
public:
    virtual ~ColorChooser() = default;
    virtual std::optional<Colour> ChooseColor(Colour initial) = 0;
};

// Printer dialogs (the printers themselves are QPrinter objects).
class PrintDialogs
{
public:
    virtual ~PrintDialogs() = default;
    // The platform's print dialog on `printer`; false when cancelled.
    virtual bool ExecPrintDialog(QPrinter &printer) = 0;
    // The platform's printer set-up dialog; false when cancelled.
    virtual bool ExecPrinterSetupDialog(QPrinter &printer) = 0;
    // Names of the installed printers and the default one (empty when none).
    virtual QStringList AvailablePrinters() const = 0;
    virtual QString DefaultPrinter() const = 0;
};

// The help viewer.
class Help
{
public:
    virtual ~Help() = default;
    // Shows the help book at `topic` (empty: table of contents).
    virtual void ShowHelp(const QString &topic) = 0;
};

// A modal progress box with a "キャンセル" button, for work of several steps
// that the user may stop.
class Progress
{
public:
    virtual ~Progress() = default;
    // Shows the box: `caption` as title, `text` above a bar of `total` steps.
    virtual void Start(const QString &caption, const QString &text, int total) = 0;
    // The steps done so far, with the box kept responsive; false once the
    // user has cancelled.
    virtual bool Advance(int done) = 0;
    // Closes the box.
    virtual void Finish() = 0;
};

// Everything a window needs from the platform, handed to it at creation.
// Not owning: whoever builds the application (or the test) owns the services.
struct Services
{
    Messages *messages = nullptr;
    Sounds *sounds = nullptr;
    Clock *clock = nullptr;
    FileDialogs *fileDialogs = nullptr;
    ColorChooser *colorChooser = nullptr;
    PrintDialogs *printDialogs = nullptr;
    Help *help = nullptr;
    Progress *progress = nullptr;
};

// The application title: caption of plain message boxes.
inline QString ApplicationTitle() { return QStringLiteral("らるぼPro"); }

// Told when a printer did not take a job (refused, stopped, unreachable).
inline QString PrintRefusedMessage()
{
    return QStringLiteral("プリンタが印刷を受け付けませんでした。\nプリンタの設定と状態を確認してください。");
}

} // namespace ralvo::platform
