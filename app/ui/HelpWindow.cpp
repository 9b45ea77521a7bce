#include "app/ui/HelpWindow.h"

#include "app/ui/Pictures.h"
#include "platform/Platform.h"
#include "platform/qt/DialogHelpers.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace ralvo {

namespace {

QString HelpTitle() { return platform::ApplicationTitle() + QStringLiteral(" ヘルプ"); }

QToolButton *MakeToolButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = platform::Named(new QToolButton(parent), name);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

bool PageExists(const QUrl &url)
{
    if (url.scheme() == QLatin1String("qrc"))
        return QFileInfo::exists(QLatin1Char(':') + url.path());
    return QFileInfo::exists(url.toLocalFile());
}

} // namespace

THelpWindow::THelpWindow(QUrl book, QWidget *parent) : QWidget(parent, Qt::Window), m_book(std::move(book))
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(HelpTitle());
    setWindowIcon(ApplicationIcon());
    // The help stays open on its own; closing it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 560);
    // The pages' style sheet fixes dark text and coloured headings, chosen
    // for a white page.
    platform::UseLightPalette(*this);

    m_contents = MakeToolButton(this, "contents", QStringLiteral("目次(&C)"));
    m_back = MakeToolButton(this, "back", QStringLiteral("← 戻る(&B)"));
    m_forward = MakeToolButton(this, "forward", QStringLiteral("進む →(&F)"));
    m_close = MakeToolButton(this, "close", QStringLiteral("閉じる"));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("browser"));
    m_browser->setOpenExternalLinks(true);
    QFont font = platform::DialogFont();
    font.setPixelSize(14);
    m_browser->setFont(font);

    auto *tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->addWidget(m_contents);
    tools->addWidget(m_back);
    tools->addWidget(m_forward);
    tools->addStretch(1);
    tools->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(tools);
    layout->addWidget(m_browser, 1);

    connect(m_contents, &QToolButton::clicked, this, [this] { ShowTopic(QString()); });
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_close, &QToolButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? HelpTitle() : title + QStringLiteral(" - ") + HelpTitle());
    });
}

QUrl THelpWindow::PageUrl(const QString &topic) const
{
    QUrl base = m_book;
    if (!base.path().endsWith(QLatin1Char('/')))
        base.setPath(base.path() + QLatin1Char('/'));
    QUrl page = base.resolved(QUrl(topic + QStringLiteral(".html")));
    if (!topic.isEmpty() && PageExists(page))
        return page;
    return base.resolved(QUrl(QStringLiteral("index.html")));
}

void THelpWindow::ShowTopic(const QString &topic)
{
    const QUrl page = PageUrl(topic);
    if (!PageExists(page)) {
        m_browser->setHtml(
            QStringLiteral("<h2>ヘルプが見つかりません</h2><p>%1</p>").arg(page.toDisplayString().toHtmlEscaped()));
        return;
    }
    m_browser->setSource(page);
}

QUrl THelpWindow::CurrentPage() const { return m_browser->source(); }

} // namespace ralvo
