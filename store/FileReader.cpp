#include "store/FileReader.h"

#include "store/FileWriter.h"

#include <QFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace ralvo::store {

FileReadResult ReadRegularFile(const QString &path, qint64 maxBytes)
{
    FileReadResult result;
    const auto refuse = [&result](const QString &reason) {
        result.status = FileReadResult::Status::Refused;
        result.reason = reason;
        return result;
    };
    // Non-blocking: opening a FIFO must not wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            result.status = FileReadResult::Status::Missing;
            result.reason = u"ファイルがありません"_s;
            return result;
        }
        return refuse(error == EACCES || error == EPERM ? u"読み込みが許可されていません"_s : SystemErrorText(error));
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return refuse(SystemErrorText(errno));
    if (!S_ISREG(st.st_mode))
        return refuse(S_ISDIR(st.st_mode) ? u"フォルダです"_s : u"通常のファイルではありません"_s);
    const QString tooLarge = u"ファイルが大きすぎます（上限 %1 バイト）"_s.arg(maxBytes);
    if (st.st_size > maxBytes)
        return refuse(tooLarge);

    QByteArray bytes;
    bytes.resize(qsizetype(std::min<qint64>(st.st_size, maxBytes)) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) // grew past the cap while being read
                return refuse(tooLarge);
            bytes.resize(qsizetype(std::min<qint64>(maxBytes + 1, qint64(bytes.size()) * 2)));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            return refuse(error == EIO ? u"入出力エラーが起きました"_s : SystemErrorText(error));
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > maxBytes)
        return refuse(tooLarge);
    bytes.truncate(filled);
    result.status = FileReadResult::Status::Read;
    result.bytes = std::move(bytes);
    return result;
}

} // namespace ralvo::store
