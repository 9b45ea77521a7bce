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

std::variant<BatchPages, BatchRefusal> ReadBatchPages(const QByteArray &bytes, const ScheduleSettings &settings,
                                                      const BatchReading &reading)
{
    auto text = DecodeCsvBytes(bytes, reading.encoding);
    if (const CsvDecodeError *error = std::get_if<CsvDecodeError>(&text))
        return BatchRefusal{error->line, error->reason};
    auto read = ReadBatchRows(std::get<QString>(text));
    if (QString *error = std::get_if<QString>(&read))
        return BatchRefusal{0, std::move(*error)};
    const BatchRows &rows = std::get<BatchRows>(read);
    if (rows.dataRows > reading.maxRows) {
        return BatchRefusal{
            0,
            QStringLiteral("%1 行のデータがあり、上限の %2 行を超えています。").arg(rows.dataRows).arg(reading.maxRows),
            true};
    }

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

namespace {

std::vector<PageSources> SourcesOf(const BatchPages &batch, AppRecords &records, platform::Messages &messages,
                                   platform::Sounds &sounds)
{
    std::vector<PageSources> pages;
    pages.reserve(batch.pages.size());
    for (const PlainInputFields &fields : batch.pages)
        pages.push_back(PageSources{records.settings, records.notices, records.block, fields, messages, sounds});
    return pages;
}

} // namespace

PageFile RenderBatchPdf(const BatchPages &batch, AppRecords &records, PagePaper paper, int dpi,
                        platform::Messages &messages, platform::Sounds &sounds, const PageProgress &progress)
{
    return RenderPagesPdf(paper, dpi, SourcesOf(batch, records, messages, sounds), progress);
}

PageFile RenderBatchPdfInto(QIODevice &device, const BatchPages &batch, AppRecords &records, PagePaper paper, int dpi,
                            platform::Messages &messages, platform::Sounds &sounds, const PageProgress &progress)
{
    return RenderPagesPdfInto(device, paper, dpi, SourcesOf(batch, records, messages, sounds), progress);
}

} // namespace ralvo::cli
