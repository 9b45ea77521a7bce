#include "app/cli/Subcommands.h"

#include "store/FileWriter.h"

namespace ralvo::cli {

std::vector<Subcommand> Subcommands()
{
    return {TextSubcommand(), PageSubcommand(), CalendarSubcommand(), DatesSubcommand(), IcsSubcommand()};
}

QString UsageText()
{
    // The first line names the tool and says what it does; the manual page
    // takes its name line from it and its sections from the headings below.
    QString usage = QStringLiteral("ralvo-schedule: 出産予定日と妊娠スケジュール表をコマンドラインで求めます\n"
                                   "\n使い方:\n");
    for (const Subcommand &command : Subcommands())
        usage += command.synopsis;
    usage += QStringLiteral("  ralvo-schedule --help\n"
                            "  ralvo-schedule --version\n");
    for (const Subcommand &command : Subcommands())
        usage += QStringLiteral("\n%1 のオプション:\n").arg(command.name) + command.optionsUsage;
    usage += QStringLiteral(
        "\n例:\n"
        "  ralvo-schedule text --basis 0 --year 2024 --month 1 --day 1 --cycle 28 --utf8\n"
        "  ralvo-schedule text --basis ivf5 --year 2024 --month 1 --day 20 --cycle 28 --utf8\n"
        "  ralvo-schedule page --basis 0 --year 2024 --month 1 --day 1 --cycle 28 --name 山田 -o a.pdf\n"
        "  ralvo-schedule page --batch today.csv -o today.pdf\n"
        "  ralvo-schedule calendar --basis 0 --year 2025 --month 4 --day 10 --cycle 28 --name 山田 -o cal.pdf\n"
        "  ralvo-schedule dates --basis 0 --year 2024 --month 1 --day 1 --cycle 28 --on 2024-03-01 --json\n"
        "  ralvo-schedule dates --basis 2 --year 2026 --month 1 --day 15 --cycle 28 --born 2026-01-20\n"
        "  ralvo-schedule ics --basis 0 --year 2024 --month 1 --day 1 --cycle 28 --name 山田 -o 山田.ics\n"
        "  (超音波計測日 2026年6月10日の頭殿長 45 mm、INTERGROWTH-21st の式)\n"
        "  ralvo-schedule text --basis crl --crl 45 --year 2026 --month 6 --day 10 --utf8\n"
        "  (同じ頭殿長を Robinson の式で)\n"
        "  ralvo-schedule page --basis crl --crl 45 --method robinson --year 2026 --month 6 --day 10 -o a.pdf\n"
        "  (児頭大横径 50 mm、Hadlock の式)\n"
        "  ralvo-schedule ics --basis bpd --bpd 50 --year 2026 --month 6 --day 10 --name 山田 -o 山田.ics\n"
        "  (超音波装置の表示した 9週3日)\n"
        "  ralvo-schedule dates --basis ga --ga 9+3 --year 2026 --month 6 --day 10 --json\n"
        "  (最終月経 2026年4月5日の予定日と比べる: 差 -12日、修正の目安 redate)\n"
        "  ralvo-schedule dates --basis crl --crl 45 --year 2026 --month 6 --day 10 --lmp 2026-04-05 --json\n"
        "  ralvo-schedule ics --basis 2 --year 2026 --month 1 --day 15 --cycle 28 --name 山田\n"
        "                     --checkups 8,12,16,20,24,28,32,36,38 --no-inu -o 山田.ics\n"
        "\n終了状態:\n"
        "  0                    成功\n"
        "  2                    整数でない入力または計算できない日付、範囲外の超音波計測値\n"
        "                       (--batch では誤りのある行があったとき。ほかの行のページは\n"
        "                       書き出します)、読めない --settings のファイル、読めない\n"
        "                       CSV ファイル (文字コードの混在、行数の上限超え)、読み込めない\n"
        "                       枠の画像 (page。ページは書き出します)\n"
        "  64                   オプションの誤り、読み込むファイル (設定ファイル、--settings、\n"
        "                       --batch) と同じファイルへの -o\n"
        "  69                   ページを描くプログラムがないか起動できない (page, calendar)\n"
        "  73                   出力ファイルに書き込めない\n");
    return usage;
}

int UsageError(Console &console, const QString &reason)
{
    if (!reason.isEmpty())
        console.Error(reason);
    console.ErrorText(UsageText().trimmed());
    return ExitUsage;
}

int RefuseRecords(Console &console, const RecordsRefusal &refusal)
{
    if (refusal.badOption)
        return UsageError(console, refusal.reason);
    console.Error(refusal.reason);
    return ExitInputRefused;
}

int CheckOutputIsNoInput(Console &console, const QString &output, const QStringList &inputs)
{
    const QString reason = store::OutputOntoInputReason(output, inputs);
    if (reason.isEmpty())
        return ExitOk;
    console.Error(reason);
    return ExitUsage;
}

QStringList CommandLineArguments(int argc, char **argv)
{
    QStringList arguments;
    arguments.reserve(argc);
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

std::variant<ScheduleRun, int> ReadScheduleRun(const QCommandLineParser &parser, Console &console,
                                               platform::Messages &messages)
{
    auto request = ReadScheduleOptions(parser);
    if (const QString *error = std::get_if<QString>(&request))
        return UsageError(console, *error);
    ScheduleRun run{std::move(std::get<ScheduleRequest>(request)), {}, std::nullopt};
    if (const int status = CheckOutputIsNoInput(console, run.request.outputFile, ReadFilesOf(run.request)))
        return status;
    auto resolved = ResolveStoredRecords(run.request, messages);
    if (const RecordsRefusal *refusal = std::get_if<RecordsRefusal>(&resolved))
        return RefuseRecords(console, *refusal);
    run.records = std::move(std::get<StoredRecords>(resolved));
    const auto dated = DateInput(run.request.input, run.request.scan);
    if (const QString *error = std::get_if<QString>(&dated)) {
        console.Error(*error);
        return ExitInputRefused;
    }
    run.request.input = std::get<DatedInput>(dated).input;
    run.scan = std::get<DatedInput>(dated).scan;
    return run;
}

bool NeedsGuiApplication(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    for (const Subcommand &command : Subcommands()) {
        if (command.name == arguments.at(1))
            return command.drawsPages;
    }
    return false;
}

int RunCommandLine(const QStringList &arguments, Console &console, const std::vector<Subcommand> &commands)
{
    const auto badUsage = [&](const QString &reason) { return UsageError(console, reason); };

    if (arguments.size() < 2)
        return badUsage(QStringLiteral("サブコマンドがありません。"));
    const QString &first = arguments.at(1);
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        console.Print(UsageText());
        return ExitOk;
    }
    if (first == QLatin1String("--version")) {
        console.Print(QStringLiteral("ralvo-schedule %1\n").arg(QString::fromLatin1(RALVO_VERSION)));
        return ExitOk;
    }
    for (const Subcommand &command : commands) {
        if (command.name != first)
            continue;
        QCommandLineParser parser;
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addHelpOption();
        command.addOptions(parser);
        QStringList rest = arguments;
        rest.removeAt(1); // the subcommand itself
        if (!parser.parse(rest))
            return badUsage(parser.errorText());
        if (parser.isSet(QStringLiteral("help"))) {
            console.Print(UsageText());
            return ExitOk;
        }
        if (!parser.positionalArguments().isEmpty())
            return badUsage(QStringLiteral("余分な引数があります: ")
                            + parser.positionalArguments().join(QLatin1Char(' ')));
        if (!command.run) {
            console.Error(QStringLiteral("このプログラムでは %1 を実行できません。").arg(command.name));
            return ExitUnavailable;
        }
        return command.run(parser, console);
    }
    return badUsage(QStringLiteral("サブコマンドが正しくありません: ") + first);
}

} // namespace ralvo::cli
