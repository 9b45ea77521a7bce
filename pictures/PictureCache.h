#pragma once

// Pictures of the institution block read at every drawing, decoded again
// only when their file has changed. Each drawing looks the file up (its
// device, inode, size, modification and change times); a file in the same
// state as when it was last decoded gives that picture again, any other goes
// through Picture::Load. A file changed within the last second or two is
// never kept (the clock that stamps files is coarse: another write could
// leave its times as they are), nor is one that cannot be read.

#include "pictures/Pictures.h"

#include <QHash>
#include <QMutex>
#include <QString>

#include <ctime>
#include <functional>
#include <list>
#include <optional>

namespace ralvo::pictures {

class PictureCache
{
public:
    using Clock = std::function<std::timespec()>;

    // Keeps at most `maxBytes` of decoded pictures (pixels of 4 bytes;
    // metafiles by their file's size) and at most `maxEntries` pictures.
    // `clock` tells the time files are compared with (the real time when
    // empty).
    explicit PictureCache(qint64 maxBytes = 64 * 1024 * 1024, int maxEntries = 64, Clock clock = {});
    ~PictureCache();
    PictureCache(const PictureCache &) = delete;
    PictureCache &operator=(const PictureCache &) = delete;

    // Picture::Load(path), or the picture decoded from the file in its
    // present state before.
    std::optional<Picture> Load(const QString &path);

    // How many times a file was decoded.
    int Decodes() const { return m_decodes; }

    // While one is alive, each path gives what its first Load gave, and the
    // file is not looked at again: a sheet drawn band by band shows one
    // state of each picture, decoded once, even a picture just written.
    // It holds for every drawing through the cache meanwhile.
    class Snapshot
    {
    public:
        explicit Snapshot(PictureCache &cache);
        ~Snapshot();
        Snapshot(const Snapshot &) = delete;
        Snapshot &operator=(const Snapshot &) = delete;

    private:
        PictureCache &m_cache;
    };

    // The one the drawings share.
    static PictureCache &Shared();

private:
    struct FileState;
    struct Entry;

    std::optional<Picture> LoadFile(const QString &path);
    static std::optional<FileState> StateOf(const QString &path);
    bool Settled(const FileState &state) const;
    void Evict();

    qint64 m_maxBytes;
    int m_maxEntries;
    Clock m_clock;
    QMutex m_mutex;
    std::list<Entry> m_entries; // most recently used first
    qint64 m_bytes = 0;
    int m_decodes = 0;
    int m_snapshots = 0;                               // Snapshots alive
    QHash<QString, std::optional<Picture>> m_snapshot; // what each path gave meanwhile
};

// PictureCache::Shared().Load(path).
std::optional<Picture> LoadPicture(const QString &path);

} // namespace ralvo::pictures
