#include "pictures/PictureCache.h"

#include <QFile>

#include <sys/stat.h>

namespace ralvo::pictures {

// What tells one state of a file from another.
struct PictureCache::FileState
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::timespec modified{};
    std::timespec changed{};

    bool operator==(const FileState &o) const
    {
        return device == o.device && inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec
               && modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec
               && changed.tv_nsec == o.changed.tv_nsec;
    }
};

struct PictureCache::Entry
{
    QString path;
    FileState state;
    Picture picture;
    qint64 bytes = 0;
};

PictureCache::PictureCache(qint64 maxBytes, int maxEntries, Clock clock)
    : m_maxBytes(maxBytes), m_maxEntries(maxEntries), m_clock(std::move(clock))
{}

PictureCache::~PictureCache() = default;

PictureCache &PictureCache::Shared()
{
    // Never destroyed: a kept metafile's renderer must not outlive the
    // application object.
    static auto *const cache = new PictureCache;
    return *cache;
}

// The state of a regular file at `path` (links followed); empty for
// anything else.
std::optional<PictureCache::FileState> PictureCache::StateOf(const QString &path)
{
    struct stat info
    {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return FileState{info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

// Whether both times lie at least a whole second before the clock's, so that
// any later write stamps the file with other times.
bool PictureCache::Settled(const FileState &state) const
{
    std::timespec now{};
    if (m_clock)
        now = m_clock();
    else
        std::timespec_get(&now, TIME_UTC);
    const auto older = [&now](const std::timespec &t) { return t.tv_sec + 1 < now.tv_sec; };
    return older(state.modified) && older(state.changed);
}

void PictureCache::Evict()
{
    while (!m_entries.empty() && (m_bytes > m_maxBytes || qsizetype(m_entries.size()) > m_maxEntries)) {
        m_bytes -= m_entries.back().bytes;
        m_entries.pop_back();
    }
}

PictureCache::Snapshot::Snapshot(PictureCache &cache) : m_cache(cache)
{
    const QMutexLocker lock(&m_cache.m_mutex);
    ++m_cache.m_snapshots;
}

PictureCache::Snapshot::~Snapshot()
{
    const QMutexLocker lock(&m_cache.m_mutex);
    if (--m_cache.m_snapshots == 0)
        m_cache.m_snapshot.clear();
}

std::optional<Picture> PictureCache::Load(const QString &path)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (m_snapshots > 0) {
            if (const auto seen = m_snapshot.constFind(path); seen != m_snapshot.constEnd())
                return *seen;
        }
    }
    std::optional<Picture> picture = LoadFile(path);
    const QMutexLocker lock(&m_mutex);
    if (m_snapshots > 0)
        m_snapshot.insert(path, picture);
    return picture;
}

std::optional<Picture> PictureCache::LoadFile(const QString &path)
{
    const auto format = Picture::FormatOfPath(path);
    if (!format)
        return std::nullopt;
    const std::optional<FileState> before = StateOf(path);
    {
        const QMutexLocker lock(&m_mutex);
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->path != path)
                continue;
            if (before && it->state == *before) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return m_entries.front().picture;
            }
            m_bytes -= it->bytes;
            m_entries.erase(it);
            break;
        }
        ++m_decodes;
    }
    std::optional<Picture> picture = Picture::Load(path);
    // Kept only when the file read is the one looked at before, and settled.
    if (!picture || !before || !Settled(*before) || StateOf(path) != before)
        return picture;
    const bool metafile = *format == Picture::Format::Emf || *format == Picture::Format::Wmf;
    const qint64 bytes =
        metafile ? qint64(before->size) : qint64(picture->Size().width()) * qint64(picture->Size().height()) * 4;
    if (bytes > m_maxBytes)
        return picture;
    const QMutexLocker lock(&m_mutex);
    m_entries.push_front(Entry{path, *before, *picture, bytes});
    m_bytes += bytes;
    Evict();
    return picture;
}

std::optional<Picture> LoadPicture(const QString &path) { return PictureCache::Shared().Load(path); }

} // namespace ralvo::pictures
