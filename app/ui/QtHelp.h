#pragma once

#include "platform/Platform.h"

#include <QUrl>

#include <memory>

namespace ralvo {

class THelpWindow;

// The help viewer: our own window showing the help book. Shown over a modal
// dialog (the block editor's "ﾍﾙﾌﾟ") it is modal itself, so it can be read
// and closed; shown from the main window it stays open beside it.
class QtHelp final : public platform::Help
{
public:
    // `book`: where the pages are; HelpBookLocation() by default.
    explicit QtHelp(QUrl book = HelpBookLocation());
    ~QtHelp() override;
    QtHelp(const QtHelp &) = delete;
    QtHelp &operator=(const QtHelp &) = delete;

    void ShowHelp(const QString &topic) override;

    // The window, once it has been shown (tests).
    THelpWindow *Window() const { return m_window.get(); }

    // The installed book (<prefix>/share/ralvo/help next to the program's
    // bin folder) when it is there, else the copy built into the program.
    static QUrl HelpBookLocation();

private:
    QUrl m_book;
    std::unique_ptr<THelpWindow> m_window;
};

} // namespace ralvo
