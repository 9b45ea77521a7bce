#include "settings/ScheduleSettings.h"

namespace ralvo {

NoticeTable DefaultNoticeTable()
{
    constexpr Colour black = 0x000000;
    constexpr Colour blue = 0xFF0000;
    constexpr Colour red = 0x0000FF;
    constexpr Colour green = 0x008000;
    struct Row
    {
        const char16_t *text;
        Colour color;
    };
    static constexpr Row rows[NoticeTable::Count] = {
        {u"妊娠の兆候に気づいたら、早め", blue},  // 4
        {u"に診察を受けましょう", blue},          // 5
        {u"週後半には心拍が確認できます", black}, // 6
        {u"薬やＸ線検査は控えましょう！", red},   // 7
        {u"母子健康手帳を申請しましょう", black}, // 8
        {u"", black},                             // 9
        {u"", black},                             // 10
        {u"", black},                             // 11
        {u"しだいに安定期に向います", black},     // 12
        {u"食欲がわきますが体重に注意！", blue},  // 13
        {u"", black},                             // 14
        {u"", black},                             // 15
        {u"早ければ胎動があるかも？", black},     // 16
        {u"戌の日に腹帯を巻くのも良い", black},   // 17
        {u"積極的に身体を動かしましょう", black}, // 18
        {u"鉄分やカルシウムを多く摂取", black},   // 19
        {u"", black},                             // 20
        {u"", black},                             // 21
        {u"", black},                             // 22
        {u"推定児体重400-700gです", black},       // 23
        {u"これからは二週間に一度検診", black},   // 24
        {u"", black},                             // 25
        {u"", black},                             // 26
        {u"推定児体重600-1000gです", black},      // 27
        {u"入院出産用品を準備し、バッグ", blue},  // 28
        {u"につめて置いておきましょう", blue},    // 29
        {u"", black},                             // 30
        {u"推定児体重1600-2000gです", black},     // 31
        {u"ときどきお腹がはります", black},       // 32
        {u"里帰りする人は早めに！", blue},        // 33
        {u"", black},                             // 34
        {u"推定児体重1900-2800gです", black},     // 35
        {u"これからは毎週診察", black},           // 36
        {u"37-41週は正期産です", green},          // 37
        {u"", black},                             // 38
        {u"", black},                             // 39
        {u"出産予定日を迎えました", red},         // 40
        {u"この週の末までは正期産", green},       // 41
        {u"", black},                             // 42
        {u"", black},                             // 43
    };
    NoticeTable table;
    for (int i = 0; i < NoticeTable::Count; ++i) {
        table.notices[std::size_t(i)] = Notice{QString::fromUtf16(rows[i].text), rows[i].color};
    }
    return table;
}

NoticeTable RestoredNoticeTable()
{
    NoticeTable table = DefaultNoticeTable();
    table.ForWeek(41).color = 0x000000;
    return table;
}

} // namespace ralvo
