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
        px.push_back(0);          // blue
        px.push_back(char(0xFF)); // green
        px.push_back(0);          // red
    }
    return px;
}

// A Windows metafile being written, records added one by one; `size` is the
// placeable header's picture size in inches (none without it).
class WmfSampleWriter
{
public:
    explicit WmfSampleWriter(const QString &path, const U_PAIRF *size = nullptr) : m_path(path)
    {
        const QByteArray name = path.toLocal8Bit();
        wmf_start(name.constData(), 1 << 20, 1 << 20, &m_track);
        wmf_htable_create(32, 32, &m_handles);
        wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(const_cast<U_PAIRF *>(size), 1440)), m_track,
                          1);
    }
    WmfSampleWriter(const WmfSampleWriter &) = delete;
    WmfSampleWriter &operator=(const WmfSampleWriter &) = delete;

    void Add(char *record) { wmf_append(reinterpret_cast<U_METARECORD *>(record), m_track, 1); }

    // Creates an object with `create(&handle, handles)` and selects it.
    template<class Create>
    void Select(Create create)
    {
        uint32_t handle = 0;
        Add(create(&handle, m_handles));
        Add(wselectobject_set(handle, m_handles));
    }

    QByteArray Finish()
    {
        Add(U_WMREOF_set());
        wmf_finish(m_track);
        wmf_free(&m_track);
        wmf_htable_free(&m_handles);
        return ReadAll(m_path);
    }

private:
    QString m_path;
    WMFTRACK *m_track = nullptr;
    WMFHANDLES *m_handles = nullptr;
};

inline QByteArray WriteSampleWmf(const QString &path)
{
    U_PAIRF *size = U_PAIRF_set(1000.0f / 1440, 500.0f / 1440);
    WmfSampleWriter wmf(path, size);
    std::free(size);
    wmf.Add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    wmf.Add(U_WMRSETWINDOWEXT_set(point16_set(1000, 500)));

    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatepenindirect_set(h, t, U_PEN_set(U_PS_NULL, 1, colorref3_set(0, 0, 0)));
    });
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatebrushindirect_set(h, t, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0));
    });
    wmf.Add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 500, 500}));

    U_BITMAPINFOHEADER header = bitmapinfoheader_set(4, 4, 1, 24, U_BI_RGB, 48, 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(header, nullptr);
    std::vector<char> px = GreenPixels();
    wmf.Add(U_WMRSTRETCHDIB_set(point16_set(500, 0), point16_set(500, 250), point16_set(0, 0), point16_set(4, 4),
                                U_DIB_RGB_COLORS, U_SRCCOPY, bmi, uint32_t(px.size()), px.data()));
    std::free(bmi);

    QByteArray face = QStringEncoder("windows-31j").encode(QStringLiteral("ＭＳ ゴシック"));
    U_FONT *font = U_FONT_set(-150, 0, 0, 0, 400, 0, 0, 0, U_SHIFTJIS_CHARSET, 0, 0, 0, 0, face.data());
    wmf.Select([font](uint32_t *h, WMFHANDLES *t) { return wcreatefontindirect_set(h, t, font); });
    std::free(font);
    wmf.Add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    wmf.Add(U_WMRSETTEXTCOLOR_set(colorref3_set(0, 0, 255)));
    wmf.Add(U_WMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT));
    QByteArray text = QStringEncoder("windows-31j").encode(QStringLiteral("病院"));
    wmf.Add(U_WMRTEXTOUT_set(point16_set(550, 300), text.data()));
    return wmf.Finish();
}

// No placeable header; the window runs upwards (origin (0, 100), extent
// (200, -100)): a green triangle with its tip at the top and a blue ellipse
// around (150, 50), drawn between a saved and a restored state.
inline QByteArray WriteShapesWmf(const QString &path)
{
    WmfSampleWriter wmf(path);
    wmf.Add(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    wmf.Add(U_WMRSETWINDOWORG_set(point16_set(0, 100)));
    wmf.Add(U_WMRSETWINDOWEXT_set(point16_set(200, -100)));
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatepenindirect_set(h, t, U_PEN_set(U_PS_SOLID, 0, colorref3_set(0, 0, 0)));
    });
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatebrushindirect_set(h, t, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 255, 0), 0));
    });
    const U_POINT16 triangle[] = {point16_set(0, 0), point16_set(100, 0), point16_set(50, 100)};
    wmf.Add(U_WMRPOLYGON_set(3, triangle));
    wmf.Add(U_WMRSAVEDC_set());
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatebrushindirect_set(h, t, U_WLOGBRUSH_set(U_BS_SOLID, colorref3_set(0, 0, 255), 0));
    });
    wmf.Add(U_WMRELLIPSE_set(U_RECT16{120, 80, 180, 20}));
    wmf.Add(U_WMRRESTOREDC_set(-1));
    const U_POINT16 line[] = {point16_set(110, 5), point16_set(190, 5)};
    wmf.Add(U_WMRPOLYLINE_set(2, line));
    return wmf.Finish();
}

