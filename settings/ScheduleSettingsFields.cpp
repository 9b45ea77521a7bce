#include "settings/ScheduleSettingsFields.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <string_view>

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

// The stored values are read in the written order but for Notfont, which
// is read before Daycolor.
constexpr std::array<std::u16string_view, 23> kReadOrderNames = {
    u"Tit",      u"Yoteiyogo", u"Tsuki1",        u"Tsuki2",       u"Shu1",          u"Shu2",
    u"Yoshi",    u"Hani",      u"Shumatsucheck", u"Noticecheck",  u"Kikanmeicheck", u"Titfont",
    u"Titcolor", u"Yotfont",   u"Yotcolor",      u"MWfont",       u"MWcolor",       u"Dayfont",
    u"Notfont",  u"Daycolor",  u"Seikicolor",    u"Yoteibicolor", u"Colorcheck",
};

const SettingField &FieldNamed(std::u16string_view name)
{
    const auto found = std::ranges::find_if(
        kFields, [name](const SettingField &field) { return std::u16string_view(field.name) == name; });
    if (found == kFields.end())
        qFatal("no stored value is named %s", qPrintable(QString::fromUtf16(name.data(), qsizetype(name.size()))));
    return *found;
}

const std::array<const SettingField *, 23> kReadOrder = [] {
    std::array<const SettingField *, 23> order{};
    std::ranges::transform(kReadOrderNames, order.begin(), [](std::u16string_view name) { return &FieldNamed(name); });
    return order;
}();

} // namespace

std::span<const SettingField> ScheduleSettingFields() { return kFields; }

std::span<const SettingField *const> ScheduleSettingFieldsInReadOrder() { return kReadOrder; }

} // namespace ralvo
