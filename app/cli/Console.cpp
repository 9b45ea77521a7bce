#include "app/cli/Console.h"

#include <QSaveFile>

namespace ralvo::cli {

void Console::Error(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_err);
    std::fflush(m_err);
}

void Console::Print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

bool Console::WriteOutput(const QByteArray &bytes, const QString &fileName)
{
    if (fileName.isEmpty()) {
        const bool ok = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out)
                == std::size_t(bytes.size())
            && std::fflush(m_out) == 0;
        if (!ok)
            Error(QStringLiteral("標準出力に書き込めませんでした。"));
        return ok;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Error(QStringLiteral("ファイルに書き込めませんでした: ") + fileName);
        return false;
    }
    return true;
}

} // namespace ralvo::cli
