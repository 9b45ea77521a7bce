#pragma once

// The text editor window: a small notepad that shows the text schedule and
// lets the user edit, print, save or open plain Shift-JIS text files.

#include "platform/Platform.h"
#include "textout/TextEditorCommands.h"

#include <QMainWindow>
#include <QPrinter>

#include <memory>

class QAction;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace ralvo::textout {

class TTextEditorForm final : public QMainWindow, private EditorDocument
{
    Q_OBJECT

public:
    explicit TTextEditorForm(const platform::Services &services, QWidget *parent = nullptr);
    ~TTextEditorForm() override;

    // Replaces the whole text by `lines` and clears the modified flag.
    void SetLines(const QStringList &lines);
    QString Caption() const override;
    void SetCaption(const QString &caption) override;
    bool IsModified() const override;

    // Shows the window maximized and modal; returns when it has closed.
    void ShowModal();

    // The editor's current printer (the printer set-up's choice).
    // The editor's printer, made on first use (asking CUPS takes time).
    QPrinter &Printer();

    // Controls, named as the window's parts.
    QPlainTextEdit *RichEdit1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *Cut2 = nullptr;
    QAction *N1 = nullptr;
    QAction *Paste2 = nullptr;
    QAction *Delete2 = nullptr;
    QAction *N6 = nullptr;
    QAction *SelectAll2 = nullptr;

    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton10 = nullptr;
    QToolButton *ToolButton2 = nullptr;
    QToolButton *ToolButton3 = nullptr;
    QToolButton *ToolButton7 = nullptr;
    QToolButton *ToolButton8 = nullptr;
    QToolButton *ToolButton9 = nullptr;

    QMenu *File1 = nullptr;
    QAction *N3 = nullptr;
    QAction *Open1 = nullptr;
    QAction *Close1 = nullptr;
    QAction *N2 = nullptr;
    QAction *SaveAs2 = nullptr;
    QAction *N7 = nullptr;
    QAction *Print1 = nullptr;
    QAction *PrintSetup1 = nullptr;
    QMenu *Edit1 = nullptr;
    QAction *Cut1 = nullptr;
    QAction *Copy1 = nullptr;
    QAction *Paste1 = nullptr;
    QAction *Delete1 = nullptr;
    QAction *N5 = nullptr;
    QAction *SelectAll1 = nullptr;

    QStatusBar *StatusBar1 = nullptr;

Q_SIGNALS:
    // The window has closed (the close query let it).
    void Closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // EditorDocument
    QString Text() const override;
    void SetText(const QString &text) override;
    void SetModified(bool modified) override;
    void SetReadOnly(bool readOnly) override;

    void CreateMenus();
    void CreateToolBar();
    void CreatePopupMenu();
    QToolButton *AddToolButton(int imageIndex, const QString &hint);

    // Handlers.
    void Cut1Click();
    void ToolButton7Click();
    void Cut2Click();
    void Copy1Click();
    void ToolButton8Click();
    void N1Click();
    void Paste1Click();
    void ToolButton9Click();
    void Paste2Click();
    void Delete1Click();
    void Delete2Click();
    void SelectAll1Click();
    void SelectAll2Click();
    void N3Click();
    void Open1Click();
    void ToolButton10Click();
    void SaveAs2Click();
    void ToolButton2Click();
    void Print1Click();
    void ToolButton3Click();
    void PrintSetup1Click();
    void Close1Click();
    void FormCloseQuery(bool &canClose);
    void RichEdit1ContextPopup(const QPoint &position);

    // Shared operations.
    void CutSelection();
    void CopySelection();
    void PasteClipboard();
    void DeleteSelection();
    void SelectAllText();
    void PrintText();

    platform::Services m_services;
    TextEditorCommands m_commands;
    std::unique_ptr<QPrinter> m_printer;
    QString m_caption;
};

} // namespace ralvo::textout
