// The rack's plain data: slot table rows, slot kinds, watchdog flag masks, the digital slots'
// lamps, the analog output slot's values and the analog input slots' ranges, units and limits.
#include "rack/RackSlots.h"
#include "rack/SlotAi.h"
#include "rack/SlotAo.h"
#include "rack/SlotDio.h"

#include <gtest/gtest.h>

TEST(RackSlotTable, CodesFormModelTextsAndDescriptions)
{
    struct Case {
        int slot;
        const char* code;
        SSlotRow row;
    } cases[] = {
        {0, "80", {"1300", "0", "Vekt-1300 3-channel RTD input module"}},
        {1, "00", {"1300", "1", ""}},
        {2, "84", {"1384", "2", "Vekt-1384 8-channel analog input module"}},
        {3, "86", {"1386", "3", "Vekt-1386 8-channel thermocouple input module"}},
        {4, "23", {"1323", "4", "Vekt-1323 16-ch universal digital I/O module"}},
        {5, "27", {"1327", "5", "Vekt-1327 16-channel digital output module"}},
        {6, "25", {"1325", "6", "Vekt-1325 8-ch isolated digital input module"}},
        {7, "28", {"1328", "7", "Vekt-1328 16-ch digital input module"}},
        {0, "13", {"1313", "0", "Vekt-1313 4-port RS-232 Communication module"}},
        {1, "13", {"1313", "1", "Vekt-1313 4 port RS-232 Communication module"}},
        {2, "71", {"1371", "2", "Vekt-1371 8-channel relay output module"}},
        {3, "4H", {"1384H", "3", "Vekt-1384H 8-channel speed input module"}},
        {4, "59", {"1359", "4", "Vekt-1359 4-channel analog output module"}},
        {5, "99", {"1399", "5", ""}},
        {6, "4", {"134", "6", ""}},
        {7, "", {"13", "7", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeSlot(c.slot, c.code), c.row) << c.code;
}

TEST(RackSlotTable, RepliesListOccupiedSlotsAndShortRepliesCutTheirCodes)
{
    auto modules = [](const std::string& reply) {
        std::string texts;
        for (const SSlotRow& row : ParseSlotTable(reply))
            texts += row.strModule + row.strSlot + ",";
        return texts;
    };
    EXPECT_EQ(modules("!0027FF59FFFFFFFF4H"), "13270,13592,1384H7,");
    EXPECT_EQ(modules("!00FFFFFFFFFFFFFFFF"), "");
    EXPECT_EQ(modules("!00275"), "13270,1351,132,133,134,135,136,137,");
    EXPECT_EQ(modules("?00"), "130,131,132,133,134,135,136,137,");
    EXPECT_EQ(modules(""), "130,131,132,133,134,135,136,137,");
}

TEST(RackSlotTable, RowsOpenTheDialogOfTheirKind)
{
    struct Case {
        const char* module;
        ESlotKind kind;
    } cases[] = {
        {"1327", ESlotKind::Digital},
        {"1371", ESlotKind::Digital},
        {"1323", ESlotKind::Digital},
        {"1328", ESlotKind::Digital},
        {"1325", ESlotKind::Digital},
        {"1359", ESlotKind::AnalogOutput},
        {"1300", ESlotKind::AnalogInput},
        {"1384", ESlotKind::AnalogInput},
        {"1386", ESlotKind::AnalogInput},
        {"1384H", ESlotKind::SpeedInput},
        {"1313", ESlotKind::None},
        {"1399", ESlotKind::None},
        {"", ESlotKind::None},
    };
    for (const Case& c : cases) EXPECT_EQ(SlotKindOf(c.module), c.kind) << c.module;
}

TEST(RackFlags, MasksRoundTripMostSignificantDigitFirst)
{
    std::vector<int> slots(8, 0);
    slots[0] = slots[7] = 1;
    EXPECT_EQ(FlagsToHex(slots), "81");
    std::vector<int> outputs(16, 0);
    outputs[0] = outputs[5] = outputs[15] = 1;
    EXPECT_EQ(FlagsToHex(outputs), "8021");

    struct Case {
        const char* digits;
        size_t count;
        std::vector<int> set; // flags set afterwards
    } cases[] = {
        {"81", 8, {0, 7}}, {"8021", 16, {0, 5, 15}}, {"8", 8, {7}}, // the low digit is missing
        {"", 8, {}},       {"G1", 8, {0}}, // not a hex digit: nothing from it
        {"a1", 8, {0}},
    };
    for (const Case& c : cases) {
        std::vector<int> flags(c.count, 0);
        SetFlagsFromHex(c.digits, flags);
        std::vector<int> want(c.count, 0);
        for (int k : c.set) want[static_cast<size_t>(k)] = 1;
        EXPECT_EQ(flags, want) << c.digits;
    }
    std::vector<int> kept(8, 1);
    SetFlagsFromHex("00", kept);
    EXPECT_EQ(kept, std::vector<int>(8, 1)); // a clear bit leaves its flag
}

namespace {

std::string Row(const LampRow& row)
{
    std::string text;
    for (int ch = 15; ch >= 0; --ch) text += " gwr"[static_cast<int>(row[static_cast<size_t>(ch)])];
    return text;
}

} // namespace

TEST(DioSlotLamps, StatusDigitsLightTheLampsEachModelUses)
{
    struct Case {
        const char* model;
        const char* reply;
        WORD directions;
        const char* di; // channel 15 first: r on, w off, g grey, blank unchanged
        const char* out;
    } cases[] = {
        {"1327", "!008001", 0, "gggggggggggggggg", "rwwwwwwwwwwwwwwr"},
        {"1371", "!000F99", 0, "gggggggggggggggg", "ggggggggwwwwrrrr"},
        {"1371", "!00A", 0, "gggggggggggggggg", "ggggggggrwrw    "},
        {"1323", "!00000F", 0x0005, "gggggggggggggrgr", "wwwwwwwwwwwwrgrg"},
        {"1328", "!00C003", 0, "rrwwwwwwwwwwwwrr", "gggggggggggggggg"},
        {"1325", "!00FF81", 0, "ggggggggrwwwwwwr", "gggggggggggggggg"},
        {"1327", "!00", 0, "gggggggggggggggg", "                "},
        {"1327", "!00G000", 0, "gggggggggggggggg", "wrrrwwwwwwwwwwww"}, // 'G' is 0x47
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.reply);
        const SDioSlotModel* model = DioSlotModel(c.model);
        ASSERT_NE(model, nullptr);
        SDioLamps lamps = DecodeDioStatus(*model, c.reply, c.directions);
        EXPECT_EQ(Row(lamps.di), c.di);
        EXPECT_EQ(Row(lamps.out), c.out);
    }
    EXPECT_EQ(DioSlotModel("1313"), nullptr);
    EXPECT_EQ(DioSlotModel("13270"), nullptr);
}

TEST(DioSlotLamps, DirectionsNeedAllFourDigits)
{
    WORD directions = 0x1234;
    EXPECT_TRUE(DecodeDirections("!00A005", directions));
    EXPECT_EQ(directions, 0xA005);
    EXPECT_FALSE(DecodeDirections("!00A00", directions));
    EXPECT_EQ(directions, 0xA005);
}

TEST(AoSlotValues, ValuesAreTakenFormattedAndChecked)
{
    struct Case {
        const char* typed;
        float value;
        const char* text;
    } cases[] = {
        {"5", 5.0f, "05.000"},      {"20", 20.0f, "20.000"}, {"12.3456", 12.3456f, "12.346"},
        {"0", 0.0f, "00.000"},      {"abc", 0.0f, "00.000"}, {"", 0.0f, "00.000"},
        {" 7.5mA", 7.5f, "07.500"}, {"-3", -3.0f, "-3.000"}, {".5", 0.5f, "00.500"},
        {"1e3", 1.0f, "01.000"},    {"4.", 4.0f, "04.000"},  {"+.", 0.0f, "00.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_FLOAT_EQ(LeadingNumber(c.typed), c.value);
        EXPECT_EQ(AoValueText(LeadingNumber(c.typed)), c.text);
    }
    struct Fit {
        int row;
        float value;
        bool fits;
    } fits[] = {{1, 4.0f, true},   {1, 3.0f, false},  {1, 20.0f, true},
                {1, 20.5f, false}, {2, 10.0f, true},  {2, 10.5f, false},
                {0, 0.0f, true},   {0, -0.1f, false}, {-1, 99.0f, true}};
    for (const Fit& f : fits) EXPECT_EQ(AoValueFits(f.row, f.value), f.fits) << f.row << f.value;
    EXPECT_EQ(AoSliderText(5), "5.000");
    EXPECT_EQ(AoSliderText(20), "20.000");
}

TEST(AoSlotValues, RangeDigitsAndSlewLists)
{
    ASSERT_NE(AoRangeOfDigit("2"), nullptr);
    EXPECT_STREQ(AoRangeOfDigit("2")->pszUnit, "V");
    EXPECT_EQ(AoRangeOfDigit("1")->nMin, 4);
    EXPECT_EQ(AoRangeOfDigit("3"), nullptr);
    EXPECT_EQ(AoRangeOfDigit(""), nullptr);
    EXPECT_EQ(AoSlewRows("2")[1], "0.0625V/sec");
    EXPECT_EQ(AoSlewRows("0")[1], "0.0125mV/sec");
    EXPECT_EQ(AoSlewRows("X")[11], "128.0mV/sec");
    EXPECT_EQ(RowOfCode(kAoSlewCodes, "2C"), 11);
    EXPECT_EQ(RowOfCode(kAoSlewCodes, "2D"), -1);
}

TEST(AnalogSlotTables, RangeRowsOfConfigurationReplies)
{
    struct Case {
        const char* model;
        const char* reply;
        int row;
    } cases[] = {
        {"1300", "!50230", 3},  {"1300", "!50X9", 9},    {"1300", "!502A", -1},
        {"1384", "!5008", 0},   {"1384", "!50?7", 6},    {"1384", "!500E", -1},
        {"1386", "!500F00", 8}, {"1386", "!501400", 13}, {"1386", "!50XF", -1},
        {"1386", "!500", -1},   {"1384", "!", -1},       {"1300", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.reply);
        EXPECT_EQ(AiRangeRowOfReply(*AiSlotModel(c.model), c.reply), c.row);
    }
    EXPECT_EQ(AiSlotModel("1327"), nullptr);
    EXPECT_EQ(AiSlotModel("1386")->nChannels, 7);
    EXPECT_EQ((*AiSlotModel("1300")->pRangeTexts)[5], "Pt.00392  0~100'C");
    EXPECT_EQ((*AiSlotModel("1386")->pRangeTexts)[9], "T  Type  -100~400'C");
}

TEST(AnalogSlotTables, UnitsAndConfigurationBodies)
{
    struct Case {
        const char* model;
        int range, integration, format;
        std::optional<std::string> unit, body;
    } cases[] = {
        {"1384", 3, 0, -1, "mV", "A0B00"},
        {"1384", 6, 1, -1, "mA", "A0780"},
        {"1384", -1, 0, 0, std::nullopt, std::nullopt},
        {"1386", -1, 0, 0, "mV", std::nullopt},
        {"1386", 5, 1, -1, "V", "A0580"},
        {"1386", 13, 0, -1, "'C", "A1400"},
        {"1300", 3, 1, 1, "Ohms", "A2383"},
        {"1300", 0, 0, 0, "'C", "A2000"},
        {"1300", 0, 0, -1, std::nullopt, std::nullopt},
        {"1300", 0, -1, 0, "'C", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.range));
        const SAiSlotModel& model = *AiSlotModel(c.model);
        EXPECT_EQ(AiUnit(model, c.range, c.format), c.unit);
        EXPECT_EQ(AiConfigurationBody(model, c.range, c.integration, c.format), c.body);
    }
    EXPECT_EQ(SpeedUnit(7), "V");
    EXPECT_EQ(SpeedUnit(10), "mV");
    EXPECT_EQ(SpeedUnit(-1), "mV");
}

TEST(AnalogSlotTables, AlarmLimitsAreSignedDecimalNumbers)
{
    for (const char* good : {"80", "+80", "-20.5", "12.", ".5", "+080.00", "0"})
        EXPECT_TRUE(IsAlarmLimit(good)) << good;
    for (const char* bad : {"", "+", "-", ".", "abc", "1e3", "--1", "1.2.3", " 80", "80 ", "0x10"})
        EXPECT_FALSE(IsAlarmLimit(bad)) << bad;
}
