#include "tav/core/CustomColors.h"

#include <gtest/gtest.h>

TEST(CustomColorsTest, LinesGoToTheirSlotAndComeBackFilled)
{
    CustomColorTexts texts;
    texts[0] = QStringLiteral("ColorC=0000ff");
    texts[1] = QStringLiteral("ColorA=12ab34");
    texts[2] = QStringLiteral("junk");
    texts[3] = QStringLiteral("ColorZ=000000");
    platform::ColorRequest request;
    request.custom[5] = 1;  // emptied first
    loadCustomColors(texts, request);
    EXPECT_EQ(request.custom[0], 0x12ab34u);
    EXPECT_EQ(request.custom[2], 0x0000ffu);
    EXPECT_FALSE(request.custom[1].has_value());
    EXPECT_FALSE(request.custom[5].has_value());

    request.custom[15] = 0xabcdef;
    storeCustomColors(request, texts);
    EXPECT_EQ(texts[0], QStringLiteral("ColorA=12ab34"));
    EXPECT_EQ(texts[1], QStringLiteral("ColorB=ffffff"));
    EXPECT_EQ(texts[2], QStringLiteral("ColorC=0000ff"));
    EXPECT_EQ(texts[15], QStringLiteral("ColorP=abcdef"));
    for (const QString& t : texts)
        EXPECT_EQ(t.size(), 13);
}
