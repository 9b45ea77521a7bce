#include "app/cli/ScheduleOptions.h"

#include "app/cli/SettingOverrides.h"
#include "platform/SettingsStore.h"
#include "settings/SettingsIO.h"

#include <QFileInfo>

namespace ralvo::cli {

namespace {

const QString BasisOption = QStringLiteral("basis");
const QString YearOption = QStringLiteral("year");
const QString MonthOption = QStringLiteral("month");
const QString DayOption = QStringLiteral("day");
const QString CycleOption = QStringLiteral("cycle");
const QString NameOption = QStringLiteral("name");
const QString SetOption = QStringLiteral("set");
const QString DefaultsOption = QStringLiteral("defaults");
const QString SettingsOption = QStringLiteral("settings");
const QString OutputOption = QStringLiteral("o");

} // namespace

void AddScheduleOptions(QCommandLineParser &parser)
{
    const QString text = QStringLiteral("TEXT");
    parser.addOptions({
        {BasisOption, QStringLiteral("計算の基準"), QStringLiteral("0|1|2")},
        {YearOption, QStringLiteral("基準日の年"), text},
        {MonthOption, QStringLiteral("基準日の月"), text},
        {DayOption, QStringLiteral("基準日の日"), text},
        {CycleOption, QStringLiteral("月経周期"), text},
        {NameOption, QStringLiteral("お母さんの名前"), text},
        {SetOption, QStringLiteral("設定項目の上書き"), QStringLiteral("FIELD=VALUE")},
        {DefaultsOption, QStringLiteral("初期設定から始める")},
        {SettingsOption, QStringLiteral("読み込む設定ファイル"), QStringLiteral("FILE")},
        {OutputOption, QStringLiteral("出力ファイル"), QStringLiteral("FILE")},
    });
}

QString ScheduleOptionsUsage()
{
    return QStringLiteral(
        "  --basis 0|1|2        計算の基準: 0 最終月経開始日から, 1 基礎体温推定排卵日から,\n"
        "                       2 超音波測定予定日から\n"
        "  --year TEXT          基準日の年 (入力欄と同じ規則で読みます)\n"
        "  --month TEXT         基準日の月\n"
        "  --day TEXT           基準日の日\n"
        "  --cycle TEXT         月経周期 (日数)\n"
        "  --name TEXT          お母さんの名前 (表題の ?? に入ります)\n"
        "  --set FIELD=VALUE    スケジュール設定の項目を上書きします (Tit, Yoteiyogo, Tsuki1,\n"
        "                       Tsuki2, Shu1, Shu2, …)。何度でも指定できます\n"
        "  --defaults           利用者の設定ではなく初期設定から始めます\n"
        "  --settings FILE      利用者の設定の代わりに設定ファイル FILE を読みます\n"
        "                       (設定ファイルは読むだけで、書き換えません)\n"
        "  -o FILE              標準出力の代わりに FILE へ書き出します\n");
}

std::variant<ScheduleRequest, QString> ReadScheduleOptions(const QCommandLineParser &parser)
{
    for (const QString &required : {BasisOption, YearOption, MonthOption, DayOption, CycleOption}) {
        if (!parser.isSet(required))
            return QStringLiteral("--%1 がありません。").arg(required);
    }
    for (const QString &single : {BasisOption, YearOption, MonthOption, DayOption, CycleOption,
                                  NameOption, SettingsOption, OutputOption}) {
        if (parser.values(single).size() > 1)
            return QStringLiteral("-%1%2 が二度以上指定されています。")
                .arg(single.size() > 1 ? QStringLiteral("-") : QString(), single);
    }

    ScheduleRequest request;
    const QString basis = parser.value(BasisOption);
    const std::optional<CalculationBasis> parsedBasis =
        basis.size() == 1 ? CalculationBasisFromInt(basis.at(0).unicode() - u'0') : std::nullopt;
    if (!parsedBasis)
        return QStringLiteral("--basis には 0, 1, 2 のどれかを指定して下さい: ") + basis;
    request.input.basis = *parsedBasis;
    request.input.year = parser.value(YearOption);
    request.input.month = parser.value(MonthOption);
    request.input.day = parser.value(DayOption);
    request.input.cycle = parser.value(CycleOption);
    request.motherName = parser.value(NameOption);
    request.settingAssignments = parser.values(SetOption);
    request.useDefaults = parser.isSet(DefaultsOption);
    request.settingsFile = parser.value(SettingsOption);
    if (request.useDefaults && parser.isSet(SettingsOption))
        return QStringLiteral("--defaults と --settings は同時に指定できません。");
    request.outputFile = parser.value(OutputOption);
    return request;
}

namespace {

// The records of a store file, opened read-only: nothing on disk is written
// or moved, whatever the file holds.
AppRecords StoredRecords(const QString &file, platform::Messages &messages)
{
    using platform::SettingsStore;
    SettingsStore store = file.isEmpty() ? SettingsStore::OpenUserStore(SettingsStore::Access::ReadOnly)
                                         : SettingsStore::Open(file, SettingsStore::Access::ReadOnly);
    AppRecords records;
    PlainInputFields fields;
    platform::Services services;
    services.messages = &messages;
    LoadSettings(store, records, fields, services);
    return records;
}

} // namespace

std::variant<AppRecords, QString> ResolveScheduleRecords(const ScheduleRequest &request,
                                                         platform::Messages &messages)
{
    if (!request.settingsFile.isEmpty() && !QFileInfo(request.settingsFile).isFile())
        return QStringLiteral("設定ファイルがありません: ") + request.settingsFile;
    AppRecords records = request.useDefaults
        ? AppRecords{} // first-run defaults
        : StoredRecords(request.settingsFile, messages);
    const QString error = ApplySettingAssignments(records.settings, request.settingAssignments);
    if (!error.isEmpty())
        return error;
    return records;
}

std::variant<ScheduleSettings, QString> ResolveScheduleSettings(const ScheduleRequest &request,
                                                                platform::Messages &messages)
{
    auto records = ResolveScheduleRecords(request, messages);
    if (const QString *error = std::get_if<QString>(&records))
        return *error;
    return std::get<AppRecords>(records).settings;
}

QString InputRefusalMessage(const CalculationInput &input)
{
    const std::optional<ParsedCalculationInput> parsed = ParseCalculationInput(input);
    if (!parsed)
        return QStringLiteral("年、月、日、月経周期には整数を入力して下さい。");
    if (parsed->baseDate.month < 1 || parsed->baseDate.month > 12)
        return QStringLiteral("月には1から12までの数を入力して下さい。");
    return QStringLiteral("計算した日付の年が扱える範囲を超えています。");
}

} // namespace ralvo::cli
