#include "print/ui/PrevForm.h"

#include "platform/qt/DialogHelpers.h"
#include "print/SchedulePage.h"
#include "print/SchedulePrinting.h"
#include "records/AppRecords.h"

#include <QEvent>
#include <QFrame>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace ralvo {

TPrevForm::TPrevForm(const platform::Services &services, AppRecords &records, const LastInputFields &fields,
                     SchedulePrinter &printer, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                          | Qt::WindowCloseButtonHint),
      m_services(services), m_records(records), m_fields(fields), m_printer(printer), m_messages(*services.messages)
{
    CreateControls();
    FormCreate();
}

void TPrevForm::CreateControls()
{
    setObjectName(QStringLiteral("PrevForm"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    platform::UseDialogFont(*this);
    resize(544, 375);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setFixedHeight(29);
    layout->addWidget(Panel1);

    const auto makeButton = [this](const char *name, int x, const QString &caption, const QString &hint) {
        auto *button = new QToolButton(Panel1);
        button->setObjectName(QLatin1String(name));
        button->setText(caption);
        button->setToolTip(hint);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(x, 4, 81, 21);
        return button;
    };
    SpeedButton1 = makeButton("SpeedButton1", 8, QStringLiteral("印刷"),
                              QStringLiteral("表示されているスケジュール表を印刷します"));
    SpeedButton2 = makeButton("SpeedButton2", 96, QStringLiteral("ズームイン"), QStringLiteral("拡大表示します"));
    SpeedButton3 = makeButton("SpeedButton3", 184, QStringLiteral("ズームアウト"), QStringLiteral("縮小表示します"));
    SpeedButton4 =
        makeButton("SpeedButton4", 272, QStringLiteral("閉じる"), QStringLiteral("プレビュー・フォームを閉じます"));
    // Beside the four buttons, which keep their places.
    SpeedButton5 = makeButton("SpeedButton5", 360, QStringLiteral("PDF保存"),
                              QStringLiteral("表示されているスケジュール表をPDFファイルに保存します"));

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette white = ScrollBox1->viewport()->palette();
    white.setColor(QPalette::Window, Qt::white);
    ScrollBox1->viewport()->setPalette(white);
    ScrollBox1->viewport()->setAutoFillBackground(true);
    layout->addWidget(ScrollBox1, 1);

    PaintBox1 = new TPaintBox;
    PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->setWidgetResizable(true);
    // The form's resizing reaches the sheet as a change of the scroll box's
    // visible area, once the layout has given it its new size.
    ScrollBox1->viewport()->installEventFilter(this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(19);
    layout->addWidget(StatusBar1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TPrevForm::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TPrevForm::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TPrevForm::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TPrevForm::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TPrevForm::SpeedButton5Click);
    connect(PaintBox1, &TPaintBox::Paint, this, &TPrevForm::PaintBox1Paint);
}

void TPrevForm::FormCreate()
{
    m_zoom = preview::ZoomState{};
    SpeedButton2->setEnabled(true);
    SpeedButton3->setEnabled(true);
}

int TPrevForm::exec()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    return QDialog::exec();
}

void TPrevForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_messages.NewShowing();
}

bool TPrevForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Resize)
        FormResize();
    return QDialog::eventFilter(watched, event);
}

void TPrevForm::FormResize()
{
    if (m_zoom.level == 0)
        FitPaper();
}

void TPrevForm::FitPaper()
{
    ScrollBox1->setWidgetResizable(true);
    m_zoom.paper = preview::FitPaper(ScrollBox1->viewport()->size());
    PaintBox1->update();
}

void TPrevForm::ApplyZoom(const preview::ZoomState &zoom)
{
    m_zoom = zoom;
    if (m_zoom.level == 0) {
        FitPaper();
    } else {
        ScrollBox1->setWidgetResizable(false);
        PaintBox1->resize(m_zoom.paper);
        PaintBox1->update();
    }
    SpeedButton2->setEnabled(m_zoom.zoomInEnabled);
    SpeedButton3->setEnabled(m_zoom.zoomOutEnabled);
}

void TPrevForm::SpeedButton1Click() { PrintSchedule(m_printer, m_records, m_fields, m_services); }

void TPrevForm::SpeedButton5Click()
{
    const PageSources sources{m_records.settings, m_records.notices,    m_records.block,
                              m_fields,           *m_services.messages, *m_services.sounds};
    SaveSchedulePdf(sources, *m_services.fileDialogs, m_writeFile);
}

void TPrevForm::SpeedButton2Click() { ApplyZoom(preview::ZoomIn(m_zoom, ScrollBox1->viewport()->size())); }

void TPrevForm::SpeedButton3Click() { ApplyZoom(preview::ZoomOut(m_zoom, ScrollBox1->viewport()->size())); }

void TPrevForm::SpeedButton4Click() { close(); }

void TPrevForm::PaintBox1Paint(QPainter &painter)
{
    PageTarget target;
    target.surface = &painter;
    target.paperWidth = m_zoom.paper.width();
    target.paperHeight = m_zoom.paper.height();
    target.thinLineWidth = 1;
    target.paperOutline = true;
    m_messages.BeginDrawing();
    const PageSources sources{m_records.settings, m_records.notices, m_records.block,
                              m_fields,           m_messages,        *m_services.sounds};
    DrawSchedulePage(target, sources);

    // A message box opened inside painting would make the sheet repaint when
    // it closes, and that painting would show it again: the messages are
    // shown after the painting, each once per showing.
    if (m_messages.HasPending() && !m_messagesQueued) {
        m_messagesQueued = true;
        QMetaObject::invokeMethod(this, &TPrevForm::ShowHeldMessages, Qt::QueuedConnection);
    }
}

void TPrevForm::ShowHeldMessages()
{
    m_messagesQueued = false;
    m_messages.ShowPending();
}

} // namespace ralvo
