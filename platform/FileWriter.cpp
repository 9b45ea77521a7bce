#include "platform/FileWriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace ralvo::platform {

namespace {

FileWriteResult Fail(const QString &reason)
{
    return FileWriteResult{false, reason};
}

// Writes everything, resuming after interruptions and short writes.
bool WriteAll(int fd, QByteArrayView bytes, int *error)
{
    const char *at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, std::size_t(std::min<qsizetype>(left, qsizetype(1) << 20)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        if (n == 0) {
            *error = EIO;
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

// While it lives, a reader closing the pipe makes write() fail with EPIPE
// instead of ending the program with SIGPIPE.
class SigpipeGuard
{
public:
    SigpipeGuard()
    {
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe, &m_old);
    }
    ~SigpipeGuard()
    {
        if (!m_wasPending) { // take back the SIGPIPE our own writes raised
            sigset_t pipe;
            sigemptyset(&pipe);
            sigaddset(&pipe, SIGPIPE);
            const timespec now{0, 0};
            while (sigtimedwait(&pipe, nullptr, &now) > 0) {}
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    SigpipeGuard(const SigpipeGuard &) = delete;
    SigpipeGuard &operator=(const SigpipeGuard &) = delete;

private:
    sigset_t m_old;
    bool m_wasPending = false;
};

bool IsStream(mode_t mode)
{
    return S_ISCHR(mode) || S_ISFIFO(mode);
}

// Writes into a device or pipe in place.
FileWriteResult StreamInto(const QByteArray &native, QByteArrayView bytes)
{
    // Non-blocking open: a FIFO without a reader fails at once (ENXIO)
    // instead of hanging the program.
    const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENXIO)
            return Fail(u"読み出す側のいないパイプには書き込めません"_s);
        return Fail(SystemErrorText(errno));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !IsStream(st.st_mode)) { // replaced since we looked
        ::close(fd);
        return Fail(u"書き込み先が途中で変わりました"_s);
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    int error = 0;
    bool ok;
    {
        SigpipeGuard guard;
        ok = WriteAll(fd, bytes, &error);
    }
    if (::close(fd) != 0 && ok && errno != EINTR) {
        error = errno;
        ok = false;
    }
    return ok ? FileWriteResult{true, {}} : Fail(SystemErrorText(error));
}

mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0077);
    ::umask(mask);
    return mask;
}

void SyncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

QByteArray FolderOf(const QByteArray &native)
{
    const qsizetype slash = native.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return native.left(slash);
}

// Replaces (or creates) the regular file `native` through a temporary file
// beside it. `old` describes the file being replaced, null for a new one.
FileWriteResult Replace(const QByteArray &native, const struct stat *old, QByteArrayView bytes,
                        const FileWriteOptions &options)
{
    // Replacing through a rename would also take over a file we may not
    // write to: refuse that as writing in place would.
    if (old && ::access(native.constData(), W_OK) != 0)
        return Fail(SystemErrorText(errno));

    QByteArray temporary = native + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Fail(SystemErrorText(errno));
    const auto discard = [&](const QString &reason) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.constData());
        return Fail(reason);
    };

    if (old) {
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            if (::fchown(fd, old->st_uid, old->st_gid) != 0 && old->st_uid != ::geteuid())
                return discard(u"ファイルの所有者を変えずに置き換えることができません"_s);
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0)
            return discard(SystemErrorText(errno));
    } else {
        const mode_t mode = options.exactNewMode ? mode_t(options.newFileMode & 07777)
                                                 : mode_t(options.newFileMode & 07777 & ~CurrentUmask());
        if (::fchmod(fd, mode) != 0)
            return discard(SystemErrorText(errno));
    }

    int error = 0;
    if (!WriteAll(fd, bytes, &error))
        return discard(SystemErrorText(error));
    // The data reaches the disk before the rename makes it the file.
    if (::fsync(fd) != 0)
        return discard(SystemErrorText(errno));
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && errno != EINTR)
        return discard(SystemErrorText(errno));
    if (::rename(temporary.constData(), native.constData()) != 0)
        return discard(SystemErrorText(errno));
    SyncFolder(FolderOf(native));
    return FileWriteResult{true, {}};
}

