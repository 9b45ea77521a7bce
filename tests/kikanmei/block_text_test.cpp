#include "kikanmei/KikanmeiBlock.h"

#include <gtest/gtest.h>

using ralvo::KikanmeiBlock;

TEST(KikanmeiBlockText, SplitsAtEveryKindOfLineBreak)
{
    EXPECT_EQ(KikanmeiBlock::FromText(QStringLiteral("A\r\nB\r\n")).Lines(),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(KikanmeiBlock::FromText(QStringLiteral("A\n\nB")).Lines(),
              (QStringList{QStringLiteral("A"), QString(), QStringLiteral("B")}));
    EXPECT_EQ(KikanmeiBlock::FromText(QStringLiteral("A\rB")).Lines(),
              (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_TRUE(KikanmeiBlock::FromText(QString()).Lines().isEmpty());
    // A break at the very end adds nothing; two breaks add one empty line.
    EXPECT_EQ(KikanmeiBlock::FromText(QStringLiteral("A\r\n\r\n")).Lines(),
              (QStringList{QStringLiteral("A"), QString()}));
}

TEST(KikanmeiBlockText, WritesCrLfAfterEveryLineAndRoundTrips)
{
    const KikanmeiBlock block(QStringList{QStringLiteral("A"), QStringLiteral("B")});
    EXPECT_EQ(block.ToText(), QStringLiteral("A\r\nB\r\n"));
    const KikanmeiBlock withEmpty(QStringList{QString(), QStringLiteral("ｶﾅ全角"), QString()});
    EXPECT_EQ(KikanmeiBlock::FromText(withEmpty.ToText()), withEmpty);
}
