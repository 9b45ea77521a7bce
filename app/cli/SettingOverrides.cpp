#include "app/cli/SettingOverrides.h"

#include "calc/DueDate.h"
#include "settings/ScheduleSettingsFields.h"

#include <limits>
#include <variant>

namespace ralvo::cli {

namespace {

std::optional<Colour> ParseColour(const QString &text)
{
    bool ok = false;
    qint64 value = -1;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        value = text.mid(2).toLongLong(&ok, 16);
    } else if (const std::optional<qint32> decimal = ParseIntegerField(text)) {
        value = *decimal;
        ok = true;
    }
    if (!ok || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    return Colour(value);
}

} // namespace

QStringList ScheduleSettingNames()
{
    QStringList names;
    for (const SettingField &f : ScheduleSettingFields())
        names << f.Name();
    return names;
}

QString ApplySettingAssignment(ScheduleSettings &settings, const QString &assignment)
{
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals < 0)
        return QStringLiteral("--set には 項目名=値 を指定して下さい: ") + assignment;
    const QString name = assignment.left(equals);
    const QString value = assignment.mid(equals + 1);

    for (const SettingField &f : ScheduleSettingFields()) {
        if (name.compare(f.Name(), Qt::CaseInsensitive) != 0)
            continue;
        QString badValue = QStringLiteral("%1 の値が正しくありません: %2").arg(f.Name(), value);
        if (const auto text = std::get_if<QString ScheduleSettings::*>(&f.member)) {
            settings.*(*text) = value;
        } else if (const auto number = std::get_if<int ScheduleSettings::*>(&f.member)) {
            const std::optional<qint32> parsed = ParseIntegerField(value);
            if (!parsed || *parsed < f.minimum || *parsed > f.maximum)
                return badValue;
            settings.*(*number) = *parsed;
        } else if (const auto flag = std::get_if<bool ScheduleSettings::*>(&f.member)) {
            const std::optional<qint32> parsed = ParseIntegerField(value);
            if (!parsed)
                return badValue;
            settings.*(*flag) = *parsed != 0;
        } else if (const auto colour = std::get_if<Colour ScheduleSettings::*>(&f.member)) {
            const std::optional<Colour> parsed = ParseColour(value);
            if (!parsed)
                return badValue;
            settings.*(*colour) = *parsed;
        }
        return {};
    }
    return QStringLiteral("設定項目の名前が正しくありません: ") + name;
}

QString ApplySettingAssignments(ScheduleSettings &settings, const QStringList &assignments)
{
    for (const QString &assignment : assignments) {
        QString error = ApplySettingAssignment(settings, assignment);
        if (!error.isEmpty())
            return error;
    }
    return {};
}

} // namespace ralvo::cli
