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

TEST(ModelName, AListedNameMatchesTheSeriesNumberItStandsFor)
{
    struct Case {
        const char* name;
        const char* number;
        bool listed; // ModelHas: the listed twin counts
        bool raw;    // RawModelHas: the number as it stands
    } cases[] = {
        {"4384P", "6384P", true, false},   {"4385", "9385", true, false},
        {"4307A", "6307A", true, false},   {"4539", "6539", true, false},
        {"4382T", "9382T", true, false},   {"4381P", "6381", true, false},
        {"4384CF", "6384CF", true, false}, {"6384P", "6384P", true, true},
        {"9384P", "6384P", false, false}, // a twin is "4" and the rest, never another series
        {"4384", "6384P", false, false},   {"4384P", "4384", true, true},
        {"6384", "4384", false, false},   // a listed form means only itself
        {"1333E", "2333E", false, false}, // not a 6333 or 93xx number
        {"4P", "6P", false, false},        {"", "6384", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.number);
        EXPECT_EQ(ModelHas(c.name, c.number), c.listed);
        EXPECT_EQ(ModelHasAny(c.name, {"4999", c.number}), c.listed);
        EXPECT_EQ(RawModelHas(c.name, c.number), c.raw);
        EXPECT_EQ(RawModelHasAny(c.name, {"4999", c.number}), c.raw);
    }
    // Whole names are compared as they stand.
    EXPECT_FALSE(ModelIs("4307", "6307"));
    EXPECT_FALSE(ModelIsAny("4322", {"6322", "9322"}));
    // Unless a table asks for the listed twin of a whole name as well.
    EXPECT_TRUE(ModelIsListed("4322", "6322"));
    EXPECT_TRUE(ModelIsListed("4328", "9328"));
    EXPECT_TRUE(ModelIsListed("4371D", "6371D"));
    EXPECT_TRUE(ModelIsListed("6322", "6322"));
    EXPECT_FALSE(ModelIsListed("4322D", "6322"));
    EXPECT_FALSE(ModelIsListed("9322", "6322"));
    EXPECT_FALSE(ModelIsListed("6322", "4322"));
}
