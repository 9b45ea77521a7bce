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

    // The editor's current printer (the printer set-up's choice), made on
    // first use (asking CUPS takes time).
    QPrinter &Printer();

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

    // The text area and its context menu.
    QPlainTextEdit *RichEdit1 = nullptr; // the text, plain and unwrapped
    QMenu *PopupMenu1 = nullptr;         // the text area's context menu
    QAction *Cut2 = nullptr;             // "切り取り(&T)": cut
    QAction *N1 = nullptr;               // "コピー(&C)": copy
    QAction *Paste2 = nullptr;           // "貼り付け(&P)": paste
    QAction *Delete2 = nullptr;          // "削除(&D)": delete the selection
    QAction *N6 = nullptr;               // separator
    QAction *SelectAll2 = nullptr;       // "すべて選択(&A)": select all

    // The tool bar.
    QToolBar *ToolBar1 = nullptr;        // the six command buttons
    QToolButton *ToolButton10 = nullptr; // open
    QToolButton *ToolButton2 = nullptr;  // save as
    QToolButton *ToolButton3 = nullptr;  // print
    QToolButton *ToolButton7 = nullptr;  // cut
    QToolButton *ToolButton8 = nullptr;  // copy
    QToolButton *ToolButton9 = nullptr;  // paste

    // The main menu.
    QMenu *File1 = nullptr;         // "ﾌｧｲﾙ(&F)"
    QAction *N3 = nullptr;          // "新規作成(&N)": new, empty text
    QAction *Open1 = nullptr;       // "開く(&O)": open a text file
    QAction *Close1 = nullptr;      // "閉じる(&C)": close the window
    QAction *N2 = nullptr;          // separator
    QAction *SaveAs2 = nullptr;     // "名前を付けて保存(&A)": save as
    QAction *N7 = nullptr;          // separator
    QAction *Print1 = nullptr;      // "印刷(&P)", Ctrl+P: print at once, no dialog
    QAction *PrintSetup1 = nullptr; // printer set-up
    QMenu *Edit1 = nullptr;         // "編集(&E)"
    QAction *Cut1 = nullptr;        // "切り取り(&T)", Ctrl+X: cut
    QAction *Copy1 = nullptr;       // "ｺﾋﾟｰ(&C)", Ctrl+C: copy
    QAction *Paste1 = nullptr;      // "貼り付け(&P)", Ctrl+V: paste
    QAction *Delete1 = nullptr;     // "削除(&D)": delete the selection
    QAction *N5 = nullptr;          // separator
    QAction *SelectAll1 = nullptr;  // "すべて選択(&A)": select all

    QStatusBar *StatusBar1 = nullptr; // stays empty

    platform::Services m_services;
    TextEditorCommands m_commands;
    std::unique_ptr<QPrinter> m_printer;
    QString m_caption;
};

} // namespace ralvo::textout
