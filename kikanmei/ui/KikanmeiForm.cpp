#include "kikanmei/ui/KikanmeiForm.h"

#include "kikanmei/FrameDialogValues.h"
#include "kikanmei/WakuDrawing.h"
#include "kikanmei/ui/FormControls.h"
#include "kikanmei/ui/GraphicForm.h"
#include "kikanmei/ui/MojiForm.h"
#include "kikanmei/ui/WakuSelForm.h"
#include "platform/HelpTopics.h"
#include "platform/qt/DialogHelpers.h"
#include "platform/qt/PaintBox.h"

#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

namespace ralvo {

using kikanmei_ui::Placed;
using platform::SetHint;

namespace {

constexpr int SpeedButtonWidth = 89;
constexpr int ButtonHeight = 25;

// Picture failures met while painting are collected here and shown once the
// paint is over: a modal box must not open inside a paint event.
class CollectingMessages final : public platform::Messages
{
public:
    explicit CollectingMessages(QStringList &collected) : m_collected(collected) {}
    void ShowMessage(const QString &text) override { m_collected.append(text); }
    Answer Ask(const Question &question) override { return question.defaultAnswer; }

private:
    QStringList &m_collected;
};

// A dotted focus rectangle from (L, T) to (R, B), right and bottom edges
// excluded, that inverts the pixels under its dots.
void InvertDottedOutline(QPainter &painter, const WakuEdges &e)
{
    const WakuEdges n = NormalizedRubberBand({e.Left, e.Top}, {e.Right, e.Bottom});
    if (n.Right - n.Left < 1 || n.Bottom - n.Top < 1)
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen pen(Qt::black, 0);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(n.Left, n.Top, n.Right - n.Left - 1, n.Bottom - n.Top - 1));
    painter.restore();
}

// The eight 5 × 5 handle squares, aqua combined by exclusive-or.
void XorHandles(QPainter &painter, const std::array<QPoint, 8> &handles)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(QColor(0, 255, 255), 0));
    painter.setBrush(Qt::NoBrush);
    for (const QPoint &h : handles)
        painter.drawRect(QRect(h.x() - 2, h.y() - 2, 4, 4));
    painter.restore();
}

Qt::CursorShape ZoneCursor(HoverZone zone)
{
    switch (zone) {
    case HoverZone::TopLeft:
    case HoverZone::BottomRight:
        return Qt::SizeFDiagCursor;
    case HoverZone::TopRight:
    case HoverZone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case HoverZone::Top:
    case HoverZone::Bottom:
        return Qt::SizeVerCursor;
    case HoverZone::Right:
    case HoverZone::Left:
        return Qt::SizeHorCursor;
    case HoverZone::Inside:
        return Qt::DragMoveCursor;
    }
    return Qt::DragMoveCursor;
}

} // namespace

