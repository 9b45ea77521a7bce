#include "app/cli/ScheduleOptions.h"

#include "app/cli/Console.h"
#include "app/cli/SettingOverrides.h"
#include "platform/EscapedText.h"
#include "store/FileReader.h"
#include "store/SettingsStore.h"

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
const QString CrlOption = QStringLiteral("crl");
const QString MethodOption = QStringLiteral("method");
const QString BpdOption = QStringLiteral("bpd");
const QString GaOption = QStringLiteral("ga");

// The scan bases by their command-line names, with the option that gives
// their measurement.
struct ScanBasis
{
    ScanMeasure measure;
    QString option;
};

std::optional<ScanBasis> ParseScanBasisName(const QString &text)
{
    if (text == CrlOption)
        return ScanBasis{ScanMeasure::CrownRumpLength, CrlOption};
    if (text == BpdOption)
        return ScanBasis{ScanMeasure::BiparietalDiameter, BpdOption};
    if (text == GaOption)
        return ScanBasis{ScanMeasure::ScannerAge, GaOption};
    return std::nullopt;
}

} // namespace

std::optional<CalculationBasis> ParseBasisName(const QString &text)
{
    if (text == QLatin1String("ivf3"))
        return CalculationBasis::EmbryoTransferDay3;
    if (text == QLatin1String("ivf5"))
        return CalculationBasis::EmbryoTransferDay5;
    if (text.size() == 1)
        return CalculationBasisFromInt(text.at(0).unicode() - u'0');
    return std::nullopt;
}

void AddInputOptions(QCommandLineParser &parser)
{
    const QString text = QStringLiteral("TEXT");
    parser.addOptions({
        {BasisOption, QStringLiteral("計算の基準"), QStringLiteral("0|1|2|ivf3|ivf5|crl|bpd|ga")},
        {YearOption, QStringLiteral("基準日の年"), text},
        {MonthOption, QStringLiteral("基準日の月"), text},
        {DayOption, QStringLiteral("基準日の日"), text},
        {CycleOption, QStringLiteral("月経周期"), text},
        {CrlOption, QStringLiteral("頭殿長 (mm)"), QStringLiteral("MM")},
        {MethodOption, QStringLiteral("頭殿長の式"), QStringLiteral("intergrowth|robinson")},
        {BpdOption, QStringLiteral("児頭大横径 (mm)"), QStringLiteral("MM")},
        {GaOption, QStringLiteral("超音波装置の表示した妊娠週数"), QStringLiteral("W+D")},
    });
}

void AddScheduleOptions(QCommandLineParser &parser)
{
    AddInputOptions(parser);
    const QString text = QStringLiteral("TEXT");
    parser.addOptions({
        {NameOption, QStringLiteral("お母さんの名前"), text},
        {SetOption, QStringLiteral("設定項目の上書き"), QStringLiteral("FIELD=VALUE")},
        {DefaultsOption, QStringLiteral("初期設定から始める")},
        {SettingsOption, QStringLiteral("読み込む設定ファイル"), QStringLiteral("FILE")},
        {OutputOption, QStringLiteral("出力ファイル"), QStringLiteral("FILE")},
    });
}

