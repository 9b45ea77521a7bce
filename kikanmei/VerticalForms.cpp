#include "kikanmei/VerticalForms.h"

#include <QHash>
#include <QMutex>
#include <QPaintDevice>

#include <map>
#include <tuple>

#include <hb.h>

namespace ralvo::platform {

namespace {

double DpiOf(const QPaintDevice *device)
{
    const int dpi = device ? device->logicalDpiY() : 72;
    return dpi > 0 ? dpi : 72; // as FontForCellHeight assumes
}

hb_blob_t *ReferenceTable(hb_face_t *, hb_tag_t tag, void *userData)
{
    const auto *raw = static_cast<const QRawFont *>(userData);
    const char name[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), '\0'};
    // fontTable() hands over a copy already: the blob keeps it, read only,
    // and frees it with the blob (the face holds each table once).
    auto *table = new QByteArray(raw->fontTable(name));
    if (table->isEmpty()) {
        delete table;
        return nullptr;
    }
    return hb_blob_create(table->constData(), static_cast<unsigned int>(table->size()), HB_MEMORY_MODE_READONLY, table,
                          [](void *data) { delete static_cast<QByteArray *>(data); });
}

// A face as Qt names it: the same file at every size.
using FaceKey = std::tuple<QString, QString, int, int>;

FaceKey KeyOf(const QRawFont &font) { return {font.familyName(), font.styleName(), font.weight(), int(font.style())}; }

void DeleteRawFont(void *userData) { delete static_cast<QRawFont *>(userData); }

} // namespace

QRawFont RawFontFor(const QFont &font, const QPaintDevice *device)
{
    QRawFont raw = QRawFont::fromFont(font);
    const double dpi = DpiOf(device);
    const double pixels = font.pointSizeF() > 0 ? font.pointSizeF() * dpi / 72.0 : font.pixelSize();
    if (!raw.isValid() || !(pixels > 0))
        return raw;
    // Sizing a raw font makes a font engine of its own, whose glyphs are
    // rendered anew: the sized fonts are kept (never destroyed, as they must
    // not outlive the application object), so that every drawing at a size
    // shares one engine and its rendered glyphs.
    using SizedKey = std::tuple<QString, double, QString, QString>;
    static QMutex mutex;
    static auto *sized = new std::map<SizedKey, QRawFont>;
    constexpr std::size_t kMostSizes = 64;
    const SizedKey key{font.key(), pixels, raw.familyName(), raw.styleName()};
    const QMutexLocker lock(&mutex);
    if (const auto known = sized->find(key); known != sized->end())
        return known->second;
    raw.setPixelSize(pixels);
    if (sized->size() >= kMostSizes)
        sized->clear();
    sized->emplace(key, raw);
    return raw;
}

struct VerticalForms::HarfBuzz
{
    hb_face_t *face = nullptr;
    hb_font_t *font = nullptr;
    hb_buffer_t *buffer = nullptr;
    // Characters shaped so far, with their glyphs; guarded, as is the
    // buffer, by `mutex`.
    QHash<QString, quint32> shaped;
    QMutex mutex;

    ~HarfBuzz()
    {
        hb_buffer_destroy(buffer);
        hb_font_destroy(font);
        hb_face_destroy(face);
    }
};

VerticalForms::VerticalForms(const QRawFont &font) : m_hb(std::make_unique<HarfBuzz>())
{
    if (!font.isValid())
        return;
    m_hb->face = hb_face_create_for_tables(ReferenceTable, new QRawFont(font), DeleteRawFont);
    m_hb->font = hb_font_create(m_hb->face);
    m_hb->buffer = hb_buffer_create();
}

VerticalForms::~VerticalForms() = default;

const VerticalForms &VerticalForms::Of(const QRawFont &font)
{
    // Kept until the process ends and never destroyed: the faces hold raw
    // fonts, which must not outlive the application object.
    static QMutex mutex;
    static auto *faces = new std::map<FaceKey, std::unique_ptr<VerticalForms>>;
    static const VerticalForms *const none = new VerticalForms(QRawFont());
    if (!font.isValid())
        return *none;
    const QMutexLocker lock(&mutex);
    std::unique_ptr<VerticalForms> &forms = (*faces)[KeyOf(font)];
    if (!forms)
        forms = std::make_unique<VerticalForms>(font);
    return *forms;
}

quint32 VerticalForms::Glyph(const QString &character) const
{
    if (!m_hb->font || character.isEmpty())
        return 0;
    const QMutexLocker lock(&m_hb->mutex);
    if (const auto known = m_hb->shaped.constFind(character); known != m_hb->shaped.constEnd())
        return *known;
    hb_buffer_t *buffer = m_hb->buffer;
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t *>(character.utf16()), int(character.size()), 0,
                        int(character.size()));
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, HB_DIRECTION_TTB);
    const hb_feature_t vert{HB_TAG('v', 'e', 'r', 't'), 1, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END};
    hb_shape(m_hb->font, buffer, &vert, 1);
    unsigned int count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer, &count);
    const quint32 glyph = count == 1 ? info[0].codepoint : 0;
    m_hb->shaped.insert(character, glyph);
    return glyph;
}

} // namespace ralvo::platform