TKikanmeiForm::TKikanmeiForm(const platform::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("KikanmeiForm"));
    setWindowTitle(QStringLiteral("機関名等の編集"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    platform::UseDialogFont(*this);
    platform::UseLightPalette(*this); // its coloured label needs the light window
    BuildControls();
    platform::UseWindowFontInMenus(*this);
    FormCreate();
}

void TKikanmeiForm::BuildControls()
{
    Panel1 = Placed(new QFrame(this), "Panel1", QRect(0, 0, 640, BlockEditorLayout::Panel1Height));
    Label1 =
        Placed(platform::ColouredLabel(QStringLiteral("発行機関の所在地、名称、電話番号、メッセージなどの文字列や、"
                                                      "ビットマップを自由にレイアウトできます"),
                                       MakeColour(0, 0, 128), Panel1),
               "Label1", QRect(64, 24, 449, 33));
    Label1->setWordWrap(true);
    QFont labelFont = font();
    labelFont.setPixelSize(16);
    Label1->setFont(labelFont);

    Panel2 = Placed(new QFrame(this), "Panel2", QRect(0, BlockEditorLayout::Panel1Height, 640, 149));
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setLineWidth(BlockEditorLayout::BevelInset);
    Panel2->setAutoFillBackground(true);
    QPalette white = Panel2->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel2->setPalette(white);
    PaintBox1 = Placed(new PaintBox(Panel2), "PaintBox1", QRect(2, 2, 636, 145));
    PaintBox1->setContextMenuPolicy(Qt::CustomContextMenu);

    const auto speedButton = [this](const char *name, const QString &caption, int x, const QString &hint) {
        auto *button = Placed(new QPushButton(caption, this), name, QRect(x, 0, SpeedButtonWidth, ButtonHeight));
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus); // speed buttons take no focus
        button->setCursor(Qt::PointingHandCursor);
        SetHint(button, hint);
        return button;
    };
    SpeedButton1 = speedButton("SpeedButton1", QStringLiteral("枠の挿入"), 80,
                               QStringLiteral("文字またはグラフィックを書き込む枠を挿入します"));
    SpeedButton1->setCheckable(true);
    SpeedButton2 =
        speedButton("SpeedButton2", QStringLiteral("枠の編集"), 184,
                    QStringLiteral("選択されている枠に記入する文字の編集またはグラフィックファイルを設定します"));
    SpeedButton3 =
        speedButton("SpeedButton3", QStringLiteral("枠の削除"), 288, QStringLiteral("選択されている枠を削除します"));
    SpeedButton4 = speedButton("SpeedButton4", QStringLiteral("全ての枠の削除"), 392,
                               QStringLiteral("選択の如何にかかわらず、すべての枠を削除します"));

    Button2 = Placed(new QPushButton(QStringLiteral("OK"), this), "Button2", QRect(184, 0, 89, ButtonHeight));
    Button2->setDefault(true);
    Button2->setCursor(Qt::PointingHandCursor);
    Button1 = Placed(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), "Button1", QRect(288, 0, 89, ButtonHeight));
    Button1->setAutoDefault(false);
    Button1->setCursor(Qt::PointingHandCursor);
    Button3 = Placed(new QPushButton(QStringLiteral("ﾍﾙﾌﾟ"), this), "Button3", QRect(480, 0, 49, ButtonHeight));
    Button3->setAutoDefault(false);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("枠の挿入"));
    N2 = PopupMenu1->addAction(QStringLiteral("枠の編集"));
    N3 = PopupMenu1->addAction(QStringLiteral("枠の削除"));
    N4 = PopupMenu1->addSeparator();
    N5 = PopupMenu1->addAction(QStringLiteral("全ての枠の削除"));
    N1->setObjectName(QStringLiteral("N1"));
    N2->setObjectName(QStringLiteral("N2"));
    N3->setObjectName(QStringLiteral("N3"));
    N4->setObjectName(QStringLiteral("N4"));
    N5->setObjectName(QStringLiteral("N5"));

    connect(PaintBox1, &PaintBox::Paint, this, &TKikanmeiForm::PaintBox1Paint);
    connect(PaintBox1, &PaintBox::MouseDown, this, &TKikanmeiForm::PaintBox1MouseDown);
    connect(PaintBox1, &PaintBox::MouseMove, this, &TKikanmeiForm::PaintBox1MouseMove);
    connect(PaintBox1, &PaintBox::MouseUp, this, &TKikanmeiForm::PaintBox1MouseUp);
    connect(PaintBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(PaintBox1->mapToGlobal(at)); });
    connect(SpeedButton1, &QPushButton::pressed, this, &TKikanmeiForm::SpeedButton1MouseDown);
    connect(SpeedButton2, &QPushButton::clicked, this, &TKikanmeiForm::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TKikanmeiForm::SpeedButton3Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TKikanmeiForm::SpeedButton4Click);
    connect(N1, &QAction::triggered, this, &TKikanmeiForm::N1Click);
    connect(N2, &QAction::triggered, this, &TKikanmeiForm::N2Click);
    connect(N3, &QAction::triggered, this, &TKikanmeiForm::N3Click);
    connect(N5, &QAction::triggered, this, &TKikanmeiForm::N5Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button1, &QPushButton::clicked, this, &TKikanmeiForm::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TKikanmeiForm::Button3Click);
}

void TKikanmeiForm::FormCreate()
{
    m_rubberBand = false;
    m_selected = false;
    m_dragging = false;
    SpeedButton2->setEnabled(false);
    SpeedButton3->setEnabled(false);
    N2->setEnabled(false);
    N3->setEnabled(false);
    resize(640, 480);
    FormResize();
}

