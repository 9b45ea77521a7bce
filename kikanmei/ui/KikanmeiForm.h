#pragma once

#include "kikanmei/BlockEditorGeometry.h"
#include "kikanmei/KikanmeiBlock.h"
#include "platform/Platform.h"

#include <QDialog>

#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QMouseEvent;
class QPainter;
class QPushButton;
class QStatusBar;

namespace ralvo {

class PaintBox;
class TGraphicForm;
class TMojiForm;
class TWakuSelForm;

// "機関名等の編集": lays out the institution block with the mouse on a white
// canvas with the block's proportions. It works on a working copy handed in
// by the caller (Edit) and hands it back only after OK.
//
// Everything the canvas shows is kept as state (frames, selection, rubber
// band) and painted from it: the dotted outlines and the rubber band invert
// the pixels under them, the handles are aqua combined by exclusive-or, as
// they look when drawn straight onto the screen.
class TKikanmeiForm : public QDialog
{
    Q_OBJECT

public:
    explicit TKikanmeiForm(const platform::Services &services, QWidget *parent = nullptr);

    // The frame dialogs, created after this window.
    void SetFrameDialogs(TWakuSelForm *wakuSelForm, TMojiForm *mojiForm, TGraphicForm *graphicForm);

    // Shows the editor maximized and modally on `workingCopy`; true when it
    // ended with OK, `workingCopy` then holding the edited block.
    bool Edit(KikanmeiBlock &workingCopy);

    // The working block as the canvas shows it (also before Edit returns).
    const KikanmeiBlock &Block() const { return m_block; }
    void SetBlock(const KikanmeiBlock &block);

    // Canvas size W × H and the selection, as the window holds them.
    EditorCanvas Canvas() const { return {m_canvasWidth, m_canvasHeight}; }
    std::optional<qsizetype> Selection() const;
    bool InsertMode() const;
    std::optional<HoverZone> CurrentHoverZone() const { return m_zone; }

public Q_SLOTS:
    void reject() override; // Cancel, Esc and the close box

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void BuildControls();
    void FormCreate();
    void FormResize();
    void PaintBox1Paint(QPainter &painter);
    void PaintBox1MouseDown(QMouseEvent *event);
    void PaintBox1MouseMove(QMouseEvent *event);
    void PaintBox1MouseUp(QMouseEvent *event);
    void SpeedButton1MouseDown();
    void N1Click();
    void SpeedButton2Click();
    void N2Click();
    void SpeedButton3Click();
    void N3Click();
    void SpeedButton4Click();
    void N5Click();
    void FormKeyUp(int key);
    void Button1Click();
    void Button3Click();

    // Shared operations.
    void Deselect();
    void Select(qsizetype index);
    void SetInsertMode(bool on);
    void DragStep(QPoint pointer);
    void FinishInsertion(QPoint release);
    void EditSelectedFrame();
    void DeleteSelectedFrame();
    void DeleteAllFrames();
    void ShowTextDialog(const WakuRecord &frame);
    void ShowGraphicDialog(const WakuRecord &frame);
    void ForgetHover();
    void ShowDeferredMessages();

    QFrame *Panel1 = nullptr;            // top panel holding Label1
    QLabel *Label1 = nullptr;            // what the window is for
    QFrame *Panel2 = nullptr;            // white, bevelled frame of the canvas
    PaintBox *PaintBox1 = nullptr;       // the canvas: frames, selection, rubber band
    QPushButton *SpeedButton1 = nullptr; // "枠の挿入": insert mode, stays down
    QPushButton *SpeedButton2 = nullptr; // "枠の編集": edit the selected frame
    QPushButton *SpeedButton3 = nullptr; // "枠の削除": delete the selected frame
    QPushButton *SpeedButton4 = nullptr; // "全ての枠の削除": delete every frame
    QPushButton *Button2 = nullptr;      // OK
    QPushButton *Button1 = nullptr;      // Cancel
    QPushButton *Button3 = nullptr;      // "ﾍﾙﾌﾟ": help
    QStatusBar *StatusBar1 = nullptr;    // stays empty
    QMenu *PopupMenu1 = nullptr;         // the canvas's context menu
    QAction *N1 = nullptr;               // "枠の挿入": insert mode
    QAction *N2 = nullptr;               // "枠の編集": edit the selected frame
    QAction *N3 = nullptr;               // "枠の削除": delete the selected frame
    QAction *N4 = nullptr;               // separator
    QAction *N5 = nullptr;               // "全ての枠の削除": delete every frame

    platform::Services m_services;
    TWakuSelForm *m_wakuSelForm = nullptr;
    TMojiForm *m_mojiForm = nullptr;
    TGraphicForm *m_graphicForm = nullptr;

    KikanmeiBlock m_block;  // the working block
    int m_canvasWidth = 0;  // W
    int m_canvasHeight = 0; // H
    bool m_selected = false;
    qsizetype m_selectedIndex = 0; // the target of a move or resize
    bool m_rubberBand = false;
    bool m_dragging = false;
    std::optional<HoverZone> m_zone; // the hover zone last found; none: default cursor
    QPoint m_last;                   // drag start, then every accepted step
    QPoint m_press;                  // the rubber band's press point (L, T)
    QPoint m_current;                // its current point (R, B)
    QStringList m_deferredMessages;  // picture failures found while painting
};

} // namespace ralvo
