#pragma once

// Small metafiles written with libuemf for the tests: a logical area of
// 1000 × 500 whose left half is a red rectangle, whose upper right quarter is
// a green 4 × 4 bitmap stretched over it, and whose lower right quarter holds
// the blue text "病院" in "ＭＳ ゴシック" (Shift-JIS in the WMF).

#include "support/TemporaryFolder.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

#include <uemf.h>
#include <uwmf.h>

#include <cstdlib>
#include <vector>

namespace ralvo::test {

inline std::vector<char> GreenPixels()
{
    std::vector<char> px;
    for (int i = 0; i < 16; ++i) {
        px.push_back(0);           // blue
        px.push_back(char(0xFF));  // green
        px.push_back(0);           // red
    }
    return px;
}

inline QByteArray WriteSampleWmf(const QString &path)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    const QByteArray name = path.toLocal8Bit();
    wmf_start(name.constData(), 1 << 16, 1 << 14, &wt);
    wmf_htable_create(32, 32, &wht);
    U_PAIRF *size = U_PAIRF_set(1000.0f / 1440, 500.0f / 1440);
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(size, 1440)), wt, 1);
    std::free(size);
    auto add = [&](char *record) { wmf_append(reinterpret_cast<U_METARECORD *>(record), wt, 1); };
    add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    add(U_WMRSETWINDOWEXT_set(point16_set(1000, 500)));

    uint32_t pen = 0;
    add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_NULL, 1, colorref3_set(0, 0, 0))));
    add(wselectobject_set(pen, wht));
    uint32_t brush = 0;
    add(wcreatebrushindirect_set(&brush, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0)));
    add(wselectobject_set(brush, wht));
    add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 500, 500}));

    U_BITMAPINFOHEADER header = bitmapinfoheader_set(4, 4, 1, 24, U_BI_RGB, 48, 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(header, nullptr);
    std::vector<char> px = GreenPixels();
    add(U_WMRSTRETCHDIB_set(point16_set(500, 0), point16_set(500, 250), point16_set(0, 0), point16_set(4, 4),
                            U_DIB_RGB_COLORS, U_SRCCOPY, bmi, uint32_t(px.size()), px.data()));
    std::free(bmi);

    QByteArray face = QStringEncoder("windows-31j").encode(QStringLiteral("ＭＳ ゴシック"));
    U_FONT *font = U_FONT_set(-150, 0, 0, 0, 400, 0, 0, 0, U_SHIFTJIS_CHARSET, 0, 0, 0, 0, face.data());
    uint32_t fontHandle = 0;
    add(wcreatefontindirect_set(&fontHandle, wht, font));
    std::free(font);
    add(wselectobject_set(fontHandle, wht));
    add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    add(U_WMRSETTEXTCOLOR_set(colorref3_set(0, 0, 255)));
    add(U_WMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT));
    QByteArray text = QStringEncoder("windows-31j").encode(QStringLiteral("病院"));
    add(U_WMRTEXTOUT_set(point16_set(550, 300), text.data()));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return ReadAll(path);
}

// No placeable header; the window runs upwards (origin (0, 100), extent
// (200, -100)): a green triangle with its tip at the top and a blue ellipse
// around (150, 50), drawn between a saved and a restored state.
inline QByteArray WriteShapesWmf(const QString &path)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    const QByteArray name = path.toLocal8Bit();
    wmf_start(name.constData(), 1 << 16, 1 << 14, &wt);
    wmf_htable_create(32, 32, &wht);
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(nullptr, 1440)), wt, 1);
    auto add = [&](char *record) { wmf_append(reinterpret_cast<U_METARECORD *>(record), wt, 1); };
    add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    add(U_WMRSETWINDOWORG_set(point16_set(0, 100)));
    add(U_WMRSETWINDOWEXT_set(point16_set(200, -100)));
    uint32_t pen = 0;
    add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_SOLID, 0, colorref3_set(0, 0, 0))));
    add(wselectobject_set(pen, wht));
    uint32_t green = 0;
    add(wcreatebrushindirect_set(&green, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 255, 0), 0)));
    add(wselectobject_set(green, wht));
    const U_POINT16 triangle[] = {point16_set(0, 0), point16_set(100, 0), point16_set(50, 100)};
    add(U_WMRPOLYGON_set(3, triangle));
    add(U_WMRSAVEDC_set());
    uint32_t blue = 0;
    add(wcreatebrushindirect_set(&blue, wht, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 0, 255), 0)));
    add(wselectobject_set(blue, wht));
    add(U_WMRELLIPSE_set(U_RECT16{120, 80, 180, 20}));
    add(U_WMRRESTOREDC_set(-1));
    const U_POINT16 line[] = {point16_set(110, 5), point16_set(190, 5)};
    add(U_WMRPOLYLINE_set(2, line));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return ReadAll(path);
}

