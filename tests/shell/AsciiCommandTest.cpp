#include "AsciiCommand.h"
#include "ModelName.h"

#include <gtest/gtest.h>

TEST(AsciiCommand, TextHelpersGiveTheModulesValues)
{
    EXPECT_EQ(AppendChecksum("$00M"), "D1");
    EXPECT_EQ(AppendChecksum("#01"), "84");
    EXPECT_EQ(AppendChecksum(""), "00");
    EXPECT_EQ(ByteToHexPair(10), "0A");
    EXPECT_EQ(ByteToHexPair(255), "FF");
    EXPECT_EQ(ValueToHexChar(9), "9");
    EXPECT_EQ(ValueToHexChar(15), "F");
    struct {
        char c;
        int value;
    } digits[] = {{'0', 0},    {'9', 9},    {'A', 10},   {'F', 15},   {'a', 0xCC},
                  {'f', 0xCC}, {'G', 0xCC}, {' ', 0xCC}, {'R', 0xCC}, {'\0', 0xCC}};
    for (auto d : digits) EXPECT_EQ(HexCharToValue(d.c), d.value) << d.c;
}

TEST(AsciiCommand, CommandsAreFramedWithChecksumAndCarriageReturn)
{
    EXPECT_EQ(AsciiCommand('$', "00", "M", true), "$00MD1\r");
    EXPECT_EQ(AsciiCommand('#', "01", "", false), "#01\r");
    EXPECT_EQ(WithoutCr(AsciiCommand('$', "00", "M", true)), "$00MD1");
    EXPECT_EQ(WithoutCr(""), "");
    // Fields of a reply read by position; a short reply reads its missing digits as 0xCC.
    EXPECT_EQ(HexPairAt("!01080600", 3), 0x08);
    EXPECT_EQ(HexPairAt("!0", 3), 16 * 0xCC + 0xCC);
}

TEST(ModelName, ContainsAndEquals)
{
    EXPECT_TRUE(ModelHas("4384C", "4384"));
    EXPECT_FALSE(ModelHas("4385", "4384"));
    EXPECT_TRUE(ModelHasAny("6389", {"4385", "6389"}));
    EXPECT_TRUE(ModelIs("4373D", "4373D"));
    EXPECT_FALSE(ModelIs("4373DX", "4373D"));
    EXPECT_TRUE(ModelIsAny("6307", {"6307", "4307D"}));
}