// `count` rectangles over a 1000 × 1000 window, each stroked with a pen as
// wide as 30 windows: every one paints the whole picture.
inline QByteArray WriteWidePenWmf(const QString &path, int count)
{
    WmfSampleWriter wmf(path);
    wmf.Add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    wmf.Add(U_WMRSETWINDOWEXT_set(point16_set(1000, 1000)));
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatepenindirect_set(h, t, U_PEN_set(U_PS_SOLID, 30000, colorref3_set(0, 0, 255)));
    });
    for (int i = 0; i < count; ++i) {
        const auto at = int16_t(i % 900);
        wmf.Add(U_WMRRECTANGLE_set(U_RECT16{at, at, int16_t(at + 100), int16_t(at + 100)}));
    }
    return wmf.Finish();
}

// A 400 × 200 window (moved there by an offset) touring the record
// families the player knows, each in a place of its own (logical units):
//   red rounded rectangle      0..100 ×   0..100 (corners cut by 20)
//   green pie (upper right)  100..200 ×   0..100, a quarter
//   green chord (upper half) 200..300 ×   0..100
//   blue squares (two)       300..350 ×   0..50 and 350..400 × 50..100
//   blue pattern fill          0..50  × 100..150 (brush of a restored state)
//   black fill                50..100 × 100..150
//   magenta bitmap           100..150 × 100..150 (2 × 2, 1 bit a pixel)
//   yellow opaque text box   200..300 × 100..150
//   black line               300..400 at 190
inline QByteArray WriteRecordTourWmf(const QString &path)
{
    WmfSampleWriter wmf(path);
    wmf.Add(U_WMRSETWINDOWORG_set(point16_set(-50, -50)));
    wmf.Add(U_WMRSETWINDOWEXT_set(point16_set(400, 200)));
    wmf.Add(U_WMROFFSETWINDOWORG_set(point16_set(50, 50)));
    wmf.Add(U_WMRSETPOLYFILLMODE_set(U_WINDING));
    wmf.Add(U_WMRSETBKCOLOR_set(colorref3_set(255, 255, 0)));
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatepenindirect_set(h, t, U_PEN_set(U_PS_NULL, 1, colorref3_set(0, 0, 0)));
    });
    auto solid = [&wmf](U_COLORREF colour) {
        wmf.Select([colour](uint32_t *h, WMFHANDLES *t) {
            return wcreatebrushindirect_set(h, t, U_WLOGBRUSH_set(U_BS_SOLID, colour, 0));
        });
    };
    solid(colorref3_set(255, 0, 0));
    wmf.Add(U_WMRROUNDRECT_set(40, 40, U_RECT16{0, 0, 100, 100}));
    solid(colorref3_set(0, 255, 0));
    wmf.Add(U_WMRPIE_set(point16_set(200, 50), point16_set(150, 0), U_RECT16{100, 0, 200, 100}));
    wmf.Add(U_WMRCHORD_set(point16_set(300, 50), point16_set(200, 50), U_RECT16{200, 0, 300, 100}));
    solid(colorref3_set(0, 0, 255));
    const uint16_t counts[] = {4, 4};
    const U_POINT16 squares[] = {point16_set(300, 0),   point16_set(350, 0),  point16_set(350, 50),
                                 point16_set(300, 50),  point16_set(350, 50), point16_set(400, 50),
                                 point16_set(400, 100), point16_set(350, 100)};
    wmf.Add(U_WMRPOLYPOLYGON_set(2, counts, squares));
    wmf.Add(U_WMRSAVEDC_set());
    solid(colorref3_set(0, 0, 0));
    wmf.Add(U_WMRRESTOREDC_set(-1));
    wmf.Add(U_WMRPATBLT_set(point16_set(0, 100), point16_set(50, 50), U_PATCOPY));
    wmf.Add(U_WMRPATBLT_set(point16_set(50, 100), point16_set(50, 50), U_BLACKNESS));

    U_RGBQUAD colours[] = {rgbquad_set(0, 0, 0, 0), rgbquad_set(255, 0, 255, 0)};
    U_BITMAPINFOHEADER header = bitmapinfoheader_set(2, 2, 1, 1, U_BI_RGB, 8, 3780, 3780, 2, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(header, colours);
    char rows[] = {char(0xC0), 0, 0, 0, char(0xC0), 0, 0, 0}; // every pixel of colour 1
    wmf.Add(U_WMRDIBSTRETCHBLT_set(point16_set(100, 100), point16_set(50, 50), point16_set(0, 0), point16_set(2, 2),
                                   U_SRCCOPY, bmi, sizeof rows, rows));
    std::free(bmi);

    wmf.Add(U_WMRSETBKMODE_set(U_TRANSPARENT));
    char text[] = "ab";
    // libuemf writes this rectangle's corners in reverse order: given
    // reversed, the record holds them as the format has them.
    wmf.Add(U_WMREXTTEXTOUT_set(point16_set(210, 110), 2, U_ETO_OPAQUE, text, nullptr, U_RECT16{150, 300, 100, 200}));
    wmf.Select([](uint32_t *h, WMFHANDLES *t) {
        return wcreatepenindirect_set(h, t, U_PEN_set(U_PS_SOLID, 3, colorref3_set(0, 0, 0)));
    });
    wmf.Add(U_WMRMOVETO_set(point16_set(300, 190)));
    wmf.Add(U_WMRLINETO_set(point16_set(400, 190)));
    return wmf.Finish();
}

