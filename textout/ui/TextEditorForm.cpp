#include "textout/ui/TextEditorForm.h"

#include "platform/Fonts.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/DialogHelpers.h"
#include "textout/ui/EditorIcons.h"

#include "platform/qt/PrintJobs.h"

#include <QAbstractTextDocumentLayout>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

namespace ralvo::textout {

namespace {

QFont PixelFont(const QString &family, int pixelSize, bool fixedPitch)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setFixedPitch(fixedPitch);
    if (fixedPitch)
        font.setStyleHint(QFont::TypeWriter);
    return font;
}

// The window's sizes are screen pixels of a 96 dpi display.
constexpr qreal kDesignDpi = 96.0;
constexpr qreal kPrintMarginMm = 5.0;

// Prints `text` on the printer's pages in `font` at the size it has on the
// screen (16 pixels become 12 points), one line per line as far as the page
// is wide, inside a small margin of the printable area. False when the
// printer cannot be started.
bool PrintPlainText(QPrinter &printer, const QString &text, QFont font)
{
    if (font.pixelSize() > 0)
        font.setPointSizeF(font.pixelSize() * 72.0 / kDesignDpi);
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    // The layout scales frame margins from the screen's resolution to the
    // printer's.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal screenDpi = screen ? qRound(screen->logicalDotsPerInchY()) : kDesignDpi;
    document.setDocumentMargin(kPrintMarginMm / 25.4 * screenDpi);
    document.setPlainText(text);
    // Laid out in the printer's own units, page by page; no line is cut
    // between two pages.
    const QSizeF page(printer.width(), printer.height());
    document.setPageSize(page);
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0)
            printer.newPage();
        painter.save();
        const QRectF area(QPointF(0, index * page.height()), page);
        painter.translate(0, -area.top());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

} // namespace

TTextEditorForm::TTextEditorForm(const platform::Services &services, QWidget *parent)
    : QMainWindow(parent, Qt::Window), m_services(services), m_commands(*this, services)
{
    setObjectName(QStringLiteral("TextEditorForm"));
    resize(577, 435);
    platform::UseDialogFont(*this);
    setWindowIcon(EditorWindowIcon());

    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    platform::NameControl(RichEdit1, QStringLiteral("スケジュール表のテキスト"));
    RichEdit1->setFont(PixelFont(platform::WindowFace(QStringLiteral("ＭＳ 明朝")), 16, true));
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setWordWrapMode(QTextOption::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The selection stays visible when the area loses the focus.
    QPalette palette = RichEdit1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    RichEdit1->setPalette(palette);
    setCentralWidget(RichEdit1);

    CreatePopupMenu();
    CreateMenus();
    CreateToolBar();
    platform::UseWindowFontInMenus(*this);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    SetCaption(QString());
}

TTextEditorForm::~TTextEditorForm() = default;

// ------------------------------------------------------------- construction

void TTextEditorForm::CreateMenus()
{
    auto addItem = [this](QMenu *menu, const char *name, const QString &caption, void (TTextEditorForm::*handler)()) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto addSeparator = [](QMenu *menu, const char *name) {
        QAction *action = menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };

    File1 = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    File1->setObjectName(QStringLiteral("File1"));
    N3 = addItem(File1, "N3", QStringLiteral("新規作成(&N)"), &TTextEditorForm::N3Click);
    Open1 = addItem(File1, "Open1", QStringLiteral("開く(&O)"), &TTextEditorForm::Open1Click);
    Close1 = addItem(File1, "Close1", QStringLiteral("閉じる(&C)"), &TTextEditorForm::Close1Click);
    N2 = addSeparator(File1, "N2");
    SaveAs2 = addItem(File1, "SaveAs2", QStringLiteral("名前を付けて保存(&A)"), &TTextEditorForm::SaveAs2Click);
    N7 = addSeparator(File1, "N7");
    Print1 = addItem(File1, "Print1", QStringLiteral("印刷(&P)"), &TTextEditorForm::Print1Click);
    Print1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    PrintSetup1 = addItem(File1, "PrintSetup1", QStringLiteral("ﾌﾟﾘﾝﾀのﾞ設定(&Q)"), &TTextEditorForm::PrintSetup1Click);

    Edit1 = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Cut1 = addItem(Edit1, "Cut1", QStringLiteral("切り取り(&T)"), &TTextEditorForm::Cut1Click);
    Cut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    Copy1 = addItem(Edit1, "Copy1", QStringLiteral("ｺﾋﾟｰ(&C)"), &TTextEditorForm::Copy1Click);
    Copy1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Paste1 = addItem(Edit1, "Paste1", QStringLiteral("貼り付け(&P)"), &TTextEditorForm::Paste1Click);
    Paste1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    Delete1 = addItem(Edit1, "Delete1", QStringLiteral("削除(&D)"), &TTextEditorForm::Delete1Click);
    N5 = addSeparator(Edit1, "N5");
    SelectAll1 = addItem(Edit1, "SelectAll1", QStringLiteral("すべて選択(&A)"), &TTextEditorForm::SelectAll1Click);
}

void TTextEditorForm::CreatePopupMenu()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto addItem = [this](const char *name, const QString &caption, void (TTextEditorForm::*handler)()) {
        QAction *action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    Cut2 = addItem("Cut2", QStringLiteral("切り取り(&T)"), &TTextEditorForm::Cut2Click);
    N1 = addItem("N1", QStringLiteral("コピー(&C)"), &TTextEditorForm::N1Click);
    Paste2 = addItem("Paste2", QStringLiteral("貼り付け(&P)"), &TTextEditorForm::Paste2Click);
    Delete2 = addItem("Delete2", QStringLiteral("削除(&D)"), &TTextEditorForm::Delete2Click);
    N6 = PopupMenu1->addSeparator();
    N6->setObjectName(QStringLiteral("N6"));
    SelectAll2 = addItem("SelectAll2", QStringLiteral("すべて選択(&A)"), &TTextEditorForm::SelectAll2Click);

    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this, &TTextEditorForm::RichEdit1ContextPopup);
}

