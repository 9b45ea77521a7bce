#pragma once

// Tests on real files: a fresh temporary folder for every test (removed with
// all it holds when the test ends, so no test sees what another left), and
// whole-file reads and writes that fail the test when the write does.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ralvo::test {

// The whole file; empty when it cannot be opened.
inline QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Replaces the file with `bytes`; the test fails unless every byte is written.
inline void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << path.toStdString();
    ASSERT_TRUE(file.flush());
}

class TemporaryFolderTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()) << dir.errorString().toStdString(); }

    QString Path(const QString &name) const { return dir.filePath(name); }
    // Every name in the folder, hidden files, devices and FIFOs included.
    QStringList Names() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

} // namespace ralvo::test
