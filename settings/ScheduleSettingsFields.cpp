#include "settings/ScheduleSettingsFields.h"

#include <array>
#include <utility>

namespace ralvo {

namespace {

using S = ScheduleSettings;
using K = SettingKind;

const std::array<SettingField, 23> kFields = {{
    {u"Tit", K::Text, &S::Tit},
    {u"Yoteiyogo", K::Integer, &S::Yoteiyogo, 0, 1},
    {u"Tsuki1", K::Text, &S::Tsuki1},
    {u"Tsuki2", K::Text, &S::Tsuki2},
    {u"Shu1", K::Text, &S::Shu1},
    {u"Shu2", K::Text, &S::Shu2},
    {u"Yoshi", K::Integer, &S::Yoshi, 0, 2},
    {u"Hani", K::Integer, &S::Hani, 0, 2},
    {u"Shumatsucheck", K::Boolean, &S::Shumatsucheck},
    {u"Noticecheck", K::Boolean, &S::Noticecheck},
    {u"Kikanmeicheck", K::Boolean, &S::Kikanmeicheck},
    {u"Titfont", K::Font, &S::Titfont},
    {u"Titcolor", K::ColourValue, &S::Titcolor},
    {u"Yotfont", K::Font, &S::Yotfont},
    {u"Yotcolor", K::ColourValue, &S::Yotcolor},
    {u"MWfont", K::Font, &S::MWfont},
    {u"MWcolor", K::ColourValue, &S::MWcolor},
    {u"Dayfont", K::Font, &S::Dayfont},
    {u"Daycolor", K::ColourValue, &S::Daycolor},
    {u"Notfont", K::Font, &S::Notfont},
    {u"Seikicolor", K::ColourValue, &S::Seikicolor},
    {u"Yoteibicolor", K::ColourValue, &S::Yoteibicolor},
    {u"Colorcheck", K::Boolean, &S::Colorcheck},
}};

const std::array<const SettingField *, 23> kReadOrder = [] {
    std::array<const SettingField *, 23> order{};
    for (std::size_t i = 0; i < kFields.size(); ++i)
        order[i] = &kFields[i];
    std::swap(order[18], order[19]); // Daycolor, Notfont → Notfont, Daycolor
    return order;
}();

} // namespace

std::span<const SettingField> ScheduleSettingFields()
{
    return kFields;
}

std::span<const SettingField *const> ScheduleSettingFieldsInReadOrder()
{
    return kReadOrder;
}

} // namespace ralvo
