// The Modbus rack window's tables and rules, without any window: known-answer rows.
#include "rack/RackModbusTables.h"
#include "HexText.h"
#include "RtuCrc.h"

#include <gtest/gtest.h>

TEST(RackTables, SlotTypeCodesAndPageKinds)
{
    struct Row {
        const char* code;
        const char* name;
        bool analog;
        bool digital;
    } rows[] = {
        {"71", "Vekt-1371", false, true},  {"0F", "Vekt-1325", false, true},
        {"0C", "Vekt-1384H", true, false}, {"11", "Vekt-1328", false, true},
        {"12", "Vekt-1327", false, true},  {"09", "Vekt-1380", true, false},
        {"10", "Vekt-1323", false, true},  {"18", "Vekt-1359", true, false},
        {"05", "Vekt-1386", true, false},  {"0c", "NONE", false, false},
        {"FF", "NONE", false, false},      {"", "NONE", false, false},
        {"7", "NONE", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SlotModuleName(row.code), row.name) << row.code;
        EXPECT_EQ(IsAnalogPageModule(row.name), row.analog) << row.name;
        EXPECT_EQ(IsDigitalPageModule(row.name), row.digital) << row.name;
    }
    // A name no code gives still has its page.
    EXPECT_TRUE(IsAnalogPageModule("Vekt-1384"));
}

TEST(RackTables, SlotTableDigitsGiveFirmwareNamesAndAddresses)
{
    //                  10000   10001   10002   10003   10004-10007
    std::string types = "233E"
                        "0000"
                        "0105"
                        "0000"
                        "FFFF71FF0CFFFF05";
    SSlotTypes parsed = ParseSlotTypes(types);
    EXPECT_EQ(parsed.strFirmware, "01.05");
    EXPECT_EQ(parsed.strCode[2], "71");
    EXPECT_EQ(parsed.strModule, (SlotTexts{"NONE", "NONE", "Vekt-1371", "NONE", "Vekt-1384H",
                                           "NONE", "NONE", "Vekt-1386"}));

    std::string addresses = "00010010"
                            "00110020"
                            "9C599C60"
                            "FFFF0000";
    SSlotAddresses parsed2 = ParseSlotAddresses(addresses);
    EXPECT_EQ(parsed2.strStart[0], "00001");
    EXPECT_EQ(parsed2.strEnd[0], "00016");
    EXPECT_EQ(parsed2.strStart[1], "00017");
    EXPECT_EQ(parsed2.strStart[2], "40025");
    EXPECT_EQ(parsed2.strEnd[2], "40032");
    EXPECT_EQ(parsed2.strStart[3], "65535");
    // Beyond a short text: empty pieces, read as 0.
    EXPECT_EQ(parsed2.strStart[4], "00000");
    EXPECT_EQ(parsed2.strEnd[7], "00000");
}

TEST(RackTables, AShortTableGivesEmptyPiecesNeverAFault)
{
    SSlotTypes parsed = ParseSlotTypes("233E0000010");
    EXPECT_EQ(parsed.strFirmware, "01.0");
    for (const std::string& name : parsed.strModule) EXPECT_EQ(name, "NONE");
    EXPECT_EQ(ParseSlotTypes("").strFirmware, ".");
    EXPECT_EQ(ParseSlotAddresses("").strStart[0], "00000");
}

