#include "app/cli/PageBatch.h"

#include "app/cli/CsvTable.h"
#include "app/cli/ScheduleOptions.h"
#include "print/SchedulePage.h"
#include "records/AppRecords.h"

#include <algorithm>

namespace ralvo::cli {

PlainInputFields PageFieldsOf(const CalculationInput &input, const QString &motherName)
{
    PlainInputFields fields;
    fields.basis = int(input.basis);
    fields.year = input.year;
    fields.month = input.month;
    fields.day = input.day;
    fields.cycle = input.cycle;
    fields.mother = motherName;
    return fields;
}

std::variant<BatchPages, QString> ReadBatchPages(const QByteArray &bytes, const ScheduleSettings &settings)
{
    const std::optional<QString> text = DecodeCsvBytes(bytes);
    if (!text)
        return QStringLiteral("CSV ファイルが UTF-8 でも Shift-JIS でもありません。");
    auto read = ReadBatchRows(*text);
    if (QString *error = std::get_if<QString>(&read))
        return std::move(*error);
    const BatchRows &rows = std::get<BatchRows>(read);

    BatchPages batch;
    batch.failures = rows.errors;
    batch.pages.reserve(rows.rows.size());
    for (const BatchRow &row : rows.rows) {
        PlainInputFields fields = PageFieldsOf(row.input, row.name);
        if (!PageSchedule(settings, fields)) {
            batch.failures.push_back({row.line, InputRefusalMessage(row.input)});
            continue;
        }
        batch.pages.push_back(std::move(fields));
    }
    std::stable_sort(batch.failures.begin(), batch.failures.end(),
                     [](const BatchRowError &a, const BatchRowError &b) { return a.line < b.line; });
    return batch;
}

PageFile RenderBatchPdf(const BatchPages &batch, AppRecords &records, PagePaper paper, int dpi,
                        platform::Messages &messages, platform::Sounds &sounds, const PageProgress &progress)
{
    std::vector<PageSources> pages;
    pages.reserve(batch.pages.size());
    for (const PlainInputFields &fields : batch.pages)
        pages.push_back(PageSources{records.settings, records.notices, records.block, fields, messages, sounds});
    return RenderPagesPdf(paper, dpi, pages, progress);
}

QString ShownText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            shown += QStringLiteral("\\x") + QStringLiteral("%1").arg(int(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

} // namespace ralvo::cli