QString InputOptionsUsage()
{
    return QStringLiteral("  --basis 0|1|2|ivf3|ivf5|crl|bpd|ga\n"
                          "                       計算の基準: 0 最終月経開始日から, 1 基礎体温推定排卵日から,\n"
                          "                       2 超音波測定予定日から, ivf3 3日目胚の胚移植日から,\n"
                          "                       ivf5 5日目胚の胚移植日から, crl 超音波の頭殿長から, bpd 超音波の\n"
                          "                       児頭大横径から, ga 超音波装置の表示した妊娠週数から (crl, bpd, ga\n"
                          "                       では年月日が超音波計測日で、出産予定日は計測日 + 280 − 計測時の\n"
                          "                       妊娠日数です)\n"
                          "  --year TEXT          基準日の年 (入力欄と同じ規則で読みます)\n"
                          "  --month TEXT         基準日の月\n"
                          "  --day TEXT           基準日の日\n"
                          "  --cycle TEXT         月経周期 (日数。crl, bpd, ga では省略でき、既定は 28)\n"
                          "  --crl MM             頭殿長 (CRL、mm、小数点以下一桁まで)。--basis crl で必須\n"
                          "  --method intergrowth|robinson\n"
                          "                       頭殿長の式: intergrowth (既定) は INTERGROWTH-21st\n"
                          "                       (Papageorghiou ほか 2014、15 から 95 mm まで)、robinson は\n"
                          "                       Robinson と Fleming (1975、英国医用超音波学会 BMUS の示す形、\n"
                          "                       10 から 84 mm まで)\n"
                          "  --bpd MM             児頭大横径 (BPD、mm、小数点以下一桁まで)。Hadlock (1982) の式、\n"
                          "                       20 から 100 mm まで。--basis bpd で必須\n"
                          "  --ga W+D             超音波装置の表示した妊娠週数 (9+3、9w3d、9週3日 の形、4週0日\n"
                          "                       から 43週6日まで)。--basis ga で必須\n");
}

QString ScheduleOptionsUsage()
{
    return InputOptionsUsage()
           + QStringLiteral("  --name TEXT          お母さんの名前 (表題の ?? に入ります)\n"
                            "  --set FIELD=VALUE    スケジュール設定の項目を上書きします (Tit, Yoteiyogo, Tsuki1,\n"
                            "                       Tsuki2, Shu1, Shu2, …)。何度でも指定できます\n"
                            "  --defaults           利用者の設定ではなく初期設定から始めます\n"
                            "  --settings FILE      利用者の設定の代わりに設定ファイル FILE を読みます\n"
                            "                       (設定ファイルは読むだけで、書き換えません)\n"
                            "  -o FILE              標準出力の代わりに FILE へ書き出します\n");
}

namespace {

// A reason when one of `names` is given more than once; empty otherwise.
QString RepeatedOption(const QCommandLineParser &parser, std::initializer_list<QString> names)
{
    for (const QString &single : names) {
        if (parser.values(single).size() > 1)
            return QStringLiteral("-%1%2 が二度以上指定されています。")
                .arg(single.size() > 1 ? QStringLiteral("-") : QString(), single);
    }
    return {};
}

} // namespace

namespace {

// The scan's measurement options for `basis`: the one its basis names, and
// --method for CRL; none for any other basis (their options then absent).
std::variant<std::optional<ScanOptions>, QString> ReadScanOptions(const QCommandLineParser &parser,
                                                                  const std::optional<ScanBasis> &basis)
{
    const QString repeated = RepeatedOption(parser, {CrlOption, MethodOption, BpdOption, GaOption});
    if (!repeated.isEmpty())
        return repeated;
    for (const QString &measure : {CrlOption, BpdOption, GaOption}) {
        if (parser.isSet(measure) && (!basis || basis->option != measure))
            return QStringLiteral("--%1 は --basis %1 のときだけ指定できます。").arg(measure);
    }
    const bool crl = basis && basis->measure == ScanMeasure::CrownRumpLength;
    if (parser.isSet(MethodOption) && !crl)
        return QStringLiteral("--method は --basis crl のときだけ指定できます。");
    if (!basis)
        return std::optional<ScanOptions>{};
    if (!parser.isSet(basis->option))
        return QStringLiteral("--%1 がありません。").arg(basis->option);
    ScanOptions scan{basis->measure, CrlMethod::Intergrowth21st, parser.value(basis->option)};
    const QString method = parser.value(MethodOption);
    if (method == QLatin1String("robinson"))
        scan.method = CrlMethod::Robinson;
    else if (!method.isEmpty() && method != QLatin1String("intergrowth"))
        return QStringLiteral("--method には intergrowth か robinson を指定して下さい: ")
               + platform::EscapeControlCharacters(method);
    return std::optional<ScanOptions>{scan};
}

} // namespace

