#include "app/cli/SettingOverrides.h"

#include <gtest/gtest.h>

using namespace ralvo;

TEST(SettingOverrides, EveryKindByStoredName)
{
    ScheduleSettings settings;
    EXPECT_EQ(cli::ApplySettingAssignments(
                  settings, {QStringLiteral("Tit=??様=予定"), QStringLiteral("yoteiyogo=1"), QStringLiteral("Shu1="),
                             QStringLiteral("Colorcheck=0"), QStringLiteral("Titcolor=0xFF0000"),
                             QStringLiteral("Daycolor=255"), QStringLiteral("Notfont=IPAGothic")}),
              QString());
    EXPECT_EQ(settings.Tit, QStringLiteral("??様=予定"));
    EXPECT_EQ(settings.Yoteiyogo, 1);
    EXPECT_EQ(settings.Shu1, QString());
    EXPECT_FALSE(settings.Colorcheck);
    EXPECT_EQ(settings.Titcolor, 0xFF0000u);
    EXPECT_EQ(settings.Daycolor, 0x0000FFu);
    EXPECT_EQ(settings.Notfont, QStringLiteral("IPAGothic"));
    EXPECT_EQ(cli::ScheduleSettingNames().size(), 23);
}

TEST(SettingOverrides, BadAssignmentsChangeNothing)
{
    const ScheduleSettings defaults;
    for (const char *assignment : {"Nope=1", "Tit", "Yoteiyogo=x", "Hani=", "Titcolor=0x1000000", "Titcolor=-1",
                                   "Colorcheck=yes", "Yoshi=99999999999"}) {
        ScheduleSettings settings;
        EXPECT_FALSE(cli::ApplySettingAssignment(settings, QString::fromUtf8(assignment)).isEmpty()) << assignment;
        EXPECT_EQ(settings, defaults) << assignment;
    }
}
