#include "app/ui/BatchPdfCommand.h"

#include "app/cli/PageBatch.h"
#include "platform/EscapedText.h"
#include "print/PreviewMessages.h"
#include "records/AppRecords.h"
#include "store/FileWriter.h"
#include "store/SettingsStore.h"

#include <QFileInfo>

namespace ralvo {

namespace {

using platform::EscapeControlCharacters;

// Rows left out that one message lists, at most.
constexpr std::size_t kListedFailures = 20;

QString FailureLines(const std::vector<cli::BatchRowError> &failures)
{
    QString lines;
    for (std::size_t i = 0; i < failures.size() && i < kListedFailures; ++i)
        lines += QStringLiteral("\n%1 行目: ").arg(failures[i].line) + EscapeControlCharacters(failures[i].reason);
    if (failures.size() > kListedFailures)
        lines += QStringLiteral("\nほか %1 行").arg(failures.size() - kListedFailures);
    return lines;
}

QString LeftOutText(const std::vector<cli::BatchRowError> &failures)
{
    if (failures.empty())
        return {};
    return QStringLiteral("\n\nページにしなかった行 (%1 行):").arg(failures.size()) + FailureLines(failures);
}

std::optional<QString> ChooseCsv(platform::FileDialogs &dialogs)
{
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("CSVファイルを開く");
    request.filter = QStringLiteral("CSVファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*");
    request.filterIndex = 1;
    request.defaultSuffix = QStringLiteral("csv");
    std::optional<QString> path = dialogs.GetOpenFileName(request);
    if (!path || path->isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> ChoosePdf(platform::FileDialogs &dialogs, const QString &csvPath)
{
    const QFileInfo csv(csvPath);
    platform::FileDialogs::Request request;
    request.title = QStringLiteral("PDFファイルに保存");
    request.filter = PdfFileFilter();
    request.filterIndex = 1;
    request.initialDir = csv.absolutePath();
    request.fileName = csv.completeBaseName() + QStringLiteral(".pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    std::optional<QString> path = dialogs.GetSaveFileName(request);
    if (!path || path->isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

QString BatchPdfCaption() { return QStringLiteral("CSVから一括でPDFを作成"); }

BatchPdfResult MakeBatchPdf(AppRecords &records, const platform::Services &services)
{
    platform::Messages &messages = *services.messages;
    const std::optional<QString> csvPath = ChooseCsv(*services.fileDialogs);
    if (!csvPath)
        return BatchPdfResult::NotChosen;

    const auto bytes = cli::ReadBatchFileBytes(*csvPath);
    if (const QString *error = std::get_if<QString>(&bytes)) {
        messages.ShowMessage(EscapeControlCharacters(*error));
        return BatchPdfResult::Refused;
    }
    const auto read = cli::ReadBatchPages(std::get<QByteArray>(bytes), records.settings);
    if (const cli::BatchRefusal *refusal = std::get_if<cli::BatchRefusal>(&read)) {
        const QString where = refusal->line > 0 ? QStringLiteral("%1 行目: ").arg(refusal->line) : QString();
        messages.ShowMessage(
            QStringLiteral("CSVファイル %1 からPDFを作成できません。\n").arg(EscapeControlCharacters(*csvPath)) + where
            + EscapeControlCharacters(refusal->reason));
        return BatchPdfResult::Refused;
    }
    const cli::BatchPages &batch = std::get<cli::BatchPages>(read);
    if (batch.pages.empty()) {
        messages.ShowMessage(
            QStringLiteral("CSVファイル %1 にはページにできる行がありません。").arg(EscapeControlCharacters(*csvPath))
            + LeftOutText(batch.failures));
        return BatchPdfResult::Refused;
    }

    const std::optional<QString> pdfPath = ChoosePdf(*services.fileDialogs, *csvPath);
    if (!pdfPath)
        return BatchPdfResult::NotChosen;
    const QString shownPdf = EscapeControlCharacters(*pdfPath);
    const auto cannotWrite = [&](const QString &reason) {
        messages.ShowMessage(store::CannotCreateFileMessage(*pdfPath)
                             + (reason.isEmpty() ? QString() : u'\n' + EscapeControlCharacters(reason)));
        return BatchPdfResult::WriteFailed;
    };
    // The pages go into the PDF's temporary file as they are drawn, never
    // onto the table being read or the settings store.
    store::FileWriteOptions options;
    options.readFiles = {*csvPath, store::SettingsStore::UserStorePath()};
    store::StreamingFileWriter writer(*pdfPath, options);
    if (writer.failed())
        return cannotWrite(writer.Commit().reason);

    const int total = int(batch.pages.size());
    platform::Progress *progress = services.progress;
    if (progress)
        progress->Start(BatchPdfCaption(), QStringLiteral("%1 人分のページを作成しています…").arg(total), total);
    // Every page draws the same block: what it reports is told once, after
    // the progress box.
    PreviewMessages blockMessages(messages);
    blockMessages.NewShowing();
    blockMessages.BeginDrawing();
    const auto step = [progress, &blockMessages](std::size_t drawn) {
        blockMessages.BeginDrawing();
        return !progress || progress->Advance(int(drawn));
    };
    store::FileWriterDevice device(writer);
    const PageFile file = cli::RenderBatchPdfInto(device, batch, records, PdfPaperForYoshi(records.settings.Yoshi),
                                                  kSavedPdfDpi, blockMessages, *services.sounds, step);
    if (progress)
        progress->Finish();
    blockMessages.ShowPending();

    // Cancelled or failed, the writer removes its temporary file and an old
    // file of that name stays as it was.
    if (file.cancelled) {
        messages.ShowMessage(QStringLiteral("キャンセルしました。%1 は作成していません。").arg(shownPdf));
        return BatchPdfResult::Cancelled;
    }
    if (file.result != PageResult::Drawn || (!file.error.isEmpty() && !writer.failed()))
        return cannotWrite(file.error);
    if (const store::FileWriteResult written = writer.Commit(); !written)
        return cannotWrite(written.reason);
    messages.ShowMessage(QStringLiteral("%1 ページのPDFファイルを作成しました。\n%2").arg(total).arg(shownPdf)
                         + LeftOutText(batch.failures));
    return BatchPdfResult::Written;
}

} // namespace ralvo