// `count` rectangles over a 1000 × 1000 window, each stroked with a pen as
// wide as 30 windows: every one paints the whole picture.
inline QByteArray WriteWidePenWmf(const QString &path, int count)
{
    WMFTRACK *wt = nullptr;
    WMFHANDLES *wht = nullptr;
    const QByteArray name = path.toLocal8Bit();
    wmf_start(name.constData(), 1 << 20, 1 << 20, &wt);
    wmf_htable_create(32, 32, &wht);
    wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(nullptr, 1440)), wt, 1);
    auto add = [&](char *record) { wmf_append(reinterpret_cast<U_METARECORD *>(record), wt, 1); };
    add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    add(U_WMRSETWINDOWEXT_set(point16_set(1000, 1000)));
    uint32_t pen = 0;
    add(wcreatepenindirect_set(&pen, wht, U_PEN_set(U_PS_SOLID, 30000, colorref3_set(0, 0, 255))));
    add(wselectobject_set(pen, wht));
    for (int i = 0; i < count; ++i)
        add(U_WMRRECTANGLE_set(U_RECT16{int16_t(i % 900), int16_t(i % 900), int16_t(i % 900 + 100), int16_t(i % 900 + 100)}));
    add(U_WMREOF_set());
    wmf_finish(wt);
    wmf_free(&wt);
    wmf_htable_free(&wht);
    return ReadAll(path);
}

inline QByteArray WriteSampleEmf(const QString &path)
{
    EMFTRACK *et = nullptr;
    EMFHANDLES *eht = nullptr;
    const QByteArray name = path.toLocal8Bit();
    emf_start(name.constData(), 1 << 16, 1 << 14, &et);
    emf_htable_create(32, 32, &eht);
    auto add = [&](char *record) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(record), et, 1); };
    // 1000 × 500 device units of 0.25 mm (frame in 0.01 mm).
    add(U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(999, 499)),
                        rectl_set(point32_set(0, 0), point32_set(25000, 12500)), nullptr, 0, nullptr,
                        sizel_set(1000, 500), sizel_set(250, 125), 0));
    add(U_EMRSETMAPMODE_set(U_MM_TEXT));

    uint32_t pen = 0;
    add(createpen_set(&pen, eht, logpen_set(U_PS_NULL, point32_set(1, 1), colorref3_set(0, 0, 0))));
    add(selectobject_set(pen, eht));
    uint32_t brush = 0;
    add(createbrushindirect_set(&brush, eht, logbrush_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0)));
    add(selectobject_set(brush, eht));
    add(U_EMRRECTANGLE_set(rectl_set(point32_set(0, 0), point32_set(500, 500))));

    U_BITMAPINFOHEADER header = bitmapinfoheader_set(4, 4, 1, 24, U_BI_RGB, 48, 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(header, nullptr);
    std::vector<char> px = GreenPixels();
    add(U_EMRSTRETCHDIBITS_set(rectl_set(point32_set(500, 0), point32_set(1000, 250)), point32_set(500, 0),
                               point32_set(500, 250), point32_set(0, 0), point32_set(4, 4), U_DIB_RGB_COLORS,
                               U_SRCCOPY, bmi, uint32_t(px.size()), px.data()));
    std::free(bmi);

    uint16_t *face = U_Utf8ToUtf16le("ＭＳ ゴシック", 0, nullptr);
    U_LOGFONT lf = logfont_set(-150, 0, 0, 0, 400, 0, 0, 0, U_SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
    std::free(face);
    uint32_t font = 0;
    add(extcreatefontindirectw_set(&font, eht, reinterpret_cast<const char *>(&lf), nullptr));
    add(selectobject_set(font, eht));
    add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    add(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 255)));
    add(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT));
    size_t length = 0;
    uint16_t *text = U_Utf8ToUtf16le("病院", 0, &length);
    uint32_t *dx = dx_set(-150, 400, uint32_t(length));
    char *emrtext = emrtext_set(point32_set(550, 300), uint32_t(length), 2, text, U_ETO_NONE,
                                rectl_set(point32_set(0, 0), point32_set(-1, -1)), dx);
    add(U_EMREXTTEXTOUTW_set(rectl_set(point32_set(550, 300), point32_set(900, 450)), U_GM_COMPATIBLE, 1, 1,
                             reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    std::free(dx);
    std::free(text);
    add(U_EMREOF_set(0, nullptr, et));
    emf_finish(et, eht);
    emf_free(&et);
    emf_htable_free(&eht);
    return ReadAll(path);
}

// An enhanced metafile being written: `width` × `height` device units of
// 0.25 mm, in MM_TEXT, records added one by one.
class EmfSampleWriter
{
public:
    EmfSampleWriter(const QString &path, int width, int height) : m_path(path)
    {
        const QByteArray name = path.toLocal8Bit();
        emf_start(name.constData(), 1 << 20, 1 << 20, &m_track);
        emf_htable_create(32, 32, &m_handles);
        Add(U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(width, height)),
                            rectl_set(point32_set(0, 0), point32_set(width * 25, height * 25)), nullptr, 0,
                            nullptr, sizel_set(1000, 1000), sizel_set(250, 250), 0));
    }
    EmfSampleWriter(const EmfSampleWriter &) = delete;
    EmfSampleWriter &operator=(const EmfSampleWriter &) = delete;

    void Add(char *record) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(record), m_track, 1); }
    EMFHANDLES *Handles() { return m_handles; }

    // Selects a solid brush, and a geometric pen `penWidth` wide (0: no pen).
    void SelectBrushAndPen(U_COLORREF brush, int penWidth, U_COLORREF pen)
    {
        uint32_t brushHandle = 0;
        Add(createbrushindirect_set(&brushHandle, m_handles, logbrush_set(U_BS_SOLID, brush, 0)));
        Add(selectobject_set(brushHandle, m_handles));
        uint32_t penHandle = 0;
        if (penWidth == 0) {
            Add(createpen_set(&penHandle, m_handles, logpen_set(U_PS_NULL, point32_set(1, 1), pen)));
        } else {
            PU_EXTLOGPEN logPen = extlogpen_set(U_PS_GEOMETRIC | U_PS_SOLID, uint32_t(penWidth), U_BS_SOLID, pen,
                                                0, 0, nullptr);
            Add(extcreatepen_set(&penHandle, m_handles, nullptr, 0, nullptr, logPen));
            std::free(logPen);
        }
        Add(selectobject_set(penHandle, m_handles));
    }

    void Rectangle(int left, int top, int right, int bottom)
    {
        Add(U_EMRRECTANGLE_set(rectl_set(point32_set(left, top), point32_set(right, bottom))));
    }

    QByteArray Finish()
    {
        Add(U_EMREOF_set(0, nullptr, m_track));
        emf_finish(m_track, m_handles);
        emf_free(&m_track);
        emf_htable_free(&m_handles);
        return ReadAll(m_path);
    }

