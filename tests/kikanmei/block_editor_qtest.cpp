// The institution block editor and the frame dialogs driven through their
// controls and mouse events, offscreen, with the fake platform.

#include "kikanmei/ui/GraphicForm.h"
#include "kikanmei/ui/KikanmeiForm.h"
#include "kikanmei/ui/MojiForm.h"
#include "kikanmei/ui/WakuSelForm.h"
#include "platform/Fonts.h"
#include "platform/SharedColorChooser.h"
#include "platform/qt/ColorGlyphButton.h"
#include "platform/qt/PaintBox.h"
#include "support/FakePlatform.h"
#include "support/FindControl.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace ralvo;
using platform::ColorGlyphButton;
using test::Control;

namespace {

// Runs `act` as soon as `dialog` is shown (modally, by the code under test).
// Whatever `act` leaves open is cancelled, so a failed check never hangs.
void WhenShown(QDialog &dialog, std::function<void()> act)
{
    auto *poll = new QTimer(&dialog);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, &dialog, [poll, &dialog, act = std::move(act)] {
        if (!dialog.isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act();
        if (dialog.isVisible())
            dialog.reject();
    });
    poll->start();
}

struct Editor
{
    test::FakePlatform fakes;
    platform::Services services = fakes.Services();
    platform::SharedColorChooser chooser{fakes.colorChooser};
    TKikanmeiForm form{services};
    TWakuSelForm wakuSel;
    TMojiForm moji{services, chooser};
    TGraphicForm graphic{services};

    Editor()
    {
        form.SetFrameDialogs(&wakuSel, &moji, &graphic);
        form.resize(1004, 700); // canvas 1000 × 229
        form.show();
    }

    // The canvas, where every mouse event of the editor goes.
    PaintBox *Canvas() const { return Control<PaintBox>(form, "PaintBox1"); }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                          ? Qt::MouseButtons()
                                          : Qt::MouseButtons(button);
        QMouseEvent event(type, QPointF(at), Canvas()->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(Canvas(), &event);
    }
    void Press(QPoint at, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonPress, at, b); }
    void Move(QPoint at) { Send(QEvent::MouseMove, at); }
    void Release(QPoint at, Qt::MouseButton b = Qt::LeftButton) { Send(QEvent::MouseButtonRelease, at, b); }
    void Click(QPoint at)
    {
        Press(at);
        Release(at);
    }
    void Drag(QPoint from, QPoint to)
    {
        Move(from);
        Press(from);
        Move(to);
        Release(to);
    }
    // A rubber band in insert mode; the kind dialog is answered by `kind`.
    void Insert(QPoint from, QPoint to, std::function<void()> kind = {})
    {
        if (!form.InsertMode())
            QTest::mouseClick(Control<QPushButton>(form, "SpeedButton1"), Qt::LeftButton);
        const auto cancel = [this] { Control<QPushButton>(wakuSel, "Button2")->click(); };
        WhenShown(wakuSel, kind ? kind : cancel);
        Drag(from, to);
    }
    void KeyUp(Qt::Key key)
    {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier);
        // The focus need not be on the window.
        QApplication::sendEvent(Control<QPushButton>(form, "SpeedButton4"), &event);
    }
    bool CommandsEnabled() const
    {
        return Control<QPushButton>(form, "SpeedButton2")->isEnabled()
               && Control<QPushButton>(form, "SpeedButton3")->isEnabled() && Control<QAction>(form, "N2")->isEnabled()
               && Control<QAction>(form, "N3")->isEnabled();
    }
    bool CommandsDisabled() const
    {
        return !Control<QPushButton>(form, "SpeedButton2")->isEnabled()
               && !Control<QPushButton>(form, "SpeedButton3")->isEnabled() && !Control<QAction>(form, "N2")->isEnabled()
               && !Control<QAction>(form, "N3")->isEnabled();
    }
};

WakuRecord Frame(int l, int t, int r, int b) { return WakuRecord::WithEdges(l, t, r, b); }

KikanmeiBlock BlockOf(std::initializer_list<WakuRecord> frames)
{
    KikanmeiBlock block;
    for (const WakuRecord &f : frames)
        block.AppendFrame(f);
    return block;
}

