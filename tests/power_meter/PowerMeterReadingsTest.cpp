// The reading groups, the digital I/O state and the PT/CT ratios as both power-meter dialogs
// decode and write them.
#include "counter_power/PowerMeterReadings.h"
#include "counter_power/CounterPowerIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

using Boxes = std::map<int, std::string>;

Boxes Parsed(const std::string& group, const std::string& data)
{
    Boxes boxes;
    for (const SPmBoxText& t : ParseReadingGroup(group, data)) boxes[t.nBox] = t.strText;
    return boxes;
}

} // namespace

TEST(PowerMeterReadings, EachGroupDecodesItsFieldsWithTheirSignAndScale)
{
    struct Case {
        const char* group;
        const char* data;
        Boxes boxes;
    } cases[] = {
        {"0",
         "59DE0000FFFF01F4FFFF03E800C8",
         {{IDC_PM_V1, "230.060"},
          {IDC_PM_V2, "00.000"},
          {IDC_PM_V3, "655.350"},
          {IDC_PM_I1, "00.500"},
          {IDC_PM_I2, "65.535"},
          {IDC_PM_I3, "01.000"},
          {IDC_PM_IN, "00.200"}}},
        {"1",
         "FFF6000A0000FFFFFF9C",
         {{IDC_PM_P1, "-1.000"},
          {IDC_PM_P2, "01.000"},
          {IDC_PM_P3, "00.000"},
          {IDC_PM_P, "-10.000"}}},
        {"2",
         "7FFF800000017FFFFFFF",
         {{IDC_PM_Q1, "3276.700"},
          {IDC_PM_Q2, "-3276.800"},
          {IDC_PM_Q3, "00.100"},
          {IDC_PM_Q, "214748364.700"}}},
        {"3",
         "000a0014001e80000000",
         {{IDC_PM_S1, "01.000"},
          {IDC_PM_S2, "02.000"},
          {IDC_PM_S3, "03.000"},
          {IDC_PM_S, "-214748364.800"}}},
        {"4",
         "2710EC7800001388",
         {{IDC_PM_PF1, "01.000"},
          {IDC_PM_PF2, "-0.500"},
          {IDC_PM_PF3, "00.000"},
          {IDC_PM_F, "50.000"}}},
        {"5",
         "FFFFFF9C0001000000000000000F4240",
         {{IDC_PM_EPI, "4294.967"},
          {IDC_PM_EPO, "00.066"},
          {IDC_PM_EQIND, "00.000"},
          {IDC_PM_EQCAP, "01.000"}}},
        // Fields cut by the end of the data read their partial digits; missing ones read 0.
        {"0",
         "59DE00",
         {{IDC_PM_V1, "230.060"},
          {IDC_PM_V2, "00.000"},
          {IDC_PM_V3, "00.000"},
          {IDC_PM_I1, "00.000"},
          {IDC_PM_I2, "00.000"},
          {IDC_PM_I3, "00.000"},
          {IDC_PM_IN, "00.000"}}},
        {"1",
         "FFF6000A0000FFFF",
         {{IDC_PM_P1, "-1.000"},
          {IDC_PM_P2, "01.000"},
          {IDC_PM_P3, "00.000"},
          {IDC_PM_P, "6553.500"}}},
        // A short exception reply leaves nothing; a reading stops at its first non-hex character.
        {"5",
         "",
         {{IDC_PM_EPI, "00.000"},
          {IDC_PM_EPO, "00.000"},
          {IDC_PM_EQIND, "00.000"},
          {IDC_PM_EQCAP, "00.000"}}},
        {"4",
         "2G10ZZZZ?401-001",
         {{IDC_PM_PF1, "00.000"},
          {IDC_PM_PF2, "00.000"},
          {IDC_PM_PF3, "00.000"},
          {IDC_PM_F, "00.000"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parsed(c.group, c.data), c.boxes) << c.group << " " << c.data;
}

TEST(PowerMeterReadings, InIsWrittenBeforeI1AndOtherGroupsWriteNothing)
{
    auto texts = ParseReadingGroup("0", "59DE0000FFFF01F4FFFF03E800C8");
    ASSERT_EQ(texts.size(), 7u);
    EXPECT_EQ(texts[3].nBox, IDC_PM_IN);
    EXPECT_EQ(texts[4].nBox, IDC_PM_I1);
    for (const char* group : {"6", "", "00", "A", "-1"})
        EXPECT_TRUE(ParseReadingGroup(group, "59DE0000FFFF01F4FFFF03E800C8").empty()) << group;
}

TEST(PowerMeterReadings, EveryGroupFitsItsRegisterCount)
{
    // The last field of a group ends exactly where the group's registers end.
    const int registers[] = {7, 5, 5, 5, 4, 8};
    for (size_t g = 0; g < kPmGroups.size(); ++g) {
        int end = 0;
        for (const SPmField& f : kPmGroups[g].fields) {
            bool wide = f.eRaw == EPmRaw::Signed32 || f.eRaw == EPmRaw::Unsigned32;
            end = std::max(end, f.nAt + (wide ? 8 : 4));
        }
        EXPECT_EQ(end, registers[g] * 4) << g;
        char count[4];
        std::snprintf(count, sizeof count, "%02X", registers[g]);
        EXPECT_EQ(std::string(kPmGroups[g].pszRtu).substr(8), count);
    }
}

TEST(PowerMeterReadings, GroupDataIsFourHexDigitsForEachRegisterAndNothingMore)
{
    const std::string seven = "59DE0000FFFF01F4FFFF03E800C8";
    EXPECT_TRUE(IsGroupData(0, seven));
    EXPECT_TRUE(IsGroupData(0, "59de0000ffff01f4ffff03e800c8"));
    EXPECT_FALSE(IsGroupData(0, seven.substr(1)));
    EXPECT_FALSE(IsGroupData(0, seven + "0"));
    EXPECT_FALSE(IsGroupData(0, seven.substr(0, 27) + "G"));
    EXPECT_FALSE(IsGroupData(0, seven.substr(0, 27) + " "));
    // Groups "1" to "3" have five registers, "4" four and "5" eight.
    EXPECT_FALSE(IsGroupData(1, seven));
    EXPECT_TRUE(IsGroupData(1, seven.substr(0, 20)));
    EXPECT_TRUE(IsGroupData(4, seven.substr(0, 16)));
    EXPECT_TRUE(IsGroupData(5, seven + "0000"));
    EXPECT_FALSE(IsGroupData(6, ""));
    EXPECT_FALSE(IsGroupData(-1, ""));
}

TEST(PowerMeterReadings, ReadingTextIsZeroPaddedToSixCharacters)
{
    EXPECT_EQ(ReadingText(230.05), "230.050");
    EXPECT_EQ(ReadingText(0.5), "00.500");
    EXPECT_EQ(ReadingText(0), "00.000");
    EXPECT_EQ(ReadingText(-12.5), "-12.500");
    EXPECT_EQ(ReadingText(-0.5), "-0.500");
}

TEST(PowerMeterDioState, InputAndOutputDigitsOfTheReplyData)
{
    struct Case {
        const char* data;
        std::optional<bool> input;
        std::optional<std::array<int, 2>> outputs;
    } cases[] = {
        {"00", true, std::array<int, 2>{0, 0}},
        {"12", false, std::array<int, 2>{0, 1}},
        {"01", true, std::array<int, 2>{1, 0}},
        {"13", false, std::array<int, 2>{1, 1}},
        {"24", std::nullopt, std::nullopt},
        {"x3", std::nullopt, std::array<int, 2>{1, 1}},
        {"1", false, std::nullopt},
        {"", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SPmDioState state = DecodeDioState(c.data);
        EXPECT_EQ(state.bInputLit, c.input) << c.data;
        EXPECT_EQ(state.outputs, c.outputs) << c.data;
    }
    EXPECT_EQ(OutputDigit({0, 0}), '0');
    EXPECT_EQ(OutputDigit({1, 0}), '1');
    EXPECT_EQ(OutputDigit({0, 1}), '2');
    EXPECT_EQ(OutputDigit({1, 1}), '3');
}

TEST(PowerMeterRatios, TypedRatiosOutside16BitsOrNotNumbersAreRefused)
{
    struct Case {
        const char* typed;
        std::optional<std::string> digits;
    } cases[] = {
        {"100", "0064"}, {"0", "0000"}, {"65535", "ffff"},  {"00100", "0064"},
        {"65536", {}},   {"-1", {}},    {"abc", {}},        {"", {}},
        {"12a", {}},     {" 12", {}},   {"4294967396", {}}, {"100000", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(RatioDigits(c.typed), c.digits) << c.typed;
}

TEST(PowerMeterRatios, TheReplyDataReadsAsDecimal)
{
    struct Case {
        const char* data;
        std::optional<std::string> ratio;
    } cases[] = {
        {"0064", "100"}, {"FFFF", "65535"}, {"0000", "0"}, {"ffff", "65535"},
        {"006", {}},     {"", {}},          {"00G4", {}},  {"006412", "100"},
    };
    for (const Case& c : cases) EXPECT_EQ(RatioFromData(c.data), c.ratio) << c.data;
}
