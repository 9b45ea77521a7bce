// The "page" subcommand's options and usage. Its drawing is in
// PageCommand.cpp, which only the drawing program links.

#include "app/cli/PageOptions.h"
#include "app/cli/PregnancyCalendarOptions.h"
#include "app/cli/ScheduleOptions.h"
#include "app/cli/Subcommands.h"

namespace ralvo::cli {

namespace {

void AddPageOptions(QCommandLineParser &parser)
{
    AddScheduleOptions(parser);
    parser.addOptions({
        {PaperOption, QStringLiteral("用紙"), QStringLiteral("a4|b5")},
        {DpiOption, QStringLiteral("解像度"), QStringLiteral("N")},
        {BatchOption, QStringLiteral("一行に一人の CSV ファイル"), QStringLiteral("FILE.csv")},
        {EncodingOption, QStringLiteral("CSV ファイルの文字コード"), QStringLiteral("utf-8|shift-jis")},
        {MaxRowsOption, QStringLiteral("CSV ファイルの行数の上限"), QStringLiteral("N")},
    });
}

void AddCalendarOptions(QCommandLineParser &parser)
{
    AddScheduleOptions(parser);
    parser.addOptions({
        {PaperOption, QStringLiteral("用紙"), QStringLiteral("a4|b5")},
        {DpiOption, QStringLiteral("解像度"), QStringLiteral("N")},
        {CalendarBornOption, QStringLiteral("出産日"), QStringLiteral("YYYY-MM-DD")},
        {CalendarMultipleOption, QStringLiteral("多胎妊娠")},
    });
    AddCheckupsOption(parser);
}

} // namespace

Subcommand CalendarSubcommand()
{
    return Subcommand{
        QStringLiteral("calendar"),
        QStringLiteral("  ralvo-schedule calendar --basis 0|1|2|ivf3|ivf5|crl|bpd|ga --year TEXT --month TEXT\n"
                       "                      --day TEXT --cycle TEXT [--name TEXT] [--set FIELD=VALUE]...\n"
                       "                      [--crl MM [--method intergrowth|robinson] | --bpd MM | --ga W+D]\n"
                       "                      [--defaults | --settings FILE] [--paper a4|b5] [--dpi N]\n"
                       "                      [--born YYYY-MM-DD] [--multiple] [--checkups LIST]\n"
                       "                      -o FILE.pdf|FILE.png\n"),
        QStringLiteral("  (入力、--set、--defaults、--settings、--paper、--dpi、-o は page と同じです)\n"
                       "  --born YYYY-MM-DD    出産日 (妊娠12週1日から43週6日まで): 産後休業、育児休業、\n"
                       "                       出産手当金の期間を載せます\n"
                       "  --multiple           多胎妊娠: 産前休業を出産予定日の97日前からにします\n")
            + CheckupsOptionUsage()
            + QStringLiteral("  (calendar は妊娠カレンダーのページ (予定日などの日付、妊婦健診の目安、戌の日、\n"
                             "  休業の日付、機関名等) を一枚の PDF か PNG に書き出します)\n"),
        AddCalendarOptions,
        nullptr, // drawn by the drawing program (DrawingCommands.h)
        true,
    };
}

Subcommand PageSubcommand()
{
    return Subcommand{
        QStringLiteral("page"),
        QStringLiteral("  ralvo-schedule page --basis 0|1|2|ivf3|ivf5|crl|bpd|ga --year TEXT --month TEXT --day TEXT\n"
                       "                      --cycle TEXT [--name TEXT] [--set FIELD=VALUE]...\n"
                       "                      [--crl MM [--method intergrowth|robinson] | --bpd MM | --ga W+D]\n"
                       "                      [--defaults | --settings FILE] [--paper a4|b5] [--dpi N]\n"
                       "                      -o FILE.pdf|FILE.png\n"
                       "  ralvo-schedule page --batch FILE.csv [--encoding utf-8|shift-jis] [--max-rows N]\n"
                       "                      [--set FIELD=VALUE]... [--defaults | --settings FILE]\n"
                       "                      [--paper a4|b5] [--dpi N] -o FILE.pdf\n"),
        ScheduleOptionsUsage()
            + QStringLiteral(
                "  --paper a4|b5        用紙: a4 (既定) か b5 (JIS B5)\n"
                "  --dpi N              解像度 (既定 600、1 から 1200 まで)\n"
                "  --batch FILE.csv     CSV の一行ごとに一ページの PDF を書き出します。見出しの行に\n"
                "                       name, basis, year, month, day, cycle の列 (順序は自由、name は\n"
                "                       省略可、ほかの列は無視) を書きます。UTF-8 (BOM の有無は問いません)\n"
                "                       か Shift-JIS。誤りのある行は行番号とともに標準エラーに書いて\n"
                "                       飛ばし、終了状態を 2 にします\n"
                "  --encoding utf-8|shift-jis\n"
                "                       CSV ファイルの文字コードを推測せずに指定します (既定はファイル\n"
                "                       全体で一つに推測し、行ごとに違う文字コードのファイルは断ります)\n"
                "  --max-rows N         これより多いデータ行の CSV ファイルを断ります (既定 20000)\n"
                "  (page の -o は必須です。.pdf なら PDF (フォント埋め込み)、.png なら画像を書き出します)\n"),
        AddPageOptions,
        nullptr, // drawn by the drawing program (DrawingCommands.h)
        true,
    };
}

} // namespace ralvo::cli