void TKikanmeiForm::SetFrameDialogs(TWakuSelForm *wakuSelForm, TMojiForm *mojiForm, TGraphicForm *graphicForm)
{
    m_wakuSelForm = wakuSelForm;
    m_mojiForm = mojiForm;
    m_graphicForm = graphicForm;
}

void TKikanmeiForm::SetBlock(const KikanmeiBlock &block)
{
    m_block = block;
    // A selection kept from the last OK shows again, if its frame is there.
    if (m_selected && m_selectedIndex >= m_block.FrameCount())
        Deselect();
    PaintBox1->update();
}

bool TKikanmeiForm::Edit(KikanmeiBlock &workingCopy)
{
    SetBlock(workingCopy);
    // Maximized; the screen's work area also where no window manager maximizes.
    if (const QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    if (exec() != QDialog::Accepted)
        return false;
    workingCopy = m_block;
    return true;
}

std::optional<qsizetype> TKikanmeiForm::Selection() const
{
    if (!m_selected)
        return std::nullopt;
    return m_selectedIndex;
}

bool TKikanmeiForm::InsertMode() const { return SpeedButton1->isChecked(); }

// ------------------------------------------------------------------ layout

void TKikanmeiForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

// The canvas keeps the block's proportions at every client width; texts are
// not refitted, their stored sizes are relative and simply scale.
void TKikanmeiForm::FormResize()
{
    const int width = this->width();
    const BlockEditorLayout layout = BlockEditorLayout::ForClientWidth(width);
    Panel1->setGeometry(0, 0, width, BlockEditorLayout::Panel1Height);
    Panel2->setGeometry(0, BlockEditorLayout::Panel1Height, width, layout.panel2Height);
    m_canvasWidth = layout.canvasWidth;
    m_canvasHeight = layout.canvasHeight;
    PaintBox1->setGeometry(BlockEditorLayout::BevelInset, BlockEditorLayout::BevelInset, m_canvasWidth, m_canvasHeight);
    for (QPushButton *button : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        button->move(button->x(), layout.speedButtonTop);
    for (QPushButton *button : {Button1, Button2, Button3})
        button->move(button->x(), layout.buttonTop);
    const int statusHeight = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, height() - statusHeight, width, statusHeight);
}

// ---------------------------------------------------------------- painting

// The canvas is drawn into an image of its own size first: the frame drawing
// then sees a surface that starts at the canvas's corner and has the
// image's resolution, whatever widget it is shown in.
void TKikanmeiForm::PaintBox1Paint(QPainter &screen)
{
    QImage image(PaintBox1->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const EditorCanvas canvas = Canvas();
    const BlockToPixels map = BlockToPixels::ForCanvas(m_canvasWidth, m_canvasHeight);
    const qsizetype failuresBefore = m_deferredMessages.size();
    CollectingMessages messages(m_deferredMessages);
    for (qsizetype i = 0; i < m_block.FrameCount(); ++i) {
        const WakuRecord frame = m_block.Frame(i);
        const std::optional<WakuEdges> edges = canvas.PixelEdges(frame);
        if (!edges)
            continue;
        InvertDottedOutline(painter, *edges);
        WakuTarget target;
        target.painter = &painter;
        target.edges = *edges;
        target.em = map.Em(ParseWakuInteger(frame.FontHeight).value_or(0));
        target.gap = map.Gap(ParseWakuInteger(frame.CharGap).value_or(0));
        target.inset = 1;
        DrawWaku(m_block, i, target, messages, *m_services.sounds);
    }
    if (m_rubberBand)
        InvertDottedOutline(painter, NormalizedRubberBand(m_press, m_current));
    if (m_selected && m_selectedIndex < m_block.FrameCount()) {
        if (const auto handles = canvas.Handles(m_block.Frame(m_selectedIndex)))
            XorHandles(painter, *handles);
    }
    painter.end();
    screen.drawImage(0, 0, image);
    if (m_deferredMessages.size() > failuresBefore)
        QMetaObject::invokeMethod(this, &TKikanmeiForm::ShowDeferredMessages, Qt::QueuedConnection);
}

void TKikanmeiForm::ShowDeferredMessages()
{
    const QStringList messages = std::exchange(m_deferredMessages, {});
    for (const QString &text : messages)
        m_services.messages->ShowMessage(text);
}

// ------------------------------------------------------------------- mouse

void TKikanmeiForm::PaintBox1MouseDown(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    Deselect();
    if (InsertMode()) {
        m_press = m_current = point;
        m_rubberBand = true;
        PaintBox1->update();
    } else if (m_zone && m_selectedIndex < m_block.FrameCount()) {
        m_last = point;
        m_dragging = true;
    }
}

void TKikanmeiForm::PaintBox1MouseMove(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_rubberBand) {
        m_current = point;
        PaintBox1->update();
        return;
    }
    if (m_dragging) {
        DragStep(point);
        return;
    }
    m_zone.reset();
    if (m_selected && m_selectedIndex < m_block.FrameCount())
        m_zone = Canvas().HoverZoneAt(m_block.Frame(m_selectedIndex), point);
    if (m_zone)
        PaintBox1->setCursor(ZoneCursor(*m_zone));
    else
        PaintBox1->unsetCursor();
}

// One step of a move or resize; a step that would leave the frame narrower
// or lower than 10 pixels is refused as a whole.
void TKikanmeiForm::DragStep(QPoint pointer)
{
    if (!m_zone || m_selectedIndex >= m_block.FrameCount())
        return;
    WakuRecord frame = m_block.Frame(m_selectedIndex);
    const EditorCanvas canvas = Canvas();
    const std::optional<WakuEdges> pixels = canvas.PixelEdges(frame);
    if (!pixels)
        return;
    const std::optional<WakuEdges> moved = ApplyDragStep(*pixels, *m_zone, pointer, m_last);
    if (!moved)
        return;
    const WakuEdges units = canvas.UnitEdges(*moved);
    frame.Left = QString::number(units.Left);
    frame.Top = QString::number(units.Top);
    frame.Right = QString::number(units.Right);
    frame.Bottom = QString::number(units.Bottom);
    FitWakuText(frame, m_canvasWidth, m_canvasHeight);
    m_block.SetFrame(m_selectedIndex, frame);
    PaintBox1->update();
    m_last = pointer;
}

void TKikanmeiForm::PaintBox1MouseUp(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (InsertMode()) {
        FinishInsertion(point);
        return;
    }
    m_dragging = false;
    if (const std::optional<qsizetype> hit = Canvas().FrameAt(m_block, point))
        Select(*hit);
}

void TKikanmeiForm::FinishInsertion(QPoint)
{
    SpeedButton1->setChecked(false);
    const bool wasBand = std::exchange(m_rubberBand, false);
    const std::optional<WakuRecord> frame = wasBand ? Canvas().FrameFromRubberBand(m_press, m_current) : std::nullopt;
    PaintBox1->update();
    if (!frame)
        return;
    m_block.AppendFrame(*frame);
    // The new frame is the last one and has a corner at the release point.
    Select(m_block.FrameCount() - 1);
    if (!m_wakuSelForm || m_wakuSelForm->exec() != QDialog::Accepted)
        return;
    if (m_wakuSelForm->ItemIndex() == TWakuSelForm::Text)
        ShowTextDialog(*frame);
    else
        ShowGraphicDialog(*frame);
}

// ------------------------------------------------------ selection, insert

void TKikanmeiForm::Deselect()
{
    if (m_selected) {
        m_selected = false;
        PaintBox1->update();
    }
    SpeedButton2->setEnabled(false);
    SpeedButton3->setEnabled(false);
    N2->setEnabled(false);
    N3->setEnabled(false);
}

void TKikanmeiForm::Select(qsizetype index)
{
    m_selectedIndex = index;
    m_selected = true;
    PaintBox1->update();
    SpeedButton2->setEnabled(true);
    SpeedButton3->setEnabled(true);
    N2->setEnabled(true);
    N3->setEnabled(true);
}

// The hover zone belongs to a frame that is gone: back to the default cursor.
void TKikanmeiForm::ForgetHover()
{
    m_zone.reset();
    m_dragging = false;
    PaintBox1->unsetCursor();
}

void TKikanmeiForm::SetInsertMode(bool on) { SpeedButton1->setChecked(on); }

void TKikanmeiForm::SpeedButton1MouseDown()
{
    Deselect(); // the button itself toggles on the click
}

void TKikanmeiForm::N1Click()
{
    SetInsertMode(true);
    Deselect();
}

// ----------------------------------------------------------------- editing

void TKikanmeiForm::SpeedButton2Click() { EditSelectedFrame(); }
void TKikanmeiForm::N2Click() { EditSelectedFrame(); }

void TKikanmeiForm::EditSelectedFrame()
{
    if (!m_selected || m_selectedIndex >= m_block.FrameCount() || !m_wakuSelForm)
        return;
    WakuRecord frame = m_block.Frame(m_selectedIndex);
    if (frame.Kind.isEmpty() || frame.Kind == WakuKind::Unreadable()) {
        if (m_wakuSelForm->exec() != QDialog::Accepted)
            return;
        frame.Kind =
            m_wakuSelForm->ItemIndex() == TWakuSelForm::Text ? WakuKind::Horizontal() : WakuKind::PictureFixedAspect();
        m_block.SetFrame(m_selectedIndex, frame);
    }
    if (frame.Kind == WakuKind::Horizontal() || frame.Kind == WakuKind::Vertical())
        ShowTextDialog(frame);
    else if (frame.Kind == WakuKind::PictureFixedAspect() || frame.Kind == WakuKind::PictureStretched())
        ShowGraphicDialog(frame);
}

// The text dialog on `frame` (the selected one); OK stores its values and
// refits the text.
void TKikanmeiForm::ShowTextDialog(const WakuRecord &frame)
{
    m_mojiForm->SetValues(MojiValuesFromFrame(frame));
    if (m_mojiForm->exec() != QDialog::Accepted)
        return;
    WakuRecord stored = frame;
    if (StoreMojiValues(stored, m_mojiForm->Values()))
        m_services.messages->ShowMessage(EmptyFontNameMessage());
    FitWakuText(stored, m_canvasWidth, m_canvasHeight);
    m_block.SetFrame(m_selectedIndex, stored);
    PaintBox1->update();
}

void TKikanmeiForm::ShowGraphicDialog(const WakuRecord &frame)
{
    m_graphicForm->SetValues(GraphicValuesFromFrame(frame));
    if (m_graphicForm->exec() != QDialog::Accepted)
        return;
    WakuRecord stored = frame;
    StoreGraphicValues(stored, m_graphicForm->Values());
    m_block.SetFrame(m_selectedIndex, stored);
    PaintBox1->update();
}

// ---------------------------------------------------------------- deleting

void TKikanmeiForm::SpeedButton3Click() { DeleteSelectedFrame(); }
void TKikanmeiForm::N3Click() { DeleteSelectedFrame(); }

void TKikanmeiForm::DeleteSelectedFrame()
{
    if (!m_selected)
        return;
    if (!kikanmei_ui::ConfirmDeletion(m_services, QStringLiteral("この枠情報を削除しますか？")))
        return;
    Deselect();
    ForgetHover();
    if (m_selectedIndex < m_block.FrameCount())
        m_block.RemoveFrame(m_selectedIndex);
    PaintBox1->update();
}

void TKikanmeiForm::SpeedButton4Click() { DeleteAllFrames(); }
void TKikanmeiForm::N5Click() { DeleteAllFrames(); }

// Asked also when the block is already empty.
void TKikanmeiForm::DeleteAllFrames()
{
    if (!kikanmei_ui::ConfirmDeletion(m_services, QStringLiteral("全ての枠情報を削除しますか？")))
        return;
    Deselect();
    ForgetHover();
    m_block.Clear();
    PaintBox1->update();
}

// -------------------------------------------------------------------- keys

// Key releases of the controls that do not use them reach the window, so the
// Insert and Delete keys work wherever the focus is.
void TKikanmeiForm::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    FormKeyUp(event->key());
}

void TKikanmeiForm::FormKeyUp(int key)
{
    if (key == Qt::Key_Delete) {
        DeleteSelectedFrame();
    } else if (key == Qt::Key_Insert) {
        if (InsertMode()) {
            SetInsertMode(false);
        } else {
            SetInsertMode(true);
            Deselect();
        }
    }
}

// ----------------------------------------------------------------- closing

void TKikanmeiForm::Button1Click() { reject(); }

void TKikanmeiForm::reject()
{
    Deselect();
    ForgetHover();
    m_rubberBand = false;
    QDialog::reject();
}

void TKikanmeiForm::Button3Click() { m_services.help->ShowHelp(platform::help_topics::Kikanmei()); }

} // namespace ralvo
