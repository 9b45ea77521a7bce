#include "app/ui/QtHelp.h"

#include "app/ui/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

static void InitHelpResources() { Q_INIT_RESOURCE(help); }

namespace ralvo {

QtHelp::QtHelp(QUrl book) : m_book(std::move(book)) {}

QtHelp::~QtHelp() = default;

QUrl QtHelp::HelpBookLocation()
{
    const QDir installed(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/ralvo/help"));
    if (QFileInfo::exists(installed.filePath(QStringLiteral("index.html"))))
        return QUrl::fromLocalFile(installed.canonicalPath() + QLatin1Char('/'));
    InitHelpResources();
    return QUrl(QStringLiteral("qrc:/ralvo/help/"));
}

void QtHelp::ShowHelp(const QString &topic)
{
    if (!m_window)
        m_window = std::make_unique<THelpWindow>(m_book);
    // Over a modal dialog a plain window would be blocked: make it modal too.
    QWidget *modal = QApplication::activeModalWidget();
    Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (modal == m_window.get())
        wanted = m_window->windowModality();
    if (m_window->windowModality() != wanted) {
        m_window->hide();
        m_window->setWindowModality(wanted);
    }
    m_window->ShowTopic(topic);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace ralvo
