#include "app/cli/BatchFile.h"

#include "app/cli/CsvTable.h"
#include "app/cli/ScheduleOptions.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ralvo::cli {

namespace {

enum Column { Name, Basis, Year, Month, Day, Cycle, ColumnCount };

constexpr std::array<const char16_t *, ColumnCount> ColumnNames{u"name", u"basis", u"year", u"month", u"day", u"cycle"};

} // namespace

std::variant<BatchRows, QString> ReadBatchRows(const QString &text)
{
    auto parsed = ParseCsv(text);
    if (const CsvError *error = std::get_if<CsvError>(&parsed))
        return QStringLiteral("%1 行目: %2").arg(error->line).arg(error->reason);
    const std::vector<CsvRecord> &records = std::get<std::vector<CsvRecord>>(parsed);
    if (records.empty())
        return QStringLiteral("見出しの行がありません。");

    std::array<qsizetype, ColumnCount> at;
    at.fill(-1);
    const QStringList &header = records.front().fields;
    for (qsizetype i = 0; i < header.size(); ++i) {
        const QString name = header.at(i).trimmed();
        for (int c = 0; c < ColumnCount; ++c) {
            if (name.compare(QString::fromUtf16(ColumnNames[c]), Qt::CaseInsensitive) != 0)
                continue;
            if (at[c] >= 0)
                return QStringLiteral("見出しに同じ列名が二度あります: ") + name;
            at[c] = i;
        }
    }
    for (int c = Basis; c < ColumnCount; ++c) {
        if (at[c] < 0)
            return QStringLiteral("見出しに %1 の列がありません。").arg(QString::fromUtf16(ColumnNames[c]));
    }

    BatchRows result;
    result.dataRows = qint64(records.size()) - 1;
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        const auto field = [&](Column c) {
            return at[c] >= 0 && at[c] < record->fields.size() ? record->fields.at(at[c]) : QString();
        };
        qsizetype needed = 0;
        for (qsizetype index : at)
            needed = std::max(needed, index + 1);
        if (record->fields.size() < needed) {
            result.errors.push_back({record->line, QStringLiteral("列が足りません。")});
            continue;
        }
        const std::optional<CalculationBasis> basis = ParseBasisName(field(Basis).trimmed());
        if (!basis) {
            result.errors.push_back(
                {record->line,
                 QStringLiteral("basis には 0, 1, 2, ivf3, ivf5 のどれかを書いて下さい: ") + field(Basis)});
            continue;
        }
        if (field(Name).contains(QChar(u'\0')) || field(Name).contains(u'\r') || field(Name).contains(u'\n')) {
            result.errors.push_back({record->line, QStringLiteral("name に改行や NUL を含めることはできません。")});
            continue;
        }
        BatchRow row;
        row.line = record->line;
        row.input = CalculationInput{*basis, field(Year), field(Month), field(Day), field(Cycle)};
        row.name = field(Name);
        result.rows.push_back(std::move(row));
    }
    return result;
}

std::variant<QByteArray, QString> ReadBatchFileBytes(const QString &path)
{
    const QString cannotRead = QStringLiteral("CSV ファイルを読めません: ") + path;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return cannotRead;
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return QStringLiteral("CSV ファイルが普通のファイルではありません: ") + path;
    }
    if (info.st_size > kMaxBatchFileBytes) {
        ::close(fd);
        return QStringLiteral("CSV ファイルが大きすぎます (%1 バイトまで): ").arg(kMaxBatchFileBytes) + path;
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || bytes.size() + got > kMaxBatchFileBytes) {
            ::close(fd);
            return got < 0
                       ? cannotRead
                       : QStringLiteral("CSV ファイルが大きすぎます (%1 バイトまで): ").arg(kMaxBatchFileBytes) + path;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(fd);
    return bytes;
}

} // namespace ralvo::cli
