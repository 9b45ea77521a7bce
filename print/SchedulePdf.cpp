#include "print/SchedulePdf.h"

#include "store/FileWriter.h"

namespace ralvo {

PagePaper PdfPaperForYoshi(int yoshi) { return yoshi == 0 ? PagePaper::JisB5 : PagePaper::A4; }

QString PdfFileFilter() { return QStringLiteral("PDFファイル (*.pdf)|*.pdf"); }

SavePdfResult SaveSchedulePdf(const PageSources &sources, platform::FileDialogs &dialogs, const FileWriter &write)
{
    const std::optional<Schedule> schedule = PageSchedule(sources.settings, sources.fields);
    return SavePagePdf(sources, schedule ? std::optional<QString>(schedule->title) : std::nullopt, dialogs, write,
                       DrawSchedulePage);
}

SavePdfResult SavePagePdf(const PageSources &sources, const std::optional<QString> &title,
                          platform::FileDialogs &dialogs, const FileWriter &write, const PageDrawing &draw)
{
    if (!title) {
        sources.sounds.Beep();
        return SavePdfResult::InputFailure;
    }

    platform::FileDialogs::Request request;
    request.title = QStringLiteral("PDFファイルに保存");
    request.filter = PdfFileFilter();
    request.filterIndex = 1;
    request.fileName = ScheduleFileBaseName(*title) + QStringLiteral(".pdf");
    request.defaultSuffix = QStringLiteral("pdf");
    const std::optional<QString> path = dialogs.GetSaveFileName(request);
    if (!path || path->isEmpty())
        return SavePdfResult::Cancelled;

    const PageFile file = RenderPagePdf(PdfPaperForYoshi(sources.settings.Yoshi), kSavedPdfDpi, sources, draw);
    if (file.result == PageResult::InputFailure)
        return SavePdfResult::InputFailure; // the drawing has beeped
    if (file.bytes.isEmpty() || !write || !write(*path, file.bytes)) {
        sources.messages.ShowMessage(store::CannotCreateFileMessage(*path));
        return SavePdfResult::WriteFailed;
    }
    return SavePdfResult::Saved;
}

} // namespace ralvo
