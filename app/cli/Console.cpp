#include "app/cli/Console.h"

#include "platform/EscapedText.h"

#include <QtGlobal>

namespace ralvo::cli {

namespace {

void DropQtMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

void SilenceQtMessages() { qInstallMessageHandler(DropQtMessage); }

void Console::Error(const QString &line) { ErrorText(platform::EscapeControlCharacters(line)); }

void Console::ErrorText(const QString &text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
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
    return Written(store::WriteFileAtomically(fileName, bytes), fileName);
}

bool Console::Written(const store::FileWriteResult &written, const QString &fileName)
{
    if (!written) {
        Error(QStringLiteral("ファイル %1 に書き込めませんでした: %2").arg(fileName, written.reason));
        return false;
    }
    return true;
}

} // namespace ralvo::cli