// Where a write to `native` lands when it replaces a regular file: the path
// itself, or the file its link points to. Empty when refused (`why`).
QByteArray ResolvedRegularTarget(const QByteArray &native, struct stat *target, QString *why)
{
    struct stat st;
    if (::stat(native.constData(), &st) != 0) {
        *why = errno == ENOENT ? u"リンク先のファイルがありません"_s : SystemErrorText(errno);
        return {};
    }
    if (!S_ISREG(st.st_mode)) {
        *why = u"リンク先が通常のファイルではありません"_s;
        return {};
    }
    if (st.st_uid != ::geteuid()) {
        *why = u"リンク先が他のユーザーのファイルです"_s;
        return {};
    }
    char *resolved = ::realpath(native.constData(), nullptr);
    if (!resolved) {
        *why = SystemErrorText(errno);
        return {};
    }
    QByteArray path(resolved);
    std::free(resolved);
    *target = st;
    return path;
}

bool IsTemporarySuffix(QStringView suffix)
{
    if (suffix.size() != 6)
        return false;
    return std::all_of(suffix.begin(), suffix.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
}

} // namespace

QString SystemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
        return u"ディスクの空き容量が足りません"_s;
    case EDQUOT:
        return u"ディスクの使用量の上限を超えました"_s;
    case EACCES:
    case EPERM:
        return u"書き込みが許可されていません"_s;
    case EROFS:
        return u"読み取り専用のファイルシステムです"_s;
    case ENOENT:
        return u"フォルダがありません"_s;
    case ENOTDIR:
        return u"パスの途中にフォルダでないものがあります"_s;
    case EISDIR:
        return u"フォルダです"_s;
    case EIO:
        return u"入出力エラーが起きました"_s;
    case ENAMETOOLONG:
        return u"ファイル名が長すぎます"_s;
    case ELOOP:
        return u"シンボリックリンクの連なりが長すぎます"_s;
    case EPIPE:
        return u"読み出す側が先に閉じました"_s;
    case EFBIG:
        return u"ファイルが大きすぎます"_s;
    case EBUSY:
    case ETXTBSY:
        return u"ファイルが使用中です"_s;
    default:
        break;
    }
    return u"システムエラー %1（%2）"_s.arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
}

FileWriteResult WriteFileAtomically(const QString &path, QByteArrayView bytes, const FileWriteOptions &options)
{
    if (path.isEmpty())
        return Fail(u"ファイル名がありません"_s);
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::lstat(native.constData(), &st) != 0) {
        if (errno != ENOENT)
            return Fail(SystemErrorText(errno));
        return Replace(native, nullptr, bytes, options);
    }
    if (S_ISREG(st.st_mode))
        return Replace(native, &st, bytes, options);
    if (IsStream(st.st_mode))
        return StreamInto(native, bytes);
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        if (::stat(native.constData(), &target) == 0 && IsStream(target.st_mode))
            return StreamInto(native, bytes);
        QString why;
        const QByteArray resolved = ResolvedRegularTarget(native, &target, &why);
        if (resolved.isEmpty())
            return Fail(why);
        return Replace(resolved, &target, bytes, options);
    }
    if (S_ISDIR(st.st_mode))
        return Fail(u"フォルダです"_s);
    return Fail(u"通常のファイルでも書き込める装置でもありません"_s);
}

int RemoveStrayTemporaryFiles(const QString &path)
{
    QString target = path;
    const QFileInfo link(path);
    if (link.isSymLink()) {
        QString why;
        struct stat st;
        const QByteArray resolved = ResolvedRegularTarget(QFile::encodeName(path), &st, &why);
        if (resolved.isEmpty())
            return 0;
        target = QFile::decodeName(resolved);
    }
    const QFileInfo info(target);
    const QString prefix = info.fileName() + u'.';
    const QDir folder = info.absoluteDir();
    int removed = 0;
    const QStringList names =
        folder.entryList({prefix + u"??????"_s}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString &name : names) {
        if (!IsTemporarySuffix(QStringView(name).sliced(prefix.size())))
            continue;
        const QByteArray native = QFile::encodeName(folder.filePath(name));
        struct stat st;
        if (::lstat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (::unlink(native.constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace ralvo::platform
