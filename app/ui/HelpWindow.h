#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace ralvo {

// The help viewer: a window of our own that shows the help book, an HTML
// page per topic with the table of contents as its home page.
class THelpWindow final : public QWidget
{
    Q_OBJECT

public:
    // `book` is the folder (or resource prefix) holding index.html and the
    // topic pages.
    explicit THelpWindow(QUrl book, QWidget *parent = nullptr);

    // Shows `topic` ("input", "kikanmei", ...); the empty or an unknown
    // topic shows the table of contents.
    void ShowTopic(const QString &topic);
    QUrl CurrentPage() const;

private:
    QUrl PageUrl(const QString &topic) const;

    QUrl m_book;
    QTextBrowser *m_browser = nullptr; // the page shown
    QToolButton *m_contents = nullptr; // back to the table of contents
    QToolButton *m_back = nullptr;     // the page shown before
    QToolButton *m_forward = nullptr;  // the page left by going back
    QToolButton *m_close = nullptr;    // closes the window
};

} // namespace ralvo