// An enhanced metafile being written, records added one by one after its
// header: by default `width` × `height` device units of 0.25 mm, in MM_TEXT.
class EmfSampleWriter
{
public:
    EmfSampleWriter(const QString &path, int width, int height)
        : EmfSampleWriter(path, U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(width, height)),
                                                rectl_set(point32_set(0, 0), point32_set(width * 25, height * 25)),
                                                nullptr, 0, nullptr, sizel_set(1000, 1000), sizel_set(250, 250), 0))
    {}
    EmfSampleWriter(const QString &path, char *header) : m_path(path)
    {
        const QByteArray name = path.toLocal8Bit();
        emf_start(name.constData(), 1 << 20, 1 << 20, &m_track);
        emf_htable_create(32, 32, &m_handles);
        Add(header);
    }
    EmfSampleWriter(const EmfSampleWriter &) = delete;
    EmfSampleWriter &operator=(const EmfSampleWriter &) = delete;

    void Add(char *record) { emf_append(reinterpret_cast<U_ENHMETARECORD *>(record), m_track, 1); }

    // Creates an object with `create(&handle, handles)` and selects it.
    template<class Create>
    void Select(Create create)
    {
        uint32_t handle = 0;
        Add(create(&handle, m_handles));
        Add(selectobject_set(handle, m_handles));
    }

    // Selects a solid brush, and a geometric pen `penWidth` wide (0: no pen).
    void SelectBrushAndPen(U_COLORREF brush, int penWidth, U_COLORREF pen)
    {
        Select([brush](uint32_t *h, EMFHANDLES *t) {
            return createbrushindirect_set(h, t, logbrush_set(U_BS_SOLID, brush, 0));
        });
        if (penWidth == 0) {
            Select([pen](uint32_t *h, EMFHANDLES *t) {
                return createpen_set(h, t, logpen_set(U_PS_NULL, point32_set(1, 1), pen));
            });
            return;
        }
        PU_EXTLOGPEN logPen =
            extlogpen_set(U_PS_GEOMETRIC | U_PS_SOLID, uint32_t(penWidth), U_BS_SOLID, pen, 0, 0, nullptr);
        Select([logPen](uint32_t *h, EMFHANDLES *t) { return extcreatepen_set(h, t, nullptr, 0, nullptr, logPen); });
        std::free(logPen);
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

inline QByteArray WriteSampleEmf(const QString &path)
{
    // 1000 × 500 device units of 0.25 mm (frame in 0.01 mm).
    EmfSampleWriter emf(path, U_EMRHEADER_set(rectl_set(point32_set(0, 0), point32_set(999, 499)),
                                              rectl_set(point32_set(0, 0), point32_set(25000, 12500)), nullptr, 0,
                                              nullptr, sizel_set(1000, 500), sizel_set(250, 125), 0));
    emf.Add(U_EMRSETMAPMODE_set(U_MM_TEXT));

    emf.Select([](uint32_t *h, EMFHANDLES *t) {
        return createpen_set(h, t, logpen_set(U_PS_NULL, point32_set(1, 1), colorref3_set(0, 0, 0)));
    });
    emf.Select([](uint32_t *h, EMFHANDLES *t) {
        return createbrushindirect_set(h, t, logbrush_set(U_BS_SOLID, colorref3_set(255, 0, 0), 0));
    });
    emf.Rectangle(0, 0, 500, 500);

    U_BITMAPINFOHEADER header = bitmapinfoheader_set(4, 4, 1, 24, U_BI_RGB, 48, 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(header, nullptr);
    std::vector<char> px = GreenPixels();
    emf.Add(U_EMRSTRETCHDIBITS_set(rectl_set(point32_set(500, 0), point32_set(1000, 250)), point32_set(500, 0),
                                   point32_set(500, 250), point32_set(0, 0), point32_set(4, 4), U_DIB_RGB_COLORS,
                                   U_SRCCOPY, bmi, uint32_t(px.size()), px.data()));
    std::free(bmi);

    uint16_t *face = U_Utf8ToUtf16le("ＭＳ ゴシック", 0, nullptr);
    U_LOGFONT lf = logfont_set(-150, 0, 0, 0, 400, 0, 0, 0, U_SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
    std::free(face);
    emf.Select([&lf](uint32_t *h, EMFHANDLES *t) {
        return extcreatefontindirectw_set(h, t, reinterpret_cast<const char *>(&lf), nullptr);
    });
    emf.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
    emf.Add(U_EMRSETTEXTCOLOR_set(colorref3_set(0, 0, 255)));
    emf.Add(U_EMRSETTEXTALIGN_set(U_TA_TOP | U_TA_LEFT));
    size_t length = 0;
    uint16_t *text = U_Utf8ToUtf16le("病院", 0, &length);
    uint32_t *dx = dx_set(-150, 400, uint32_t(length));
    char *emrtext = emrtext_set(point32_set(550, 300), uint32_t(length), 2, text, U_ETO_NONE,
                                rectl_set(point32_set(0, 0), point32_set(-1, -1)), dx);
    emf.Add(U_EMREXTTEXTOUTW_set(rectl_set(point32_set(550, 300), point32_set(900, 450)), U_GM_COMPATIBLE, 1, 1,
                                 reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    std::free(dx);
    std::free(text);
    return emf.Finish();
}

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

// A 400 × 200 picture touring the record families of enhanced metafiles:
// mapping (a window twice the viewport), saved and restored states and a
// world transform, objects (pens, brushes, stock objects, a font), shapes,
// lines, a path, text and two bitmaps. Every shape lies inside the picture.
inline QByteArray WriteRecordTourEmf(const QString &path)
{
    EmfSampleWriter emf(path, 400, 200);
    emf.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    emf.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(800, 400)));
    emf.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(200, 100)));
    emf.Add(U_EMRSCALEVIEWPORTEXTEX_set(2, 1, 2, 1));
    emf.SelectBrushAndPen(colorref3_set(255, 0, 0), 0, colorref3_set(0, 0, 0));
    auto box = [](int left, int top, int right, int bottom) {
        return rectl_set(point32_set(left, top), point32_set(right, bottom));
    };
    emf.Add(U_EMRROUNDRECT_set(box(0, 0, 200, 200), sizel_set(40, 40)));
    emf.Add(U_EMRELLIPSE_set(box(200, 0, 400, 200)));
    emf.Add(U_EMRSAVEDC_set());
    emf.Add(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(2, 0, 0, 2, 0, 0), U_MWT_LEFTMULTIPLY));
    emf.Rectangle(200, 0, 250, 50);
    emf.Add(U_EMRRESTOREDC_set(-1));
    emf.SelectBrushAndPen(colorref3_set(0, 255, 0), 4, colorref3_set(0, 0, 255));
    const U_POINTL start = point32_set(700, 100), end = point32_set(600, 0);
    emf.Add(U_EMRPIE_set(box(600, 0, 800, 200), start, end));
    emf.Add(U_EMRCHORD_set(box(0, 200, 200, 400), point32_set(200, 300), point32_set(0, 300)));
    emf.Add(U_EMRARC_set(box(200, 200, 400, 400), point32_set(400, 300), point32_set(200, 300)));
    const U_POINT16 triangle[] = {point16_set(400, 400), point16_set(500, 200), point16_set(600, 400)};
    emf.Add(U_EMRPOLYGON16_set(box(400, 200, 600, 400), 3, triangle));
    const U_POINTL zigzag[] = {point32_set(600, 200), point32_set(650, 300), point32_set(700, 200)};
    emf.Add(U_EMRPOLYLINE_set(box(600, 200, 700, 300), 3, zigzag));
    const uint32_t counts[] = {4, 4};
    const U_POINT16 squares[] = {point16_set(700, 200), point16_set(750, 200), point16_set(750, 250),
                                 point16_set(700, 250), point16_set(750, 250), point16_set(800, 250),
                                 point16_set(800, 300), point16_set(750, 300)};
    emf.Add(U_EMRPOLYPOLYGON16_set(box(700, 200, 800, 300), 2, counts, 8, squares));
    emf.Add(U_EMRMOVETOEX_set(point32_set(700, 350)));
    emf.Add(U_EMRLINETO_set(point32_set(800, 350)));
    emf.Add(U_EMRBEGINPATH_set());
    const U_POINT16 corners[] = {point16_set(0, 100), point16_set(50, 100), point16_set(50, 150), point16_set(0, 150)};
    emf.Add(U_EMRPOLYGON16_set(box(0, 100, 50, 150), 4, corners));
    emf.Add(U_EMRENDPATH_set());
    emf.Add(U_EMRFILLPATH_set(box(0, 100, 50, 150)));
    emf.Add(U_EMRSELECTOBJECT_set(U_NULL_BRUSH));
    emf.Rectangle(50, 100, 100, 150);

    uint16_t *face = U_Utf8ToUtf16le("IPAGothic", 0, nullptr);
    U_LOGFONT lf = logfont_set(-40, 0, 0, 0, 400, 0, 0, 0, U_ANSI_CHARSET, 0, 0, 0, 0, face);
    std::free(face);
    emf.Select([&lf](uint32_t *h, EMFHANDLES *t) {
        return extcreatefontindirectw_set(h, t, reinterpret_cast<const char *>(&lf), nullptr);
    });
    size_t length = 0;
    uint16_t *text = U_Utf8ToUtf16le("ab", 0, &length);
    uint32_t *dx = dx_set(-40, 400, uint32_t(length));
    char *emrtext =
        emrtext_set(point32_set(100, 100), uint32_t(length), 2, text, U_ETO_OPAQUE, box(100, 100, 200, 150), dx);
    emf.Add(
        U_EMREXTTEXTOUTW_set(box(100, 100, 200, 150), U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(emrtext)));
    std::free(emrtext);
    std::free(dx);
    std::free(text);

    U_BITMAPINFOHEADER header = bitmapinfoheader_set(4, 4, 1, 24, U_BI_RGB, 48, 3780, 3780, 0, 0);
    PU_BITMAPINFO bmi = bitmapinfo_set(header, nullptr);
    std::vector<char> px = GreenPixels();
    emf.Add(U_EMRSTRETCHDIBITS_set(box(200, 100, 300, 150), point32_set(200, 100), point32_set(100, 50),
                                   point32_set(0, 0), point32_set(4, 4), U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
                                   uint32_t(px.size()), px.data()));
    emf.Add(U_EMRBITBLT_set(box(300, 100, 304, 104), point32_set(300, 100), point32_set(4, 4), point32_set(0, 0),
                            xform_set(1, 0, 0, 1, 0, 0), colorref3_set(0, 0, 0), U_DIB_RGB_COLORS, U_SRCCOPY, bmi,
                            uint32_t(px.size()), px.data()));
    std::free(bmi);
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
