#include "app/cli/Console.h"

#include "platform/FileWriter.h"

#include <QtGlobal>

namespace ralvo::cli {

namespace {

void DropQtMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

QString EscapedInput(const QString &input)
{
    QString escaped;
    escaped.reserve(input.size());
    for (const QChar c : input) {
        if (c.category() == QChar::Other_Control) // C0, DEL and C1: all below U+0100
            escaped += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            escaped += c;
    }
    return escaped;
}

void SilenceQtMessages()
{
    qInstallMessageHandler(DropQtMessage);
}

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
        const bool ok = std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out) == std::size_t(bytes.size())
                        && std::fflush(m_out) == 0;
        if (!ok)
            Error(QStringLiteral("標準出力に書き込めませんでした。"));
        return ok;
    }
    const platform::FileWriteResult written = platform::WriteFileAtomically(fileName, bytes);
    if (!written) {
        Error(QStringLiteral("ファイル %1 に書き込めませんでした: %2").arg(fileName, written.reason));
        return false;
    }
    return true;
}

} // namespace ralvo::cli