// The one rule of what answers a Modbus request, which the rack's pages use too.
TEST(RackTables, OnlyAReplyOfTheRequestsFunctionSizeAndCrcAnswersIt)
{
    using Bytes = std::vector<std::uint8_t>;
    auto withCrc = [](Bytes frame) {
        RtuCrc crc = CalcRtuCrc(frame.data(), frame.size());
        frame.push_back(crc.m_nLow);
        frame.push_back(crc.m_nHigh);
        return frame;
    };
    const Bytes readCoils = {0x01, 0x01, 0x00, 0x20, 0x00, 0x10};
    const Bytes readTable = {0x01, 0x03, 0x27, 0x10, 0x00, 0x26};
    const Bytes writeCoil = {0x01, 0x05, 0x00, 0x2A, 0xFF, 0x00};
    Bytes table(3 + 76, 0);
    table[0] = 0x01;
    table[1] = 0x03;
    table[2] = 76;
    table = withCrc(table);
    struct Row {
        const Bytes& request;
        Bytes reply;
        bool answers;
    } rows[] = {
        {readCoils, withCrc({0x01, 0x01, 0x02, 0x05, 0x80}), true},
        {readCoils, {0x01, 0x01, 0x02, 0x05, 0x80, 0x12, 0x34}, false},    // CRC
        {readCoils, {0x01, 0x81, 0x02, 0xC1, 0x91}, false},                // exception
        {readCoils, withCrc({0x01, 0x01, 0x03, 0x05, 0x80, 0x00}), false}, // count
        {readCoils, withCrc({0x01, 0x01, 0x02, 0x05}), false},             // cut short
        {readCoils, withCrc({0x02, 0x01, 0x02, 0x05, 0x80}), false},       // another slave
        {readTable, table, true},
        {readTable, Bytes(table.begin(), table.end() - 1), false},
        {writeCoil, withCrc({0x01, 0x05, 0x00, 0x2A, 0xFF, 0x00}), true},
        {writeCoil, {0x01, 0x05, 0x00, 0x2A, 0xFF, 0x00, 0x12, 0x34}, false}, // CRC
        {writeCoil, {0x01, 0x85, 0x02, 0x00, 0x00}, false},
        {writeCoil, {0x01, 0x05, 0x00, 0x2A, 0x00, 0x00, 0x12, 0x34}, false},
        {readCoils, {}, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(RtuReplyAnswers(row.request, row.reply), row.answers)
            << "reply of " << row.reply.size() << " bytes";
}

TEST(RackTables, CoilNibblesAndModelRules)
{
    // Data bytes 0x05 and 0x80: channels 0, 2 and 15.
    auto states = CoilStates("0580");
    for (int ch = 0; ch < 16; ++ch)
        EXPECT_EQ(states[static_cast<size_t>(ch)], ch == 0 || ch == 2 || ch == 15) << ch;
    states = CoilStates("F0");
    for (int ch = 0; ch < 16; ++ch) EXPECT_EQ(states[static_cast<size_t>(ch)], ch >= 4 && ch < 8);
    states = CoilStates("G?");
    for (bool on : states) EXPECT_FALSE(on);

    EXPECT_EQ(CoilReadBody(3), "0100300010");
    EXPECT_EQ(CoilWriteBody(2, 10, true), "05002AFF00");
    EXPECT_EQ(CoilWriteBody(7, 15, false), "05007F0000");

    struct Row {
        const char* name;
        int flags;
        bool writes;
    } rows[] = {{"Vekt-1371", 8, true},
                {"Vekt-1323", 16, true},
                {"Vekt-1327", 16, true},
                {"Vekt-1328", 16, false},
                {"Vekt-1325", 16, false}};
    for (const Row& row : rows) {
        const SDigitalModel* model = FindDigitalModel(row.name);
        ASSERT_NE(model, nullptr) << row.name;
        EXPECT_EQ(model->nFlagChannels, row.flags);
        EXPECT_EQ(model->bWrites, row.writes);
    }
    EXPECT_EQ(FindDigitalModel("Vekt-1384H"), nullptr);
}

TEST(RackTables, RawToEngineeringPerType)
{
    struct Row {
        int type;
        unsigned raw;
        float value;
    } rows[] = {
        {0, 0, -100.0f},    {0, 65535, 100.0f},    {3, 65535, 600.0f},   {4, 0, -80.0f},
        {9, 65535, 2.5f},   {15, 0, 500.0f},       {16, 65535, 1800.0f}, {17, 0, 4.0f},
        {17, 4096, 20.0f},  {17, 2048, 12.0f},     {18, 0, -10.0f},      {22, 4096, 500.0f},
        {24, 4096, 20.0f},  {27, 2048, 0.0f},      {28, 1024, 5.0f},     {29, 4096, 2.5f},
        {29, 1024, 0.625f}, {kNoType, 1234, 0.0f}, {30, 1234, 0.0f},
    };
    for (const Row& row : rows)
        EXPECT_FLOAT_EQ(RawToEngineering(row.type, row.raw), row.value)
            << "type " << row.type << " raw " << row.raw;
}

TEST(RackTables, EngineeringToCountAndOutputRanges)
{
    struct Row {
        float value;
        int type;
        unsigned count;
    } rows[] = {
        {20.0f, 17, 4095}, {12.0f, 17, 2047}, {4.0f, 17, 0}, {10.0f, 19, 4095},  {0.0f, 19, 0},
        {10.0f, 28, 2047}, {20.0f, 28, 4095}, {5.0f, 18, 0}, {5.0f, kNoType, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(EngineeringToCount(row.value, row.type), row.count)
            << row.value << " under type " << row.type;
    ASSERT_TRUE(OutputRange(17));
    EXPECT_EQ(OutputRange(17)->fLow, 4.0f);
    EXPECT_EQ(OutputRange(28)->fHigh, 20.0f);
    EXPECT_FALSE(OutputRange(24));
}

TEST(RackTables, InputTypesPerModule)
{
    SAnalogTypes types;
    // 1384H: each register carries its even channel in the low byte.
    ParseInputTypes("Vekt-1384H",
                    "0A01"
                    "0302"
                    "FF0B"
                    "0500",
                    types);
    EXPECT_EQ(types.strRange[0], "0~10V");
    EXPECT_EQ(types.strUnit[0], "V");
    EXPECT_EQ(types.strRange[1], "4~20mA");
    EXPECT_EQ(types.strUnit[1], "mA");
    EXPECT_EQ(types.nType[1], 17);
    EXPECT_EQ(types.strRange[2], "+/-5V");
    EXPECT_EQ(types.strRange[4], "0~20mA");
    EXPECT_EQ(types.strRange[5], ""); // FF is no code: nothing changes
    EXPECT_EQ(types.nType[5], kNoType);
    EXPECT_EQ(types.strRange[6], "+/-10V");
    EXPECT_EQ(types.strRange[7], "0~2.5V");
    EXPECT_EQ(types.nType[7], 29);

    // A code the table lacks keeps what the previous slot set.
    ParseInputTypes("Vekt-1384", "FFFFFFFFFFFFFFFF", types);
    EXPECT_EQ(types.strRange[0], "0~10V");

    SAnalogTypes rtd;
    ParseInputTypes("Vekt-1380", "2500000000000000", rtd);
    for (size_t row = 0; row < 3; ++row) {
        EXPECT_EQ(rtd.strRange[row], "Pt.00392  0~100'C");
        EXPECT_EQ(rtd.strUnit[row], "'C");
        EXPECT_EQ(rtd.nType[row], 1);
    }
    EXPECT_EQ(rtd.strRange[3], "");

    SAnalogTypes tc;
    ParseInputTypes("Vekt-1386", "00", tc);
    for (size_t row = 0; row < 7; ++row) {
        EXPECT_EQ(tc.strRange[row], "+/-15mV");
        EXPECT_EQ(tc.strUnit[row], "mV");
    }
    EXPECT_EQ(tc.strRange[7], "");
    EXPECT_EQ(tc.strUnit[7], "");

    SAnalogTypes out;
    ParseInputTypes("Vekt-1359", "30313200", out);
    EXPECT_EQ(out.strRange[0], "4~20mA"); // code 1
    EXPECT_EQ(out.strRange[1], "0~20mA"); // code 0
    EXPECT_EQ(out.strRange[2], "");       // code 3 "00" is none of table D
    EXPECT_EQ(out.strRange[3], "0~10V");  // code 2
    EXPECT_EQ(out.strOutputUnit[0], "mA");
    EXPECT_EQ(out.strOutputUnit[3], "V");
    EXPECT_EQ(out.nType[3], 19);
}

TEST(RackTables, UnitsFromRangeTexts)
{
    struct Row {
        const char* text;
        const char* unit;
    } rows[] = {{"+/-20mA", "mA"},    {"+/-500mV", "mV"}, {"0~10V", "V"},
                {"Ni 0~100'C", "'C"}, {"", ""},           {"Type K 0~1370'C", "'C"}};
    for (const Row& row : rows) EXPECT_EQ(UnitOf(row.text), row.unit) << row.text;
}

TEST(RackTables, ShownValuesInEngineeringUnitsOrHex)
{
    SAnalogTypes types;
    ParseInputTypes("Vekt-1384H", "0A0A0A0A0A0A0A0A", types); // 4~20mA everywhere
    std::string digits = "0FFF"
                         "FFFF"
                         "0000"
                         "0800"
                         "0000"
                         "0000"
                         "0000"
                         "0000";
    auto values = ChannelValueTexts("Vekt-1384H", digits, types, false);
    EXPECT_EQ(values[0], "19.996");
    EXPECT_EQ(values[1], "259.996"); // nothing is clamped
    EXPECT_EQ(values[2], "4.000");
    EXPECT_EQ(values[3], "12.000");
    EXPECT_EQ(ChannelValueTexts("Vekt-1384H", digits, types, true)[1], "FFFF");

    SAnalogTypes none;
    auto rtd = ChannelValueTexts("Vekt-1380", "", none, false);
    EXPECT_EQ(rtd[0], "0.0000");
    EXPECT_EQ(rtd[3], "");
    SAnalogTypes pt;
    ParseInputTypes("Vekt-1380", "20", pt);
    EXPECT_EQ(ChannelValueTexts("Vekt-1380", "0000", pt, false)[0], "-100.0000");
    EXPECT_EQ(ChannelValueTexts("Vekt-1386", "", none, false)[6], "0.000");
    EXPECT_EQ(ChannelValueTexts("Vekt-1386", "", none, false)[7], "");
}

TEST(RackTables, RowLabelsPerModule)
{
    using Labels = std::array<std::string, kAnalogRows>;
    EXPECT_EQ(AnalogRowLabels("Vekt-1380", 40017, false),
              (Labels{"40017", "40018", "40019", "00000", "00000", "00000", "00000", "00000"}));
    EXPECT_EQ(AnalogRowLabels("Vekt-1359", 40033, false),
              (Labels{"40033", "40034", "40035", "40036", "00000", "00000", "00000", "00000"}));
    EXPECT_EQ(AnalogRowLabels("Vekt-1386", 0, false),
              (Labels{"0", "1", "2", "3", "4", "5", "6", "00000"}));
    EXPECT_EQ(AnalogRowLabels("Vekt-1384", 9, false)[7], "16");
    EXPECT_EQ(AnalogRowLabels("Vekt-1380", 40017, true),
              (Labels{"CH0", "CH1", "CH2", "CH3", "CH4", "CH5", "CH6", "CH7"}));
}

TEST(RackTables, AlarmLampsFromTheTwoAlarmRegisters)
{
    // Low flags 0x81 (channels 0 and 7), high flags 0x42 (channels 1 and 6).
    SAlarmLamps lamps = ParseStatusReply("00810042");
    for (size_t row = 0; row < kAnalogRows; ++row) {
        EXPECT_EQ(lamps.bLow[row], row == 0 || row == 7) << row;
        EXPECT_EQ(lamps.bHigh[row], row == 1 || row == 6) << row;
    }
    // A short text lights nothing; a non-hex character counts by its character code.
    lamps = ParseStatusReply("0081");
    EXPECT_TRUE(lamps.bLow[0]);
    EXPECT_FALSE(lamps.bHigh[1]);
    EXPECT_EQ(AlarmNibble("G", 0), 'G');
    EXPECT_EQ(AlarmNibble("", 3), 0);
}

TEST(RackTables, AnalogRequestBodies)
{
    EXPECT_EQ(TypesReadBody(), "0327D80040");
    EXPECT_EQ(ValuesReadBody(0), "0300000008");
    EXPECT_EQ(ValuesReadBody(7), "0300380008");
    EXPECT_EQ(AlarmsReadBody(0), "0327740002");
    EXPECT_EQ(AlarmsReadBody(7), "0327820002");
    EXPECT_EQ(OutputWriteBody(4, 1, "0FFF"), "0600210FFF");
}