QRgb Pixel(QWidget *widget, QPoint at) { return widget->grab().toImage().pixel(at); }

} // namespace

class BlockEditorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { platform::InstallFontSubstitutions(); }

    void layoutOfA1004PixelWindow()
    {
        Editor e;
        QCOMPARE(e.Canvas()->size(), QSize(1000, 229));
        QCOMPARE(Control<QFrame>(e.form, "Panel2")->geometry(), QRect(0, 73, 1004, 233));
        QCOMPARE(Control<QPushButton>(e.form, "SpeedButton1")->y(), 73 + 233 + 80);
        QCOMPARE(Control<QPushButton>(e.form, "Button2")->y(), 73 + 233 + 136);
        QCOMPARE(Control<QPushButton>(e.form, "Button3")->x(), 480);
        QVERIFY(!e.form.InsertMode());
        QVERIFY(e.CommandsDisabled());
    }

    void insertingTheWorkedExampleFrame()
    {
        Editor e;
        bool kindAsked = false;
        e.Insert({100, 20}, {500, 80}, [&] {
            kindAsked = true;
            // While the kind is asked, the new frame is already selected.
            QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
            Control<QPushButton>(e.wakuSel, "Button2")->click();
        });
        QVERIFY(kindAsked);
        QCOMPARE(e.form.Block().FrameCount(), 1);
        QCOMPARE(e.form.Block().Frame(0), Frame(1000, 873, 5000, 3493));
        QVERIFY(!e.form.InsertMode());
        QVERIFY(!Control<QPushButton>(e.form, "SpeedButton1")->isChecked());
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
        QVERIFY(e.CommandsEnabled());
    }

    void tooSmallARubberBandAddsNothing()
    {
        Editor e;
        QTest::mouseClick(Control<QPushButton>(e.form, "SpeedButton1"), Qt::LeftButton);
        e.Drag({100, 20}, {109, 29});
        QCOMPARE(e.form.Block().FrameCount(), 0);
        QVERIFY(!e.form.InsertMode());
        QVERIFY(e.form.Selection() == std::nullopt);
        QVERIFY(!e.wakuSel.isVisible());

        e.Insert({100, 20}, {200, 25});
        QCOMPARE(e.form.Block().FrameCount(), 1);
    }

    void theRubberBandIsShownWhileDragging()
    {
        Editor e;
        QTest::mouseClick(Control<QPushButton>(e.form, "SpeedButton1"), Qt::LeftButton);
        e.Press({100, 20});
        e.Move({300, 120});
        // A dotted band from (100, 20) to (300, 120), right and bottom edges
        // excluded: every other pixel of its top edge is inverted to black.
        const QImage canvas = e.Canvas()->grab().toImage();
        int dots = 0;
        for (int x = 100; x < 300; ++x)
            dots += canvas.pixel(x, 20) == qRgb(0, 0, 0);
        QCOMPARE(dots, 100);
        QCOMPARE(canvas.pixel(200, 70), qRgb(255, 255, 255));
        QCOMPARE(canvas.pixel(200, 121), qRgb(255, 255, 255));
        WhenShown(e.wakuSel, [&] { Control<QPushButton>(e.wakuSel, "Button2")->click(); });
        e.Release({300, 120});
        QCOMPARE(e.form.Block().FrameCount(), 1);
    }

    void textFrameThroughTheDialogs()
    {
        Editor e;
        e.Insert({100, 20}, {500, 80}, [&] {
            Control<QRadioButton>(e.wakuSel, "RadioGroup1Item0")->setChecked(true);
            WhenShown(e.moji, [&] {
                auto *text = Control<QLineEdit>(e.moji, "Edit1");
                QCOMPARE(text->text(), QString());
                QCOMPARE(Control<QComboBox>(e.moji, "ComboBox1")->currentText(), QString());
                QVERIFY(Control<QRadioButton>(e.moji, "RadioGroup1Item0")->isChecked());
                QCOMPARE(Control<ColorGlyphButton>(e.moji, "BitBtn1")->GlyphColor(), 0u);
                QCOMPARE(e.moji.focusWidget(), text);
                text->setText(QStringLiteral("ABC"));
                Control<QPushButton>(e.moji, "Button1")->click();
            });
            Control<QPushButton>(e.wakuSel, "Button1")->click();
        });
        const WakuRecord frame = e.form.Block().Frame(0);
        QCOMPARE(frame.Kind, QStringLiteral("L"));
        QCOMPARE(frame.Content, QStringLiteral("ABC"));
        QCOMPARE(frame.FontName, QStringLiteral("ＭＳ 明朝"));
        QCOMPARE(frame.Color, QStringLiteral("0"));
        QCOMPARE(frame.FontHeight, QStringLiteral("580"));
        QCOMPARE(frame.CharGap, QStringLiteral("6790"));
        QCOMPARE(e.fakes.messages.shown.size(), size_t(1));
        QCOMPARE(e.fakes.messages.shown.front(),
                 QStringLiteral("フォントが指定されていません。\n仮に「ＭＳ 明朝」を使用します"));
    }

    void pictureFrameThroughTheDialogs()
    {
        Editor e;
        e.Insert({100, 20}, {500, 80}, [&] {
            Control<QRadioButton>(e.wakuSel, "RadioGroup1Item1")->setChecked(true);
            WhenShown(e.graphic, [&] {
                auto *fixedRatio = Control<QCheckBox>(e.graphic, "CheckBox1");
                auto *file = Control<QLineEdit>(e.graphic, "Edit1");
                QVERIFY(fixedRatio->isChecked());
                QCOMPARE(file->text(), QString());
                file->setText(QStringLiteral("/nowhere/logo.bmp"));
                fixedRatio->setChecked(false);
                Control<QPushButton>(e.graphic, "Button2")->click();
            });
            Control<QPushButton>(e.wakuSel, "Button1")->click();
        });
        QCOMPARE(e.form.Block().Frame(0).Kind, QStringLiteral("V"));
        QCOMPARE(e.form.Block().Frame(0).Content, QStringLiteral("/nowhere/logo.bmp"));
        // The next paint finds the picture missing: the frame becomes "Non" and
        // the message comes once, after the paint.
        e.Canvas()->repaint();
        QTRY_COMPARE(e.fakes.messages.shown.size(), size_t(1));
        QCOMPARE(e.fakes.messages.shown.front(), QStringLiteral("グラフィックファイルを読み込めませんでした"));
        QCOMPARE(e.form.Block().Frame(0).Kind, QStringLiteral("Non"));
        e.Canvas()->repaint();
        QCoreApplication::sendPostedEvents(); // a message the paint queued
        QCOMPARE(e.fakes.messages.shown.size(), size_t(1));

        // Editing a "Non" frame asks for the kind again.
        bool asked = false;
        WhenShown(e.wakuSel, [&] { asked = true; });
        Control<QPushButton>(e.form, "SpeedButton2")->click();
        QVERIFY(asked);
        QCOMPARE(e.form.Block().Frame(0).Kind, QStringLiteral("Non"));
    }

    void editingAnExistingTextFrame()
    {
        Editor e;
        WakuRecord frame = Frame(1000, 873, 5000, 3493);
        frame.Kind = QStringLiteral("P");
        frame.Color = QStringLiteral("255");
        frame.FontName = QStringLiteral("IPAGothic");
        frame.Content = QStringLiteral("０３－１２");
        e.form.SetBlock(BlockOf({frame}));
        e.Click({200, 40});
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
        WhenShown(e.moji, [&] {
            QVERIFY(Control<QRadioButton>(e.moji, "RadioGroup1Item1")->isChecked());
            QCOMPARE(Control<QComboBox>(e.moji, "ComboBox1")->currentText(), QStringLiteral("IPAGothic"));
            QCOMPARE(Control<ColorGlyphButton>(e.moji, "BitBtn1")->GlyphColor(), 255u);
            QCOMPARE(Control<QLineEdit>(e.moji, "Edit1")->text(), QStringLiteral("０３－１２"));
            Control<QComboBox>(e.moji, "ComboBox1")->setEditText(QStringLiteral("IPAMincho"));
            Control<QPushButton>(e.moji, "Button2")->click(); // cancel: nothing changes
        });
        Control<QPushButton>(e.form, "SpeedButton2")->click();
        QCOMPARE(e.form.Block().Frame(0), frame);

        WhenShown(e.moji, [&] {
            Control<QComboBox>(e.moji, "ComboBox1")->setEditText(QStringLiteral("IPAMincho"));
            Control<QRadioButton>(e.moji, "RadioGroup1Item0")->setChecked(true);
            Control<QPushButton>(e.moji, "Button1")->click();
        });
        Control<QAction>(e.form, "N2")->trigger();
        QCOMPARE(e.form.Block().Frame(0).FontName, QStringLiteral("IPAMincho"));
        QCOMPARE(e.form.Block().Frame(0).Kind, QStringLiteral("L"));
        QVERIFY(e.fakes.messages.shown.empty());
    }

    void clickingSelectsTheLaterFrameAndEdges()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493), Frame(3000, 2000, 6000, 6000)}));
        e.Click({400, 60});
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(1));
        e.Click({100, 20});
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
        e.Click({900, 200});
        QVERIFY(e.form.Selection() == std::nullopt);
        QVERIFY(e.CommandsDisabled());
        // A right click neither selects nor deselects.
        e.Click({200, 40});
        e.Press({900, 200}, Qt::RightButton);
        e.Release({900, 200}, Qt::RightButton);
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
    }

    void handlesAreShownOnlyWithASelection()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)}));
        const QPoint handleEdge{300 - 2, 20 - 2}; // a corner of the top-middle handle
        QCOMPARE(Pixel(e.Canvas(), handleEdge), qRgb(255, 255, 255));
        e.Click({200, 40});
        QCOMPARE(Pixel(e.Canvas(), handleEdge), qRgb(255, 0, 0)); // aqua xor white
        e.Press({900, 200});
        QCOMPARE(Pixel(e.Canvas(), handleEdge), qRgb(255, 255, 255));
    }

    void movingAndResizingWithTheMouse()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)})); // 100, 20, 500, 80
        e.Click({200, 40});
        e.Move({300, 50});
        QCOMPARE(e.form.CurrentHoverZone(), std::optional(HoverZone::Inside));
        QCOMPARE(e.Canvas()->cursor().shape(), Qt::DragMoveCursor);
        e.Press({300, 50});
        QVERIFY(e.form.Selection() == std::nullopt); // handles go during the drag
        e.Move({310, 60});
        e.Move({-200, 60}); // past the left edge: no clamping
        e.Release({-200, 60});
        // 100..500 moved by 10, then by -510: -400..0 pixels.
        QCOMPARE(e.form.Block().Frame(0).Left, QStringLiteral("-4000"));
        QCOMPARE(e.form.Block().Frame(0).Right, QStringLiteral("0"));
        QCOMPARE(e.form.Block().Frame(0).Top, QStringLiteral("1310"));
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0)); // the release selects the frame under it

        // Right edge towards a width under 10 pixels keeps the last width.
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)}));
        e.Click({200, 40});
        e.Move({500, 50});
        QCOMPARE(e.form.CurrentHoverZone(), std::optional(HoverZone::Right));
        QCOMPARE(e.Canvas()->cursor().shape(), Qt::SizeHorCursor);
        e.Press({500, 50});
        e.Move({120, 50});
        e.Move({105, 50});
        e.Move({90, 50});
        e.Release({90, 50});
        QCOMPARE(e.form.Block().Frame(0).Right, QStringLiteral("1200"));

        // A corner dragged past the opposite one is refused at every step.
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)}));
        e.Click({200, 40});
        e.Move({500, 80});
        QCOMPARE(e.form.CurrentHoverZone(), std::optional(HoverZone::BottomRight));
        e.Press({500, 80});
        e.Move({50, 10});
        e.Move({90, 15});
        e.Release({90, 15});
        QCOMPARE(e.form.Block().Frame(0), Frame(1000, 873, 5000, 3493));
    }

    void resizingRefitsTheText()
    {
        Editor e;
        WakuRecord frame = Frame(1000, 873, 5000, 3493);
        frame.Kind = QStringLiteral("L");
        frame.Content = QStringLiteral("ABC");
        frame.FontName = QStringLiteral("IPAGothic");
        frame.Color = QStringLiteral("0");
        e.form.SetBlock(BlockOf({frame}));
        e.Click({200, 40});
        e.Move({500, 50});
        e.Press({500, 50});
        e.Move({700, 50});
        e.Release({700, 50});
        const WakuRecord moved = e.form.Block().Frame(0);
        QCOMPARE(moved.Right, QStringLiteral("7000"));
        QCOMPARE(moved.FontHeight, QStringLiteral("580"));
        // w = 598, h = 58: gap = (598 − 87) / 2 = 255.5 → 255.5 / 229 × 10000
        QCOMPARE(moved.CharGap, QStringLiteral("11157"));
    }

    void aNarrowFrameKeepsTheDefaultCursor()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(1000, 873, 1040, 3493)})); // 4 pixels wide
        e.Click({102, 40});
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
        for (const QPoint at : {QPoint(100, 20), QPoint(102, 50), QPoint(104, 80)}) {
            e.Move(at);
            QVERIFY(e.form.CurrentHoverZone() == std::nullopt);
            QCOMPARE(e.Canvas()->cursor().shape(), Qt::ArrowCursor);
        }
        e.Press({102, 50});
        e.Move({300, 50});
        e.Release({300, 50});
        QCOMPARE(e.form.Block().Frame(0), Frame(1000, 873, 1040, 3493));
    }

    void insertAndDeleteKeys()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)}));
        e.KeyUp(Qt::Key_Insert);
        QVERIFY(e.form.InsertMode());
        e.KeyUp(Qt::Key_Insert);
        QVERIFY(!e.form.InsertMode());

        e.KeyUp(Qt::Key_Delete);
        QVERIFY(e.fakes.messages.asked.empty());
        QCOMPARE(e.fakes.sounds.exclamations, 0);

        e.Click({200, 40});
        e.fakes.messages.answers = {platform::Messages::Answer::No};
        e.KeyUp(Qt::Key_Delete);
        QCOMPARE(e.fakes.messages.asked.size(), size_t(1));
        QCOMPARE(e.fakes.messages.asked.back().text, QStringLiteral("この枠情報を削除しますか？"));
        QCOMPARE(e.fakes.messages.asked.back().caption, QStringLiteral("確認"));
        QCOMPARE(e.fakes.sounds.exclamations, 1);
        QCOMPARE(e.form.Block().FrameCount(), 1);
        QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));

        e.fakes.messages.answers = {platform::Messages::Answer::Yes};
        e.KeyUp(Qt::Key_Delete);
        QCOMPARE(e.form.Block().FrameCount(), 0);
        QVERIFY(e.form.Selection() == std::nullopt);
        QVERIFY(e.CommandsDisabled());

        // Insert with a selection deselects.
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)}));
        e.Click({200, 40});
        e.KeyUp(Qt::Key_Insert);
        QVERIFY(e.form.InsertMode());
        QVERIFY(e.form.Selection() == std::nullopt);
    }

    void deletingTheMiddleFrameMovesTheLaterUp()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(0, 0, 1000, 1000), Frame(2000, 0, 3000, 1000), Frame(4000, 0, 5000, 1000)}));
        e.Click({250, 10});
        e.fakes.messages.answers = {platform::Messages::Answer::Yes};
        Control<QPushButton>(e.form, "SpeedButton3")->click();
        QCOMPARE(e.form.Block(), BlockOf({Frame(0, 0, 1000, 1000), Frame(4000, 0, 5000, 1000)}));
    }

    void deleteAllAsksEvenWhenEmpty()
    {
        Editor e;
        e.fakes.messages.answers = {platform::Messages::Answer::Yes};
        Control<QPushButton>(e.form, "SpeedButton4")->click();
        QCOMPARE(e.fakes.messages.asked.size(), size_t(1));
        QCOMPARE(e.fakes.messages.asked.back().text, QStringLiteral("全ての枠情報を削除しますか？"));
        QCOMPARE(e.fakes.sounds.exclamations, 1);

        e.form.SetBlock(BlockOf({Frame(0, 0, 1000, 1000), Frame(2000, 0, 3000, 1000)}));
        e.Click({50, 10});
        e.fakes.messages.answers = {platform::Messages::Answer::No};
        Control<QAction>(e.form, "N5")->trigger();
        QCOMPARE(e.form.Block().FrameCount(), 2);
        e.fakes.messages.answers = {platform::Messages::Answer::Yes};
        Control<QAction>(e.form, "N5")->trigger();
        QCOMPARE(e.form.Block().FrameCount(), 0);
        QVERIFY(e.CommandsDisabled());
    }

    void insertModeByMenuAndButton()
    {
        Editor e;
        e.form.SetBlock(BlockOf({Frame(1000, 873, 5000, 3493)}));
        e.Click({200, 40});
        Control<QAction>(e.form, "N1")->trigger();
        QVERIFY(e.form.InsertMode());
        QVERIFY(e.form.Selection() == std::nullopt);
        Control<QAction>(e.form, "N1")->trigger();
        QVERIFY(e.form.InsertMode()); // the menu only sets it
        QTest::mouseClick(Control<QPushButton>(e.form, "SpeedButton1"), Qt::LeftButton);
        QVERIFY(!e.form.InsertMode());
    }

    void cancelDropsTheCopyAndTheSelectionOkKeepsBoth()
    {
        Editor e;
        e.form.hide();
        KikanmeiBlock block = BlockOf({Frame(1000, 873, 5000, 3493)});

        WhenShown(e.form, [&] {
            e.Click({200, 40});
            Control<QPushButton>(e.form, "Button2")->click();
        });
        QVERIFY(e.form.Edit(block));
        WhenShown(e.form, [&] {
            QCOMPARE(e.form.Selection(), std::optional<qsizetype>(0));
            QVERIFY(e.CommandsEnabled());
            e.fakes.messages.answers = {platform::Messages::Answer::Yes};
            Control<QPushButton>(e.form, "SpeedButton3")->click();
            QCOMPARE(e.form.Block().FrameCount(), 0);
            Control<QPushButton>(e.form, "Button1")->click();
        });
        QVERIFY(!e.form.Edit(block));
        QCOMPARE(block.FrameCount(), 1); // Cancel leaves the caller's copy as it was

        WhenShown(e.form, [&] {
            QCOMPARE(e.form.Block().FrameCount(), 1);
            e.Click({200, 40});
            Control<QPushButton>(e.form, "Button1")->click();
        });
        QVERIFY(!e.form.Edit(block));
        WhenShown(e.form, [&] {
            QVERIFY(e.form.Selection() == std::nullopt);
            QVERIFY(e.CommandsDisabled());
            e.form.close(); // the close box cancels too
        });
        QVERIFY(!e.form.Edit(block));
    }

    // Painted as part of the whole window (the canvas lies inside Panel2),
    // a vertical text reaches down to the bottom of its frame.
    void textIsDrawnAlongTheWholeFrameInsideTheWindow()
    {
        Editor e;
        WakuRecord frame = Frame(9000, 300, 9700, 9700); // pixels 900, 7, 970, 222
        frame.Kind = QStringLiteral("P");
        frame.FontName = QStringLiteral("IPAMincho");
        frame.Color = QStringLiteral("0");
        frame.Content = QStringLiteral("らるぼ産婦人科医院");
        FitWakuText(frame, 1000, 229);
        e.form.SetBlock(BlockOf({frame}));
        const QImage window = e.form.grab().toImage();
        const QPoint canvas = e.Canvas()->mapTo(&e.form, QPoint(0, 0));
        int inked = 0;
        for (int y = 180; y < 220; ++y)
            for (int x = 905; x < 968; ++x)
                inked += qGray(window.pixel(canvas + QPoint(x, y))) < 128;
        QVERIFY(inked > 20);
    }

    void helpShowsTheBlockEditorPage()
    {
        Editor e;
        Control<QPushButton>(e.form, "Button3")->click();
        QCOMPARE(e.fakes.help.topics, QStringList{QStringLiteral("kikanmei")});
    }

    // ------------------------------------------------------- frame dialogs

    void kindDialogKeepsTheLastChoice()
    {
        Editor e;
        QCOMPARE(e.wakuSel.windowTitle(), QStringLiteral("挿入枠の選択"));
        QCOMPARE(e.wakuSel.ItemIndex(), 0);
        WhenShown(e.wakuSel, [&] {
            Control<QRadioButton>(e.wakuSel, "RadioGroup1Item1")->setChecked(true);
            Control<QPushButton>(e.wakuSel, "Button1")->click();
        });
        QCOMPARE(e.wakuSel.exec(), int(QDialog::Accepted));
        WhenShown(e.wakuSel, [&] {
            QCOMPARE(e.wakuSel.ItemIndex(), 1);
            Control<QPushButton>(e.wakuSel, "Button2")->click();
        });
        QCOMPARE(e.wakuSel.exec(), int(QDialog::Rejected));
    }

    void textDialogFaceListClearAndColour()
    {
        Editor e;
        auto *faceBox = Control<QComboBox>(e.moji, "ComboBox1");
        QStringList faces;
        for (int i = 0; i < faceBox->count(); ++i)
            faces.append(faceBox->itemText(i));
        QVERIFY(faces.contains(QStringLiteral("IPAGothic")));
        QVERIFY(faces.contains(QStringLiteral("IPAMincho")));
        QVERIFY(!faces.contains(QStringLiteral("IPAPGothic")));
        QVERIFY(!faces.contains(QStringLiteral("IPAPMincho")));
        for (const QString &face : faces)
            QVERIFY(!face.startsWith(u'@'));

        auto *text = Control<QLineEdit>(e.moji, "Edit1");
        auto *clear = Control<QPushButton>(e.moji, "SpeedButton1");
        text->setText(QStringLiteral("医院"));
        e.fakes.messages.answers = {platform::Messages::Answer::No, platform::Messages::Answer::Yes};
        clear->click();
        QCOMPARE(text->text(), QStringLiteral("医院"));
        QCOMPARE(e.fakes.messages.asked.back().text, QStringLiteral("文字列を削除しますか？"));
        clear->click();
        QCOMPARE(text->text(), QString());
        QCOMPARE(e.fakes.sounds.exclamations, 2);

        e.moji.SetValues({QString(), QString(), false, 0x0000FF});
        e.fakes.colorChooser.answers = {std::optional<Colour>(0x00FF00), std::nullopt};
        auto *colour = Control<ColorGlyphButton>(e.moji, "BitBtn1");
        colour->click();
        QCOMPARE(e.moji.Values().colour, 0x00FF00u);
        colour->click();
        QCOMPARE(e.moji.Values().colour, 0x00FF00u); // a cancelled chooser keeps the colour
        QCOMPARE(e.fakes.colorChooser.initials,
                 (std::vector<Colour>{0x000000,
                                      0x00FF00})); // the chooser opens as it was last left, not with the text colour

        faceBox->setEditText(QStringLiteral("どこにもない書体"));
        QCOMPARE(e.moji.Values().fontName, QStringLiteral("どこにもない書体"));
    }

    void graphicDialogBrowse()
    {
        Editor e;
        e.graphic.SetValues({QStringLiteral("/old/logo.bmp"), true});
        e.fakes.fileDialogs.answers = {std::optional<QString>(QStringLiteral("/pictures/clinic/map.wmf")),
                                       std::nullopt};
        auto *browse = Control<QPushButton>(e.graphic, "Button1");
        auto *file = Control<QLineEdit>(e.graphic, "Edit1");
        browse->click();
        QCOMPARE(file->text(), QStringLiteral("/pictures/clinic/map.wmf"));
        browse->click();
        QCOMPARE(file->text(), QStringLiteral("/pictures/clinic/map.wmf"));

        const auto &requests = e.fakes.fileDialogs.requests;
        QCOMPARE(requests.size(), size_t(2));
        QCOMPARE(requests[0].title, QStringLiteral("ｸﾞﾗﾌｨｯｸﾌｧｲﾙ名の参照"));
        QCOMPARE(requests[0].filterIndex, 1);
        QCOMPARE(requests[0].filter.split(u'|').size(), 10);
        QVERIFY(requests[0].filter.startsWith(
            QStringLiteral("すべてのﾌｧｲﾙ (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|")));
        QCOMPARE(requests[1].initialDir, QStringLiteral("/pictures/clinic")); // the folder is remembered
    }
};

QTEST_MAIN(BlockEditorTest)
#include "block_editor_qtest.moc"
