#pragma once

// Qt implementations of the platform services, used by the application.

#include "platform/Platform.h"

#include <QPointer>

#include <memory>

class QProgressDialog;
class QWidget;

namespace ralvo::platform {

class QtMessages final : public Messages
{
public:
    void ShowMessage(const QString &text) override;
    Answer Ask(const Question &question) override;
};

// libcanberra with the freedesktop sound theme; the display's bell when no
// sound can be played. The library is loaded, and its context made, when the
// first sound is played.
class QtSounds final : public Sounds
{
public:
    void Beep() override;
    void Exclamation() override;

private:
    static bool Play(const char *eventId);
};

class SystemClock final : public Clock
{
public:
    QDate Today() const override;
};

class QtFileDialogs final : public FileDialogs
{
public:
    std::optional<QString> GetOpenFileName(const Request &request) override;
    std::optional<QString> GetSaveFileName(const Request &request) override;
    std::optional<QString> GetPictureFileName(const Request &request) override;
};

class QtColorChooser final : public ColorChooser
{
public:
    std::optional<Colour> ChooseColor(Colour initial) override;
};

class QtPrintDialogs final : public PrintDialogs
{
public:
    bool ExecPrintDialog(QPrinter &printer) override;
    bool ExecPrinterSetupDialog(QPrinter &printer) override;
    QStringList AvailablePrinters() const override;
    QString DefaultPrinter() const override;
};

// A QProgressDialog, modal over the active window, shown from the start.
class QtProgress final : public Progress
{
public:
    QtProgress();
    ~QtProgress() override;
    QtProgress(const QtProgress &) = delete;
    QtProgress &operator=(const QtProgress &) = delete;

    void Start(const QString &caption, const QString &text, int total) override;
    bool Advance(int done) override;
    void Finish() override;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
};

// "テキストファイル|*.txt|すべてのファイル|*.*" → Qt's name filters
// "テキストファイル (*.txt)", "すべてのファイル (*)".
QStringList ToQtNameFilters(const QString &filter);

// The active window, as parent for dialogs.
QWidget *DialogParent();

} // namespace ralvo::platform
