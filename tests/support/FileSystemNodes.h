#pragma once

// Test helpers for the places files are written to: a small tmpfs that can
// be filled (a full disk), and device nodes and FIFOs made in a temporary
// folder (never the real /dev). Mounting and mknod need root, as in CI;
// elsewhere the tests that need them skip with the reason given here.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace ralvo::test {

class SmallFileSystem
{
public:
    explicit SmallFileSystem(int kilobytes = 64)
    {
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) != 0) {
            m_why = QStringLiteral("cannot mount a small tmpfs (needs root): ")
                    + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        m_mounted = true;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return m_mounted; }
    std::string skipReason() const { return m_why.toStdString(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Writes a filler file until no byte more fits.
    bool Fill()
    {
        const int fd = ::open(QFile::encodeName(filePath(QStringLiteral("filler"))).constData(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        const QByteArray chunk(4096, 'f');
        bool full = false;
        for (int i = 0; i < 1 << 20 && !full; ++i)
            full = ::write(fd, chunk.constData(), std::size_t(chunk.size())) < 0 && errno == ENOSPC;
        for (int size = 2048; size >= 1 && full; size /= 2) // the last bytes too
            while (::write(fd, chunk.constData(), std::size_t(size)) > 0) {}
        ::close(fd);
        return full;
    }

    // Every name in the folder but the filler.
    QStringList Names() const
    {
        QStringList names =
            QDir(path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        names.removeAll(QStringLiteral("filler"));
        return names;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

// Makes a character device node (major, minor) at `path`; false when not allowed.
inline bool MakeCharacterDevice(const QString &path, unsigned major, unsigned minor)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(major, minor)) == 0;
}

inline bool MakeFifo(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }

// The type bits of what `path` names (links not followed); 0 when nothing.
inline mode_t NodeType(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & S_IFMT;
}

inline constexpr unsigned kMemoryMajor = 1; // /dev/null is 1,3, /dev/zero 1,5, /dev/full 1,7
inline constexpr unsigned kNullMinor = 3;
inline constexpr unsigned kZeroMinor = 5;
inline constexpr unsigned kFullMinor = 7;

} // namespace ralvo::test
