// Every menu caption is drawn whole, in the Fusion style, also after a
// desktop theme (qt6ct) has replaced the application's font with the
// desktop's own, as it does after start. Each open menu is drawn onto a
// device that records the texts the style draws, and each item's recorded
// text must hold its whole caption: a style that finds the item too narrow
// for its text draws it cut in the middle with "…".

#include "app/ui/Application.h"
#include "app/ui/RalvoMainForm.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QMenu>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <climits>

using namespace ralvo;

namespace {

// A paint engine that keeps the texts drawn through it, each where it
// starts on the device, and draws nothing else.
class TextRecorder final : public QPaintEngine
{
public:
    struct Run
    {
        QPointF at;
        QString text;
    };
    QList<Run> runs;

    TextRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF &at, const QTextItem &item) override
    {
        runs.append({state->transform().map(at), item.text()});
    }
    Type type() const override { return QPaintEngine::User; }
};

// A device of the screen's resolution whose painting is recorded.
class RecordingDevice final : public QPaintDevice
{
public:
    explicit RecordingDevice(QSize size) : m_size(size) {}
    QPaintEngine *paintEngine() const override { return &m_recorder; }
    const QList<TextRecorder::Run> &Runs() const { return m_recorder.runs; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmWidthMM:
            return m_size.width() * 254 / (10 * dpi);
        case PdmHeightMM:
            return m_size.height() * 254 / (10 * dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    QSize m_size;
    mutable TextRecorder m_recorder;
};

// The caption as shown: "名前を付けて保存(&A)" reads "名前を付けて保存(A)".
QString Shown(QString caption)
{
    return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
}

} // namespace

class MenuCaptionsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_configHome.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }

    void everyCaptionIsDrawnWhole()
    {
        Application application;
        application.CreateSecondaryWindows();
        // The desktop's font, set as a theme sets it once the windows exist:
        // a Latin face whose Japanese comes from a fallback.
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));

        QStringList cut;
        int items = 0;
        const QList<QMenu *> menus = application.MainForm().findChildren<QMenu *>();
        for (QMenu *menu : menus) {
            QWidget *owner = menu->parentWidget() ? menu->parentWidget()->window() : nullptr;
            if (!owner || menu->objectName().isEmpty())
                continue; // Qt's own menus
            // The menu is drawn in its window's font, not the desktop's.
            QVERIFY2(menu->font() == owner->font(), qPrintable(menu->objectName()));
            menu->popup(QPoint(0, 0));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            RecordingDevice device(menu->size());
            menu->render(&device);
            const QList<QAction *> actions = menu->actions();
            for (QAction *action : actions) {
                if (action->isSeparator() || !action->isVisible())
                    continue;
                ++items;
                const QRect item = menu->actionGeometry(action);
                QList<TextRecorder::Run> row;
                for (const TextRecorder::Run &run : device.Runs()) {
                    if (item.contains(run.at.toPoint()))
                        row.append(run);
                }
                std::sort(row.begin(), row.end(), [](const auto &a, const auto &b) { return a.at.x() < b.at.x(); });
                // A disabled item's text is drawn twice, etched: once one
                // pixel off in a light colour.
                QString drawn;
                for (qsizetype i = 0; i < row.size(); ++i) {
                    const bool etch =
                        i > 0 && row[i].text == row[i - 1].text && (row[i].at - row[i - 1].at).manhattanLength() <= 2;
                    if (!etch)
                        drawn += row[i].text;
                }
                if (!drawn.contains(Shown(action->text())))
                    cut << QStringLiteral("%1/%2: \"%3\" drawn as \"%4\" in %5 pixels")
                               .arg(owner->objectName(), action->objectName(), Shown(action->text()), drawn)
                               .arg(item.width());
            }
            menu->hide();
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
        // The main window's two menus (10 and 2 items), the text editor's two
        // (6 and 5) and its context menu (5), the block editor's context
        // menu (4).
        QCOMPARE(items, 10 + 2 + 6 + 5 + 5 + 4);
    }
};

QTEST_MAIN(MenuCaptionsTest)
#include "menu_captions_qtest.moc"
