// らるぼPro: computes the expected date of delivery and prints a week-by-week
// pregnancy schedule.

#include "app/ui/Application.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {

// What `ralvo --help` prints; the manual page ralvo(1) is made from it when
// the program is built. The first line is the name line, lines ending in a
// colon are headings.
constexpr char HelpText[] = "ralvo: 出産予定日を計算し、妊娠週ごとのスケジュール表を作成・印刷します\n"
                            "\n"
                            "使い方:\n"
                            "  ralvo [Qt のオプション]\n"
                            "  ralvo --help\n"
                            "  ralvo --version\n"
                            "\n"
                            "説明:\n"
                            "らるぼPro は最終月経開始日、基礎体温推定排卵日、超音波測定予定日または胚移植日から\n"
                            "出産予定日、推定排卵日、着床予定日を計算し、妊娠週ごとのスケジュール表をテキスト\n"
                            "ファイル、印刷プレビュー、プリンター、PDF ファイルに書き出します。表の下には医療機関の\n"
                            "ブロックを描けます。操作の説明はヘルプメニューから開けます。\n"
                            "\n"
                            "オプション:\n"
                            "  -h, --help           この説明を表示して終了します\n"
                            "  --version            バージョンを表示して終了します\n"
                            "  -platform NAME       Qt のプラットフォーム (xcb, wayland, offscreen など)。ほかの\n"
                            "                       Qt の標準オプションも使えます\n"
                            "\n"
                            "ファイル:\n"
                            "  ~/.config/ralvo/settings.json\n"
                            "                       設定、40 週分の注意事項、最後の入力、医療機関のブロック\n"
                            "                       ($XDG_CONFIG_HOME があればその下の ralvo/settings.json)。\n"
                            "                       主ウィンドウを閉じたときに書き込みます\n"
                            "\n"
                            "環境:\n"
                            "  DISPLAY, WAYLAND_DISPLAY\n"
                            "                       表示先。画面のない環境では xvfb-run -a ralvo で起動します\n"
                            "\n"
                            "関連項目:\n"
                            "  ralvo-schedule(1)    同じ計算とスケジュール表をコマンドラインで\n";

// --help and --version are answered before Qt starts: they need no display.
bool AnswerInformationOption(int argc, char *argv[])
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(HelpText, stdout);
        return true;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("ralvo %s\n", RALVO_VERSION);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (AnswerInformationOption(argc, argv))
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    QApplication qtApplication(argc, argv);
    ralvo::Application application;
    return application.Run();
}