QToolButton *TTextEditorForm::AddToolButton(int imageIndex, const QString &hint)
{
    auto *button = new QToolButton(ToolBar1);
    button->setIcon(EditorIcon(EditorImage(imageIndex)));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    ToolBar1->addWidget(button);
    return button;
}

void TTextEditorForm::CreateToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(28);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    ToolBar1->addSeparator();
    ToolButton10 = AddToolButton(int(EditorImage::Open), QStringLiteral("開く"));
    ToolButton2 = AddToolButton(int(EditorImage::SaveAs), QStringLiteral("名前を付けて保存"));
    ToolButton3 = AddToolButton(int(EditorImage::Print), QStringLiteral("印刷"));
    ToolBar1->addSeparator();
    ToolButton7 = AddToolButton(int(EditorImage::Cut), QStringLiteral("切り取り"));
    ToolButton8 = AddToolButton(int(EditorImage::Copy), QStringLiteral("コピー"));
    ToolButton9 = AddToolButton(int(EditorImage::Paste), QStringLiteral("貼り付け"));
    ToolBar1->addSeparator();

    const std::pair<QToolButton *, const char *> names[] = {
        {ToolButton10, "ToolButton10"}, {ToolButton2, "ToolButton2"}, {ToolButton3, "ToolButton3"},
        {ToolButton7, "ToolButton7"},   {ToolButton8, "ToolButton8"}, {ToolButton9, "ToolButton9"}};
    for (const auto &[button, name] : names)
        button->setObjectName(QString::fromLatin1(name));

    connect(ToolButton10, &QToolButton::clicked, this, &TTextEditorForm::ToolButton10Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TTextEditorForm::ToolButton2Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TTextEditorForm::ToolButton3Click);
    connect(ToolButton7, &QToolButton::clicked, this, &TTextEditorForm::ToolButton7Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TTextEditorForm::ToolButton8Click);
    connect(ToolButton9, &QToolButton::clicked, this, &TTextEditorForm::ToolButton9Click);
}

// ------------------------------------------------------------ the document

QString TTextEditorForm::Text() const { return RichEdit1->toPlainText(); }

void TTextEditorForm::SetText(const QString &text) { RichEdit1->setPlainText(text); }

void TTextEditorForm::SetLines(const QStringList &lines)
{
    SetText(lines.join(u'\n'));
    SetModified(false);
}

bool TTextEditorForm::IsModified() const { return RichEdit1->document()->isModified(); }

void TTextEditorForm::SetModified(bool modified) { RichEdit1->document()->setModified(modified); }

QString TTextEditorForm::Caption() const { return m_caption; }