private:
    QString m_path;
    EMFTRACK *m_track = nullptr;
    EMFHANDLES *m_handles = nullptr;
};

// `count` rectangles over a 1000 × 1000 picture, each stroked with a
// geometric pen as wide as 30 pictures: every one paints the whole picture.
inline QByteArray WriteWidePenEmf(const QString &path, int count)
{
    EmfSampleWriter emf(path, 1000, 1000);
    emf.SelectBrushAndPen(colorref3_set(0, 0, 255), 30000, colorref3_set(0, 0, 255));
    for (int i = 0; i < count; ++i)
        emf.Rectangle(i % 900, i % 900, i % 900 + 100, i % 900 + 100);
    return emf.Finish();
}

// `count` red squares of 0 to 1 on a 1000 × 1000 picture, drawn under a
// world transform that scales by `scale`: at 1000 each fills the picture.
inline QByteArray WriteScaledSquaresEmf(const QString &path, int count, float scale)
{
    EmfSampleWriter emf(path, 1000, 1000);
    emf.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(scale, 0, 0, scale, 0, 0)));
    emf.SelectBrushAndPen(colorref3_set(255, 0, 0), 0, colorref3_set(0, 0, 0));
    for (int i = 0; i < count; ++i)
        emf.Rectangle(0, 0, 1, 1);
    return emf.Finish();
}

// A 100 × 100 picture holding one red square from -1000 to 1000.
inline QByteArray WriteOverflowingEmf(const QString &path)
{
    EmfSampleWriter emf(path, 100, 100);
    emf.SelectBrushAndPen(colorref3_set(255, 0, 0), 0, colorref3_set(0, 0, 0));
    emf.Rectangle(-1000, -1000, 1000, 1000);
    return emf.Finish();
}

} // namespace ralvo::test
