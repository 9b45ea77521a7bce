#include "textout/ui/EditorIcons.h"

#include "platform/qt/LazyIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <array>

namespace ralvo::textout {

namespace {

struct IconSource
{
    const char *themeName;
    const char *svg; // 24 × 24 drawing
};

// Plain line drawings in the freedesktop style, kept tiny on purpose.
const std::array<IconSource, kEditorImageCount> kIcons{{
    {"document-save-as",
     R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<path d="M3.5 3.5h14l3 3v14h-17z" fill="#3465a4" stroke="#204a87"/>
<rect x="6.5" y="3.5" width="10" height="6" fill="#eeeeec" stroke="#204a87"/>
<rect x="13" y="4.5" width="2" height="4" fill="#204a87"/>
<rect x="6.5" y="12.5" width="11" height="8" fill="#ffffff" stroke="#204a87"/>
<path d="M8 15h8M8 17.5h8" stroke="#888a85"/>
<path d="M14.5 21.5l1-3 6-6 2 2-6 6z" fill="#fce94f" stroke="#8f5902"/>
</svg>)"},
    {"document-print",
     R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<rect x="6.5" y="2.5" width="11" height="8" fill="#ffffff" stroke="#555753"/>
<rect x="2.5" y="9.5" width="19" height="9" rx="1.5" fill="#babdb6" stroke="#555753"/>
<circle cx="18" cy="12.5" r="1" fill="#4e9a06"/>
<rect x="6.5" y="15.5" width="11" height="6" fill="#ffffff" stroke="#555753"/>
<path d="M8.5 17.5h7M8.5 19.5h5" stroke="#555753"/>
</svg>)"},
    {"edit-cut",
     R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<path d="M8 2.5l7.5 13M16 2.5l-7.5 13" stroke="#555753" stroke-width="2" fill="none"/>
<circle cx="7" cy="18" r="3.5" fill="none" stroke="#cc0000" stroke-width="2"/>
<circle cx="17" cy="18" r="3.5" fill="none" stroke="#cc0000" stroke-width="2"/>
</svg>)"},
    {"edit-copy",
     R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<rect x="3.5" y="2.5" width="11" height="14" fill="#ffffff" stroke="#555753"/>
<path d="M5.5 5.5h7M5.5 8.5h7M5.5 11.5h5" stroke="#888a85"/>
<rect x="9.5" y="7.5" width="11" height="14" fill="#ffffff" stroke="#555753"/>
<path d="M11.5 10.5h7M11.5 13.5h7M11.5 16.5h7M11.5 19.5h4" stroke="#3465a4"/>
</svg>)"},
    {"edit-paste",
     R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<rect x="3.5" y="3.5" width="15" height="18" rx="1" fill="#c17d11" stroke="#8f5902"/>
<rect x="7.5" y="1.5" width="7" height="4" rx="1" fill="#babdb6" stroke="#555753"/>
<rect x="10.5" y="8.5" width="11" height="14" fill="#ffffff" stroke="#555753"/>
<path d="M12.5 11.5h7M12.5 14.5h7M12.5 17.5h7M12.5 20h4" stroke="#3465a4"/>
</svg>)"},
    {"document-open",
     R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<path d="M2.5 5.5v15h17v-12h-9l-2-3z" fill="#c4a000" stroke="#8f5902"/>
<path d="M2.5 20.5l3-9h17l-3 9z" fill="#fce94f" stroke="#8f5902"/>
</svg>)"},
}};

const char kWindowSvg[] =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24">
<path d="M4.5 1.5h11l4 4v17h-15z" fill="#ffffff" stroke="#555753"/>
<path d="M15.5 1.5v4h4" fill="#d3d7cf" stroke="#555753"/>
<path d="M7 8.5h10M7 11.5h10M7 14.5h10M7 17.5h6" stroke="#cc0066"/>
</svg>)";

QIcon IconFromSvg(const char *svg)
{
    QSvgRenderer renderer(QByteArray::fromRawData(svg, qsizetype(qstrlen(svg))));
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

const IconSource &Source(EditorImage image) { return kIcons.at(std::size_t(image)); }

} // namespace

QIcon BuiltInEditorIcon(EditorImage image) { return IconFromSvg(Source(image).svg); }

// The theme is looked up, or the drawing rendered, when the icon is first
// drawn: the editor is created at start-up but shown only on demand.
QIcon EditorIcon(EditorImage image)
{
    return platform::LazyIcon([image] {
        const QString name = QString::fromLatin1(Source(image).themeName);
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
        return BuiltInEditorIcon(image);
    });
}

QIcon EditorWindowIcon()
{
    return platform::LazyIcon([] {
        const QString name = QStringLiteral("accessories-text-editor");
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
        return IconFromSvg(kWindowSvg);
    });
}

} // namespace ralvo::textout