void TTextEditorForm::SetCaption(const QString &caption)
{
    m_caption = caption;
    // "[*]" in a window title is Qt's placeholder for the modified mark; a
    // file name may hold it literally.
    QString title = caption;
    title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    setWindowTitle(title);
}

void TTextEditorForm::SetReadOnly(bool readOnly) { RichEdit1->setReadOnly(readOnly); }

// ------------------------------------------------------------------ showing

void TTextEditorForm::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    // Without a window manager (a bare X server) the maximized state is only
    // a wish: fill the screen's available area anyway.
    if (const QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry());
    showMaximized();
    raise();
    activateWindow();
    RichEdit1->setFocus();
    QEventLoop loop;
    connect(this, &TTextEditorForm::Closed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

void TTextEditorForm::closeEvent(QCloseEvent *event)
{
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT Closed();
}

// ----------------------------------------------------------------- handlers

void TTextEditorForm::Cut1Click() { CutSelection(); }
void TTextEditorForm::ToolButton7Click() { CutSelection(); }
void TTextEditorForm::Cut2Click() { CutSelection(); }
void TTextEditorForm::Copy1Click() { CopySelection(); }
void TTextEditorForm::ToolButton8Click() { CopySelection(); }
void TTextEditorForm::N1Click() { CopySelection(); }
void TTextEditorForm::Paste1Click() { PasteClipboard(); }
void TTextEditorForm::ToolButton9Click() { PasteClipboard(); }
void TTextEditorForm::Paste2Click() { PasteClipboard(); }
void TTextEditorForm::Delete1Click() { DeleteSelection(); }
void TTextEditorForm::Delete2Click() { DeleteSelection(); }
void TTextEditorForm::SelectAll1Click() { SelectAllText(); }
void TTextEditorForm::SelectAll2Click() { SelectAllText(); }
void TTextEditorForm::N3Click() { m_commands.New(); }
void TTextEditorForm::Open1Click() { m_commands.Open(); }
void TTextEditorForm::ToolButton10Click() { m_commands.Open(); }
void TTextEditorForm::SaveAs2Click() { m_commands.SaveAs(); }
void TTextEditorForm::ToolButton2Click() { m_commands.SaveAs(); }
void TTextEditorForm::Print1Click() { PrintText(); }
void TTextEditorForm::ToolButton3Click() { PrintText(); }
void TTextEditorForm::Close1Click() { close(); }

QPrinter &TTextEditorForm::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void TTextEditorForm::PrintSetup1Click()
{
    // The dialog opens on a printer installed now, when there is one.
    platform::AimAtInstalledPrinter(Printer(), *m_services.printDialogs, true);
    m_services.printDialogs->ExecPrinterSetupDialog(Printer());
}

void TTextEditorForm::FormCloseQuery(bool &canClose)
{
    canClose = m_commands.QuerySave() == TextEditorCommands::Continuation::GoOn;
}

void TTextEditorForm::RichEdit1ContextPopup(const QPoint &position)
{
    PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(position));
}

// --------------------------------------------------------- shared operations

void TTextEditorForm::CutSelection() { RichEdit1->cut(); }
void TTextEditorForm::CopySelection() { RichEdit1->copy(); }

void TTextEditorForm::PasteClipboard()
{
    if (!RichEdit1->isReadOnly())
        RichEdit1->paste();
}

void TTextEditorForm::DeleteSelection()
{
    if (RichEdit1->isReadOnly())
        return;
    QTextCursor cursor = RichEdit1->textCursor();
    cursor.removeSelectedText();
    RichEdit1->setTextCursor(cursor);
}

void TTextEditorForm::SelectAllText() { RichEdit1->selectAll(); }

void TTextEditorForm::PrintText()
{
    // The printers are asked for each time: one installed since the last
    // print is found. Without any, Qt would fall back to a PDF file without
    // a name and nothing would come out: say so instead of pretending.
    if (!platform::AimAtInstalledPrinter(Printer(), *m_services.printDialogs, true)) {
        m_services.messages->ShowMessage(QStringLiteral("印刷できるプリンタがありません。"));
        return;
    }
    Printer().setDocName(m_caption);
    const platform::PrintJobCheck job(Printer());
    if (!PrintPlainText(Printer(), RichEdit1->toPlainText(), RichEdit1->font()))
        m_services.messages->ShowMessage(QStringLiteral("印刷を開始できません。"));
    else if (!job.Accepted())
        m_services.messages->ShowMessage(platform::PrintRefusedMessage());
}

} // namespace ralvo::textout
