#include "store/FileWriter.h"

#include "platform/EscapedText.h"

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

namespace ralvo::store {

namespace {

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

bool IsStream(mode_t mode) { return S_ISCHR(mode) || S_ISFIFO(mode); }

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

namespace {

// Where a path that does not exist yet would be: its folder's real path and
// its name; empty when the folder does not exist either.
QString WouldBeAt(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? QString() : folder + u'/' + info.fileName();
}

bool SameFile(const QString &a, const QString &b)
{
    struct stat first;
    struct stat second;
    const bool firstExists = ::stat(QFile::encodeName(a).constData(), &first) == 0;
    const bool secondExists = ::stat(QFile::encodeName(b).constData(), &second) == 0;
    if (firstExists && secondExists)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino && !IsStream(first.st_mode);
    if (firstExists || secondExists)
        return false;
    const QString at = WouldBeAt(a);
    return !at.isEmpty() && at == WouldBeAt(b);
}

} // namespace

QString OutputOntoInputReason(const QString &output, const QStringList &inputs)
{
    if (output.isEmpty())
        return {};
    for (const QString &input : inputs) {
        if (!input.isEmpty() && SameFile(output, input))
            return u"出力ファイル %1 は読み込むファイル %2 と同じファイルなので書き出しません。"_s.arg(output, input);
    }
    return {};
}

QString CannotCreateFileMessage(const QString &path)
{
    return u"ファイル %1 を作成できません"_s.arg(platform::EscapeControlCharacters(path));
}

// ---- StreamingFileWriter ----

StreamingFileWriter::StreamingFileWriter(const QString &path, const FileWriteOptions &options)
{
    if (path.isEmpty()) {
        m_failure = u"ファイル名がありません"_s;
        return;
    }
    if (const QString onto = OutputOntoInputReason(path, options.readFiles); !onto.isEmpty()) {
        m_failure = onto;
        return;
    }
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    if (::lstat(native.constData(), &st) != 0) {
        if (errno != ENOENT)
            m_failure = SystemErrorText(errno);
        else
            OpenTemporary(native, nullptr, options);
        return;
    }
    if (S_ISREG(st.st_mode)) {
        OpenTemporary(native, &st, options);
        return;
    }
    if (IsStream(st.st_mode)) {
        OpenStream(native);
        return;
    }
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        if (::stat(native.constData(), &target) == 0 && IsStream(target.st_mode)) {
            OpenStream(native);
            return;
        }
        QString why;
        const QByteArray resolved = ResolvedRegularTarget(native, &target, &why);
        if (resolved.isEmpty())
            m_failure = why;
        else
            OpenTemporary(resolved, &target, options);
        return;
    }
    m_failure = S_ISDIR(st.st_mode) ? u"フォルダです"_s : u"通常のファイルでも書き込める装置でもありません"_s;
}

StreamingFileWriter::~StreamingFileWriter() { Discard(); }

void StreamingFileWriter::Fail(const QString &reason)
{
    if (m_failure.isEmpty())
        m_failure = reason;
    Discard();
}

void StreamingFileWriter::Discard()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
    m_temporary.clear();
    m_buffer.clear();
}

// Writes into a device or pipe in place.
void StreamingFileWriter::OpenStream(const QByteArray &native)
{
    // Non-blocking open: a FIFO without a reader fails at once (ENXIO)
    // instead of hanging the program.
    m_fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        return Fail(errno == ENXIO ? u"読み出す側のいないパイプには書き込めません"_s : SystemErrorText(errno));
    struct stat st;
    if (::fstat(m_fd, &st) != 0 || !IsStream(st.st_mode)) // replaced since we looked
        return Fail(u"書き込み先が途中で変わりました"_s);
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK);
}

// Creates the temporary file beside the regular file `native` that Commit()
// replaces (or creates). `old` describes the file being replaced, null for a
// new one.
void StreamingFileWriter::OpenTemporary(const QByteArray &native, const struct stat *old,
                                        const FileWriteOptions &options)
{
    // Replacing through a rename would also take over a file we may not
    // write to: refuse that as writing in place would.
    if (old && ::access(native.constData(), W_OK) != 0)
        return Fail(SystemErrorText(errno));

    QByteArray temporary = native + ".XXXXXX";
    m_fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (m_fd < 0)
        return Fail(SystemErrorText(errno));
    m_temporary = temporary;
    m_target = native;

    if (old) {
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            if (::fchown(m_fd, old->st_uid, old->st_gid) != 0 && old->st_uid != ::geteuid())
                return Fail(u"ファイルの所有者を変えずに置き換えることができません"_s);
        }
        if (::fchmod(m_fd, old->st_mode & 07777) != 0)
            return Fail(SystemErrorText(errno));
    } else {
        const mode_t mode = options.exactNewMode ? mode_t(options.newFileMode & 07777)
                                                 : mode_t(options.newFileMode & 07777 & ~CurrentUmask());
        if (::fchmod(m_fd, mode) != 0)
            return Fail(SystemErrorText(errno));
    }
}

bool StreamingFileWriter::Write(QByteArrayView bytes)
{
    if (!m_failure.isEmpty())
        return false;
    if (m_buffer.size() + bytes.size() <= kBufferBytes) {
        m_buffer.append(bytes);
        return true;
    }
    return Flush() && WriteThrough(bytes);
}

bool StreamingFileWriter::Flush()
{
    const bool ok = WriteThrough(m_buffer);
    m_buffer.clear();
    return ok;
}

bool StreamingFileWriter::WriteThrough(QByteArrayView bytes)
{
    if (!m_failure.isEmpty())
        return false;
    int error = 0;
    bool ok;
    {
        SigpipeGuard guard; // a reader closing a pipe fails the write
        ok = WriteAll(m_fd, bytes, &error);
    }
    if (!ok)
        Fail(SystemErrorText(error));
    return ok;
}

FileWriteResult StreamingFileWriter::Commit()
{
    if (!Flush())
        return {false, m_failure};
    if (m_temporary.isEmpty()) { // a device or FIFO
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0 && errno != EINTR)
            Fail(SystemErrorText(errno));
        return {m_failure.isEmpty(), m_failure};
    }
    // The data reaches the disk before the rename makes it the file.
    if (::fsync(m_fd) != 0) {
        Fail(SystemErrorText(errno));
        return {false, m_failure};
    }
    const int closed = ::close(m_fd);
    m_fd = -1;
    if ((closed != 0 && errno != EINTR) || ::rename(m_temporary.constData(), m_target.constData()) != 0) {
        Fail(SystemErrorText(errno));
        return {false, m_failure};
    }
    m_temporary.clear();
    SyncFolder(FolderOf(m_target));
    m_failure = u"書き込みは終わっています"_s; // no more writes
    return {true, {}};
}

FileWriteResult WriteFileAtomically(const QString &path, QByteArrayView bytes, const FileWriteOptions &options)
{
    StreamingFileWriter writer(path, options);
    writer.Write(bytes);
    return writer.Commit();
}

// ---- FileWriterDevice ----

FileWriterDevice::FileWriterDevice(StreamingFileWriter &writer) : m_writer(writer)
{
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FileWriterDevice::readData(char *, qint64) { return -1; }

qint64 FileWriterDevice::writeData(const char *data, qint64 size)
{
    return m_writer.Write(QByteArrayView(data, qsizetype(size))) ? size : -1;
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

} // namespace ralvo::store
