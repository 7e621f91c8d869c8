// The analog-output family's tables and value texts.
#include "analog_output/AoCodes.h"

#include <gtest/gtest.h>

TEST(AoCodes, RangeTableRows)
{
    struct Case {
        const char* code;
        int row;
        const char* low;
        const char* mid;
        const char* high;
        const char* unit;
        int min;
        int max;
        int kind;
    } cases[] = {
        {"30", 0, "0", "10", "20", "mA", 0, 20000, kAoCurrent},
        {"31", 1, "4", "12", "20", "mA", 4000, 20000, kAoCurrent},
        {"32", 2, "0", "5", "10", "V", 0, 10000, kAoVoltage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const SAoRange* r = AoRangeOfCode(c.code);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r, AoRangeOfRow(c.row));
        EXPECT_STREQ(r->labels[0], c.low);
        EXPECT_STREQ(r->labels[1], c.mid);
        EXPECT_STREQ(r->labels[2], c.high);
        EXPECT_STREQ(r->pszUnit, c.unit);
        EXPECT_EQ(r->nSliderMin, c.min);
        EXPECT_EQ(r->nSliderMax, c.max);
        EXPECT_EQ(r->nOutputKind, c.kind);
    }
    for (const char* other : {"3F", "33", "", "3"}) EXPECT_EQ(AoRangeOfCode(other), nullptr);
    EXPECT_EQ(AoRangeOfRow(-1), nullptr);
    EXPECT_EQ(AoRangeOfRow(3), nullptr);
}

TEST(AoCodes, ModelKinds)
{
    EXPECT_EQ(AoKindOfModel("6358"), EAoKind::One);
    EXPECT_EQ(AoKindOfModel("4358D"), EAoKind::One);
    EXPECT_EQ(AoKindOfModel("6355"), EAoKind::Two);
    EXPECT_EQ(AoKindOfModel("6359"), EAoKind::Four);
}

TEST(AoCodes, FormatOutputValueCutsToThreeDecimalsAndTwoIntegerDigits)
{
    struct Case {
        int position;
        const char* text;
    } cases[] = {{0, "00.000"},       {4000, "04.000"},   {12345, "12.345"}, {20000, "20.000"},
                 {5000, "05.000"},    {7, "00.007"},      {65535, "65.535"}, {-5000, "-05.000"},
                 {-12345, "-12.345"}, {100000, "100.000"}};
    for (const Case& c : cases) EXPECT_EQ(FormatOutputValue(c.position), c.text) << c.position;
}

TEST(AoCodes, TypedOutputsAreNumbersInsideTheRange)
{
    struct Case {
        const char* text;
        int min;
        int max;
        std::optional<int> value;
    } cases[] = {
        {"+7.5", 0, 10000, 7500},     {"7.5", 0, 10000, 7500},    {"05.000", 0, 20000, 5000},
        {"+05.000", 0, 20000, 5000},  {"20", 4000, 20000, 20000}, {".5", 0, 10000, 500},
        {"4.000", 4000, 20000, 4000}, {"3.999", 4000, 20000, {}}, {"20.001", 0, 20000, {}},
        {"-1", 0, 10000, {}},         {"abc", 0, 10000, {}},      {"", 0, 10000, {}},
        {"+", 0, 10000, {}},          {".", 0, 10000, {}},        {"1.2345", 0, 10000, {}},
        {"1.2.3", 0, 10000, {}},      {" 5", 0, 10000, {}},       {"5 ", 0, 10000, {}},
        {"0x5", 0, 10000, {}},        {"1e1", 0, 20000, {}},      {"9999999", 0, 20000, {}},
        {"+05.000\r", 0, 20000, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseOutputValue(c.text, c.min, c.max), c.value) << c.text;
    EXPECT_EQ(OutputLimitText(4000), "4");
    EXPECT_EQ(OutputLimitText(20000), "20");
    EXPECT_EQ(OutputPositionOfText("+12.345"), 12345);
    EXPECT_EQ(OutputPositionOfText("?01"), 0);
}

TEST(AoCodes, FormatByteDigits)
{
    // Check and Format of the block: the slew index and the data format.
    struct Block {
        const char* check;
        const char* format;
        int slew;
        int dataFormat;
    } blocks[] = {{"0", "0", 0, 0}, {"4", "2", 0, 2}, {"0", "D", 3, 1},
                  {"1", "4", 5, 0}, {"C", "F", 3, 3}, {"", "", 0, 0}};
    for (const Block& b : blocks) {
        SAoFormat f = AoFormatOfBlock(b.check, b.format);
        EXPECT_EQ(f.nSlew, b.slew) << b.check << b.format;
        EXPECT_EQ(f.nDataFormat, b.dataFormat) << b.check << b.format;
    }
    // The new digits: checksum row, slew row and format row; bit 7 (bit 3 of the high digit)
    // carried over, CRC keeps the old digit.
    struct Digits {
        const char* oldCheck;
        std::optional<bool> checksumOn;
        int slew;
        int format;
        const char* high;
        const char* low;
    } digits[] = {
        {"0", true, 0, 0, "4", "0"},   {"4", false, 0, 2, "0", "2"},
        {"8", true, 15, 1, "F", "D"},  {"C", false, 5, 0, "9", "4"},
        {"0", false, 12, 2, "3", "2"}, {"4", std::nullopt, 0, 1, "4", "1"},
        {"G", true, 0, 0, "4", "0"},
    };
    for (const Digits& d : digits) {
        SAoFormatDigits got = AoFormatDigits(d.oldCheck, d.checksumOn, d.slew, d.format);
        EXPECT_EQ(got.strHigh, d.high) << d.oldCheck << " " << d.slew;
        EXPECT_EQ(got.strLow, d.low) << d.oldCheck << " " << d.slew;
    }
}

TEST(AoCodes, RegisterValueTexts)
{
    EXPECT_EQ(AoRegisterValueText("1388"), "+05.000");
    EXPECT_EQ(AoRegisterValueText("0000"), "+00.000");
    EXPECT_EQ(AoRegisterValueText("FFFF"), "+65.535");
    EXPECT_EQ(AoRegisterValueText(""), "");
    EXPECT_EQ(AoRegisterValueText("13880000"), "");
    EXPECT_EQ(AoRegisterValueText("13G8"), "");
}
