#pragma once

#include "platform/Platform.h"
#include "platform/qt/PaintBox.h"
#include "print/PreviewMessages.h"
#include "print/PreviewZoom.h"
#include "print/SchedulePdf.h"

#include <QDialog>

class QFrame;
class QScrollArea;
class QStatusBar;
class QToolButton;

namespace ralvo {

struct AppRecords;
class LastInputFields;
class SchedulePrinter;

// The preview's paint box: a plain surface whose painting is done by its
// owner, clipped to the exposed region.
using TPaintBox = PaintBox;

// The print preview: the schedule page on a white sheet with a dotted blue
// outline, five zoom levels, and the print command. Created once and shown
// modally again and again; the zoom level, the sheet's size and the zoom
// buttons' state stay from one showing to the next. Every repaint draws the
// page anew from the settings and the main window's inputs as they are.
class TPrevForm final : public QDialog
{
    Q_OBJECT

public:
    // None is owned; all must outlive the window.
    TPrevForm(const platform::Services &services, AppRecords &records, const LastInputFields &fields,
              SchedulePrinter &printer, QWidget *parent = nullptr);

    // Shows the preview modally, maximized.
    int exec() override;

    const preview::ZoomState &Zoom() const { return m_zoom; }

    // How the PDF button writes its file (the application's checked writer).
    void SetFileWriter(FileWriter write) { m_writeFile = std::move(write); }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();

    void FormCreate();
    void FormResize();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void PaintBox1Paint(QPainter &painter);

    void FitPaper();
    void ApplyZoom(const preview::ZoomState &zoom);
    void ShowHeldMessages();

    platform::Services m_services;
    AppRecords &m_records;
    const LastInputFields &m_fields;
    SchedulePrinter &m_printer;
    PreviewMessages m_messages;
    bool m_messagesQueued = false;
    preview::ZoomState m_zoom;
    FileWriter m_writeFile;

    QFrame *Panel1 = nullptr;            // the button row at the top
    QToolButton *SpeedButton1 = nullptr; // "印刷": print the schedule
    QToolButton *SpeedButton2 = nullptr; // "ズームイン": zoom in
    QToolButton *SpeedButton3 = nullptr; // "ズームアウト": zoom out
    QToolButton *SpeedButton4 = nullptr; // "閉じる": close the preview
    QToolButton *SpeedButton5 = nullptr; // "PDF保存": save the page as a PDF file
    QStatusBar *StatusBar1 = nullptr;    // stays empty
    QScrollArea *ScrollBox1 = nullptr;   // the white area the sheet scrolls in
    TPaintBox *PaintBox1 = nullptr;      // the sheet: the page drawn anew on every repaint
};

} // namespace ralvo
