// Under a dark desktop theme the windows whose text colours are fixed stay on
// the light colours they were designed on, and every text on them stands out
// from what is behind it by at least 4.5 : 1, measured on screenshots. The
// windows without fixed colours follow the desktop.
//
// With RALVO_SCREENSHOT_DIR set, the screenshots are also written there.

#include "app/ui/Application.h"
#include "app/ui/RalvoMainForm.h"
#include "platform/qt/DialogHelpers.h"
#include "support/FindControl.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <optional>

using namespace ralvo;

namespace {

double Linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance and contrast ratio as WCAG 2 defines them.
double Luminance(QRgb pixel)
{
    return 0.2126 * Linear(qRed(pixel)) + 0.7152 * Linear(qGreen(pixel)) + 0.0722 * Linear(qBlue(pixel));
}

double Contrast(QRgb a, QRgb b)
{
    const double x = Luminance(a) + 0.05;
    const double y = Luminance(b) + 0.05;
    return x > y ? x / y : y / x;
}

// The commonest colour of an area is what is behind its text; the pixel
// farthest from it in luminance is the text at full strength.
struct TextSample
{
    QRgb background = 0;
    QRgb text = 0;
    double contrast = 1;
};

std::optional<TextSample> Sample(const QImage &shot, const QRect &area)
{
    const QRect inside = area & shot.rect();
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[shot.pixel(x, y) | 0xFF000000u];
    if (counts.isEmpty())
        return std::nullopt;
    TextSample sample;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            sample.background = it.key();
        }
    }
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double contrast = Contrast(it.key(), sample.background);
        if (contrast > sample.contrast) {
            sample.contrast = contrast;
            sample.text = it.key();
        }
    }
    if (sample.contrast == 1)
        return std::nullopt; // nothing drawn there
    return sample;
}

// Where each visible text of a window is drawn, in window coordinates,
// without frames, indicators or arrows that are not text.
QList<std::pair<QString, QRect>> TextAreas(QWidget &window)
{
    QList<std::pair<QString, QRect>> areas;
    const auto add = [&](QWidget *widget, const QString &what, const QRect &local) {
        areas.append({widget->objectName() + QLatin1Char(' ') + what,
                      QRect(widget->mapTo(&window, local.topLeft()), local.size())});
    };
    const QList<QWidget *> widgets = window.findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(&window) || widget->window() != &window)
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (!label->text().isEmpty())
                add(label, label->text(), label->contentsRect());
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget);
                   button && (qobject_cast<QRadioButton *>(button) || qobject_cast<QCheckBox *>(button))) {
            if (button->text().isEmpty())
                continue;
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const bool radio = qobject_cast<QRadioButton *>(button);
            add(button, button->text(),
                button->style()->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
                                                &option, button));
        } else if (auto *push = qobject_cast<QPushButton *>(widget)) {
            // A colour button's "■" is drawn in the colour it stands for.
            if (!push->text().isEmpty() && push->text() != QStringLiteral("■"))
                add(push, push->text(), push->rect().adjusted(4, 4, -4, -4));
        } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            if (!edit->text().isEmpty() && !qobject_cast<QComboBox *>(edit->parentWidget()))
                add(edit, edit->text(), edit->rect().adjusted(3, 3, -3, -3));
        } else if (auto *box = qobject_cast<QGroupBox *>(widget)) {
            if (box->title().isEmpty())
                continue;
            QStyleOptionGroupBox option;
            option.initFrom(box);
            option.text = box->title();
            option.subControls = QStyle::SC_GroupBoxLabel;
            add(box, box->title(),
                box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box));
        } else if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(tabs, tabs->tabText(i), tabs->tabRect(i).adjusted(4, 4, -4, -4));
        }
    }
    return areas;
}

// A dark Fusion palette, as dark desktop themes give.
QPalette DarkPalette()
{
    platform::PaletteColours dark;
    dark.window = dark.alternateBase = dark.button = dark.toolTipBase = QColor(53, 53, 53);
    dark.windowText = dark.text = dark.buttonText = dark.toolTipText = Qt::white;
    dark.base = QColor(35, 35, 35);
    dark.highlight = QColor(42, 130, 218);
    dark.highlightedText = Qt::black;
    dark.placeholderText = QColor(160, 160, 160);
    dark.link = QColor(42, 130, 218);
    dark.disabledText = QColor(127, 127, 127);
    QPalette palette = platform::PaletteOf(dark);
    palette.setColor(QPalette::BrightText, Qt::red);
    return palette;
}

} // namespace

class DarkThemeTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_configHome;

    // Shows the window, takes its screenshot and returns one fault per text
    // below 4.5 : 1. Disabled controls are exempt, as WCAG exempts them.
    QStringList LowContrastTexts(QWidget &window, int &texts);

private Q_SLOTS:
    void initTestCase();
    void fixedColourWindowsStayReadableOnADarkDesktop();
};

void DarkThemeTest::initTestCase()
{
    QVERIFY(m_configHome.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configHome.path()));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
}

QStringList DarkThemeTest::LowContrastTexts(QWidget &window, int &texts)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return {window.objectName() + QStringLiteral(": not shown")};
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QByteArray folder = qgetenv("RALVO_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        shot.save(QDir(QFile::decodeName(folder)).filePath(window.objectName() + QStringLiteral("-dark.png")));
    QStringList faults;
    const auto areas = TextAreas(window);
    for (const auto &[what, area] : areas) {
        const std::optional<TextSample> sample = Sample(shot, area);
        if (!sample) {
            faults << QStringLiteral("%1/%2: no text drawn").arg(window.objectName(), what);
            continue;
        }
        ++texts;
        if (sample->contrast < 4.5)
            faults << QStringLiteral("%1/%2: %3 on %4 is %5 : 1")
                          .arg(window.objectName(), what, QColor(sample->text).name(),
                               QColor(sample->background).name())
                          .arg(sample->contrast, 0, 'f', 2);
    }
    window.hide();
    return faults;
}

void DarkThemeTest::fixedColourWindowsStayReadableOnADarkDesktop()
{
    Application application;
    application.CreateSecondaryWindows();
    TRalvoMainForm &form = application.MainForm();
    // Results in the coloured result fields.
    QAccessibleInterface *calculate = QAccessible::queryAccessibleInterface(test::Control(form, "Image1"));
    calculate->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(!test::Control<QLineEdit>(form, "Yoteibi")->text().isEmpty());

    QStringList faults;
    int texts = 0;
    faults << LowContrastTexts(form, texts);
    for (const char *name : {"SetupForm", "NoticeEditForm", "VerForm"}) {
        faults << LowContrastTexts(*test::Control<QDialog>(form, name), texts);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QVERIFY2(texts > 60, qPrintable(QString::number(texts)));

    // The windows without fixed colours follow the desktop.
    for (const char *name : {"TextEditorForm", "PregnancyCalendarForm"}) {
        QWidget *window = test::Control(form, name);
        QCOMPARE(window->palette().color(QPalette::Window), DarkPalette().color(QPalette::Window));
    }
}

QTEST_MAIN(DarkThemeTest)
#include "dark_theme_qtest.moc"
