#include "settings/DialogValues.h"

#include "platform/ShiftJis.h"

#include <cmath>

namespace ralvo {

int FullWidthCount(const QString &text) { return static_cast<int>(std::trunc(platform::ShiftJisWidth(text) * 0.5)); }

int PrintableNoticeWidth(const ScheduleSettings &settings, bool weekEndPrinted)
{
    const int s = platform::ShiftJisWidth(settings.Tsuki1) + platform::ShiftJisWidth(settings.Tsuki2)
                  + platform::ShiftJisWidth(settings.Shu1) + platform::ShiftJisWidth(settings.Shu2) + 22
                  + (weekEndPrinted ? 12 : 0);
    return static_cast<int>(std::trunc((79.68 - s) * 0.5));
}

QString NoticeWeekCaption(int week)
{
    QString number = QString::number(week);
    if (week >= 0 && week < 10)
        number = QChar(char16_t(u'０' + week));
    return QStringLiteral("妊娠") + number + QStringLiteral("週");
}

int IndexOr(int index, int count, int fallback) { return index >= 0 && index < count ? index : fallback; }

} // namespace ralvo