std::variant<InputRequest, QString> ReadInputOptions(const QCommandLineParser &parser)
{
    if (!parser.isSet(BasisOption))
        return QStringLiteral("--%1 がありません。").arg(BasisOption);
    const QString basis = parser.value(BasisOption);
    const std::optional<ScanBasis> scanBasis = ParseScanBasisName(basis);
    // A scan dates the pregnancy itself: the cycle matters only beside a last period.
    for (const QString &required : {YearOption, MonthOption, DayOption, CycleOption}) {
        if (!parser.isSet(required) && !(scanBasis && required == CycleOption))
            return QStringLiteral("--%1 がありません。").arg(required);
    }
    const QString repeated = RepeatedOption(parser, {BasisOption, YearOption, MonthOption, DayOption, CycleOption});
    if (!repeated.isEmpty())
        return repeated;

    InputRequest request;
    CalculationInput &input = request.input;
    const std::optional<CalculationBasis> parsedBasis =
        scanBasis ? CalculationBasis::UltrasoundDueDate : ParseBasisName(basis);
    if (!parsedBasis)
        return QStringLiteral("--basis には 0, 1, 2, ivf3, ivf5, crl, bpd, ga のどれかを指定して下さい: ")
               + platform::EscapeControlCharacters(basis);
    input.basis = *parsedBasis;
    input.year = parser.value(YearOption);
    input.month = parser.value(MonthOption);
    input.day = parser.value(DayOption);
    if (parser.isSet(CycleOption))
        input.cycle = parser.value(CycleOption);
    auto scan = ReadScanOptions(parser, scanBasis);
    if (const QString *error = std::get_if<QString>(&scan))
        return *error;
    request.scan = std::get<std::optional<ScanOptions>>(scan);
    return request;
}

namespace {

// The reason a scan's measurement is refused, naming what it may be.
QString MeasurementRefusal(const ScanOptions &scan)
{
    const ScanRange range = RangeOf(scan.measure, scan.method);
    const QString typed = platform::EscapeControlCharacters(scan.value);
    if (scan.measure == ScanMeasure::ScannerAge)
        return QStringLiteral("--ga には %1 から %2 までの妊娠週数を 9+3、9w3d、9週3日 の形で指定して下さい: %3")
            .arg(WeeksAndDaysText(range.first), WeeksAndDaysText(range.last), typed);
    return QStringLiteral("--%1 には %2 から %3 までの mm の数 (小数点以下一桁まで) を指定して下さい (%4): %5")
        .arg(MeasureKey(scan.measure), TenthsText(range.first), TenthsText(range.last),
             MethodName(scan.measure, scan.method), typed);
}

} // namespace

std::variant<DatedInput, QString> DateInput(const CalculationInput &input, const std::optional<ScanOptions> &scan)
{
    if (!scan)
        return DatedInput{input, std::nullopt};
    const std::optional<qint32> year = ParseIntegerField(input.year);
    const std::optional<qint32> month = ParseIntegerField(input.month);
    const std::optional<qint32> day = ParseIntegerField(input.day);
    if (!year || !month || !day)
        return QStringLiteral("超音波計測日の年、月、日には整数を入力して下さい。");
    if (*month < 1 || *month > 12)
        return QStringLiteral("月には1から12までの数を入力して下さい。");
    const std::optional<int> value =
        scan->measure == ScanMeasure::ScannerAge ? ParseScannerAge(scan->value) : ParseTenths(scan->value);
    const std::optional<int> age = value ? ScanAgeDays(scan->measure, scan->method, *value) : std::nullopt;
    if (!age)
        return MeasurementRefusal(*scan);
    const std::optional<UltrasoundScan> dated =
        DateByScan(CalendarDate{*year, *month, *day}, scan->measure, scan->method, *value);
    if (!dated)
        return QStringLiteral("計算した日付の年が扱える範囲を超えています。");
    DatedInput result{input, dated};
    result.input.basis = CalculationBasis::UltrasoundDueDate;
    result.input.year = QString::number(dated->dueDate.year);
    result.input.month = QString::number(dated->dueDate.month);
    result.input.day = QString::number(dated->dueDate.day);
    return result;
}

