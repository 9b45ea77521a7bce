#pragma once

// The one way the program reads a file named by the user or by its
// settings: only a regular file is read (a FIFO, a device or a folder is
// refused without ever blocking in open), and never more than a cap.

#include <QByteArray>
#include <QString>

namespace ralvo::store {

struct FileReadResult
{
    enum class Status { Read, Missing, Refused };
    Status status = Status::Refused;
    QByteArray bytes; // the whole file, when Read
    QString reason;   // Japanese, when Refused (or Missing)

    bool ok() const { return status == Status::Read; }
};

// Reads all of `path` when it is (or a link leads to) a regular file of at
// most `maxBytes` bytes.
FileReadResult ReadRegularFile(const QString &path, qint64 maxBytes);

} // namespace ralvo::store
