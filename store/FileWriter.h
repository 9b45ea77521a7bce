#pragma once

// The one way the program writes a file: whole or not at all.
//
// What happens depends on what the path names:
// - nothing yet, or a regular file: the bytes go to a temporary file
//   "<name>.XXXXXX" in the same folder; every write, the flush to disk and
//   the close are checked, then the temporary file is renamed over the
//   target and the folder is flushed. On any failure the temporary file is
//   removed and the old file stays byte for byte. A replaced file keeps its
//   permissions and owner.
// - a character device or a FIFO (/dev/null, /dev/stdout, a named pipe): the
//   bytes are written into it as a stream, as "cat > PATH" does; the node is
//   never replaced. A FIFO nobody reads from is refused instead of waited on.
// - a symbolic link is followed only to a regular file of the writing user
//   (that file is replaced, the link stays a link) or to a character device
//   or FIFO (streamed into). A dangling link, a link to another user's file
//   and a link to anything else are refused: a save never creates or takes
//   over a file outside the folder it was pointed at.
// - anything else (a folder, a block device, a socket) is refused.
//
// The reasons given are Japanese, one line, for the user.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>

struct stat;

namespace ralvo::store {

struct FileWriteOptions
{
    // Permission bits of a newly created regular file (before the umask
    // for the default; exactly these when `exactNewMode`).
    unsigned newFileMode = 0666;
    bool exactNewMode = false;
    // The files the run reads (the settings store, a batch's table): a
    // target that is one of them, links followed, is refused before
    // anything is written (see OutputOntoInputReason).
    QStringList readFiles;
};

// A one-line reason when `output` is, links followed, the same file as one
// of `inputs` (a link to it, a hard link, another path to it, or the same
// path where neither exists yet); empty when it is none of them, or is
// standard output or another stream.
QString OutputOntoInputReason(const QString &output, const QStringList &inputs);

// What the window tells when a file could not be made: "ファイル … を作成で
// きません", the name with its control characters escaped.
QString CannotCreateFileMessage(const QString &path);

struct FileWriteResult
{
    bool ok = false;
    QString reason; // why not, when !ok

    explicit operator bool() const { return ok; }
};

FileWriteResult WriteFileAtomically(const QString &path, QByteArrayView bytes, const FileWriteOptions &options = {});

// The same write, filled piece by piece so that a large file (a PDF of many
// pages) never has to be held in memory: the pieces go, buffered, into the
// temporary file beside the target (or into the device or FIFO) as they
// come, and Commit() makes the file whole. Destroyed without a successful
// Commit() (a failure, an exception, a return half-way), the temporary file
// is removed and the old file stays byte for byte; a kill leaves a
// temporary file that RemoveStrayTemporaryFiles removes, never a torn file.
class StreamingFileWriter
{
public:
    explicit StreamingFileWriter(const QString &path, const FileWriteOptions &options = {});
    ~StreamingFileWriter();
    StreamingFileWriter(const StreamingFileWriter &) = delete;
    StreamingFileWriter &operator=(const StreamingFileWriter &) = delete;

    // Whether a step failed already (opening included): Commit() says why.
    bool failed() const { return !m_failure.isEmpty(); }
    // False once any step failed; the first reason is kept for Commit().
    bool Write(QByteArrayView bytes);
    // Flushes to disk and renames into place (closes a stream). Once only.
    FileWriteResult Commit();

private:
    static constexpr qsizetype kBufferBytes = 1 << 20;

    void OpenStream(const QByteArray &native);
    void OpenTemporary(const QByteArray &native, const struct stat *old, const FileWriteOptions &options);
    bool Flush();
    bool WriteThrough(QByteArrayView bytes);
    void Fail(const QString &reason);
    void Discard();

    int m_fd = -1;
    QByteArray m_temporary; // empty for a device or FIFO, and once renamed
    QByteArray m_target;    // the regular file it replaces
    QByteArray m_buffer;
    QString m_failure;
};

// A StreamingFileWriter as a write-only QIODevice, for Qt's writers
// (QPdfWriter). A failed write fails the device's write; the writer's
// Commit() tells why.
class FileWriterDevice final : public QIODevice
{
public:
    explicit FileWriterDevice(StreamingFileWriter &writer);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    StreamingFileWriter &m_writer;
};

// Removes temporary files "<name>.XXXXXX" that a write to `path` left behind
// when the program was killed between writing and renaming: regular files
// of the current user, directly beside the (link-resolved) target. Returns
// how many were removed.
int RemoveStrayTemporaryFiles(const QString &path);

// Japanese reason for a system error number.
QString SystemErrorText(int error);

} // namespace ralvo::store