namespace {

// The options other than the input.
std::variant<ScheduleRequest, QString> ReadOtherOptions(const QCommandLineParser &parser)
{
    const QString repeated = RepeatedOption(parser, {NameOption, SettingsOption, OutputOption});
    if (!repeated.isEmpty())
        return repeated;
    ScheduleRequest request;
    request.motherName = parser.value(NameOption);
    request.settingAssignments = parser.values(SetOption);
    request.useDefaults = parser.isSet(DefaultsOption);
    request.settingsFile = parser.value(SettingsOption);
    if (request.useDefaults && parser.isSet(SettingsOption))
        return QStringLiteral("--defaults と --settings は同時に指定できません。");
    request.outputFile = parser.value(OutputOption);
    return request;
}

} // namespace

std::variant<ScheduleRequest, QString> ReadScheduleOptions(const QCommandLineParser &parser)
{
    const auto input = ReadInputOptions(parser);
    if (const QString *error = std::get_if<QString>(&input))
        return *error;
    auto request = ReadOtherOptions(parser);
    if (ScheduleRequest *made = std::get_if<ScheduleRequest>(&request)) {
        made->input = std::get<InputRequest>(input).input;
        made->scan = std::get<InputRequest>(input).scan;
    }
    return request;
}

std::variant<ScheduleRequest, QString> ReadScheduleOptionsWithoutInput(const QCommandLineParser &parser)
{
    for (const QString &input : {BasisOption, YearOption, MonthOption, DayOption, CycleOption, NameOption, CrlOption,
                                 MethodOption, BpdOption, GaOption}) {
        if (parser.isSet(input))
            return QStringLiteral("--%1 はここでは指定できません。").arg(input);
    }
    return ReadOtherOptions(parser);
}

namespace {

StoredRecords RecordsOfStore(store::SettingsStore &store, platform::Messages &messages)
{
    StoredRecords records;
    PlainInputFields fields;
    platform::Services services;
    services.messages = &messages;
    LoadStoredRecords(store, records, fields, services);
    return records;
}

// The store of a --settings file, read only; why not when it is missing,
// cannot be read or is no store.
std::variant<store::SettingsStore, RecordsRefusal> OpenSettingsFile(const QString &file)
{
    const store::FileReadResult read = store::ReadRegularFile(file, store::kMaxStoreFileBytes);
    if (read.status == store::FileReadResult::Status::Missing) // a mistyped option
        return RecordsRefusal{QStringLiteral("設定ファイルがありません: ") + file, true};
    QString why = read.reason;
    if (read.ok()) {
        if (std::optional<store::SettingsStore> store = store::SettingsStore::FromJson(read.bytes, &why))
            return std::move(*store);
    }
    return RecordsRefusal{QStringLiteral("設定ファイル %1 を読み込めません: %2").arg(file, why), false};
}

} // namespace

std::variant<StoredRecords, RecordsRefusal> ResolveStoredRecords(const ScheduleRequest &request,
                                                                 platform::Messages &messages)
{
    StoredRecords records; // first-run defaults with --defaults
    if (!request.settingsFile.isEmpty()) {
        auto opened = OpenSettingsFile(request.settingsFile);
        if (const RecordsRefusal *refusal = std::get_if<RecordsRefusal>(&opened))
            return *refusal;
        records = RecordsOfStore(std::get<store::SettingsStore>(opened), messages);
    } else if (!request.useDefaults) {
        store::SettingsStore store = store::SettingsStore::OpenUserStore(store::SettingsStore::Access::ReadOnly);
        records = RecordsOfStore(store, messages);
    }
    const QString error = ApplySettingAssignments(records.settings, request.settingAssignments);
    if (!error.isEmpty())
        return RecordsRefusal{error, true};
    return records;
}

QStringList ReadFilesOf(const ScheduleRequest &request)
{
    QStringList files{store::SettingsStore::UserStorePath()};
    if (!request.settingsFile.isEmpty())
        files << request.settingsFile;
    return files;
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
