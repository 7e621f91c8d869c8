// The digital I/O model tables: what each model name gets from them.
#include "digital_io/DioModel.h"

#include "RtuCrc.h"

#include <gtest/gtest.h>

namespace {

struct SExpected {
    const char* model;
    int row; // of the counts; 0: none
    int di, dop;
    int clear;          // -1: the name has no Clear-button row
    const char* doText; // BuildDoHexString(0xA5)
    unsigned disabled;
    bool statusOnly;
};

// clang-format off
const SExpected kNames[] = {
    {"6373",   1,  4,  4,  4,  "5",    0,                                  false},
    {"4373D",  1,  4,  4,  4,  "5",    0,                                  false},
    {"6373X",  0,  0,  0,  -1, "5",    0,                                  false},
    {"6370",   2,  8,  3,  8,  "5",    0,                                  false},
    {"M6370Z", 2,  8,  3,  8,  "5",    0,                                  false},
    {"4372",   3,  4,  5,  4,  "A5",   0,                                  false},
    {"6399D",  4,  4,  8,  4,  "A5",   0,                                  false},
    {"4324",   5,  12, 4,  12, "5",    0,                                  false},
    {"6323",   6,  7,  8,  7,  "A5",   0,                                  false},
    {"6371D",  7,  0,  8,  0,  "A5",   0,                                  false},
    {"6377",   8,  0,  7,  0,  "A5",   kDioLatch,                          false},
    {"6374X",  8,  0,  7,  -1, "A5",   kDioLatch,                          false},
    {"6395",   9,  0,  13, 0,  "00A5", kDioLatch,                          false},
    {"4390D",  10, 0,  16, 0,  "00A5", kDioLatch,                          false},
    {"6390E",  10, 0,  16, -1, "00A5", kDioLatch,                          false},
    {"6398",   11, 14, 0,  14, "00A5", kDioSafe | kDioPowerOn | kDioLatch, false},
    {"6325D",  12, 8,  0,  8,  "",     kDioSafe | kDioPowerOn | kDioLatch, false},
    {"4320",   13, 16, 0,  16, "",     kDioSafe | kDioPowerOn | kDioLatch, false},
    {"6328",   14, 16, 0,  0,  "",     kDioSafe | kDioPowerOn | kDioLatch, true},
    {"9328",   14, 16, 0,  0,  "",     kDioSafe | kDioPowerOn | kDioLatch, true},
    {"6328D",  0,  0,  0,  -1, "",     kDioSafe | kDioPowerOn | kDioLatch, true},
    {"4328",   14, 16, 0,  0,  "",     kDioSafe | kDioPowerOn | kDioLatch, true},
    {"4328D",  0,  0,  0,  -1, "",     kDioSafe | kDioPowerOn | kDioLatch, true},
    {"4322",   15, 8,  8,  0,  "A5",   kDioPowerOn | kDioLatch,            true},
    {"4371D",  7,  0,  8,  0,  "A5",   0,                                  false},
    {"6322",   15, 8,  8,  0,  "A5",   kDioPowerOn | kDioLatch,            true},
    {"9322",   15, 8,  8,  0,  "A5",   kDioPowerOn | kDioLatch,            true},
    {"6384",   0,  0,  0,  -1, "",     0,                                  false},
};
// clang-format on

} // namespace

TEST(DioModelTable, EveryRowGivesItsCountsClearButtonsDoTextAndRules)
{
    for (const SExpected& e : kNames) {
        SCOPED_TRACE(e.model);
        const SDioModelRow* counts = DioFindRow(e.model, EDioTest::Counts);
        EXPECT_EQ(counts ? counts->nRow : 0, e.row);
        EXPECT_EQ(counts ? counts->nDi : 0, e.di);
        EXPECT_EQ(counts ? counts->nDo : 0, e.dop);
        const SDioModelRow* lamps = DioFindRow(e.model, EDioTest::Lamps);
        EXPECT_EQ(lamps ? lamps->nClearButtons : -1, e.clear);
        EXPECT_EQ(BuildDoHexString(e.model, 0xA5), e.doText);
        const SDioModelRow* rules = DioFindRow(e.model, EDioTest::Rules);
        EXPECT_EQ(rules ? rules->nDisabled : 0u, e.disabled);
        EXPECT_EQ(rules && rules->bStatusOnly, e.statusOnly);
    }
}

TEST(DioModelTable, OwnRequestsAndTheProtocolRuleFollowTheirNumbers)
{
    for (const char* model : {"6322", "9322", "6322D"})
        EXPECT_TRUE(DioFindRow(model, EDioTest::Rules)->bOwnRequests) << model;
    EXPECT_FALSE(DioFindRow("6328", EDioTest::Rules)->bOwnRequests);
    EXPECT_TRUE(DioSwitchesByConfiguration("6328D"));
    EXPECT_TRUE(DioSwitchesByConfiguration("6322"));
    EXPECT_FALSE(DioSwitchesByConfiguration("9328"));
    EXPECT_FALSE(DioSwitchesByConfiguration("9322"));
}

TEST(DioModelTable, TheModbusDialogKnowsNeither6371NorThe93xxNames)
{
    for (const char* model : {"6371", "6371D", "9328", "9322", "4371"}) {
        EXPECT_EQ(DioFindRow(model, EDioTest::Counts, EDioDialog::Modbus), nullptr) << model;
        EXPECT_EQ(DioFindRow(model, EDioTest::Lamps, EDioDialog::Modbus), nullptr) << model;
    }
    // The listed names of 6328 and 6322 (shared with 9328 and 9322) keep their rows.
    EXPECT_EQ(DioFindRow("4328", EDioTest::Counts, EDioDialog::Modbus)->nRow, 14);
    EXPECT_EQ(DioFindRow("4322", EDioTest::Lamps, EDioDialog::Modbus)->nRow, 15);
    EXPECT_EQ(DioFindCoilRead("4322")->nOutputCoils, 8);
    EXPECT_EQ(DioFindRow("6376D", EDioTest::Counts, EDioDialog::Modbus)->nRow, 7);
    EXPECT_EQ(DioFindRow("6322", EDioTest::Counts, EDioDialog::Modbus)->nDo, 8);
}

TEST(DioModelTable, DoTextKeepsTheRowsLastDigits)
{
    EXPECT_EQ(BuildDoHexString("6377", 5), "05");
    EXPECT_EQ(BuildDoHexString("6398", 0), "0000");
    EXPECT_EQ(BuildDoHexString("6322", 128), "80");
    EXPECT_EQ(BuildDoHexString("6390", 0xFFFF), "FFFF");
    EXPECT_EQ(BuildDoHexString("6373", 0x1F), "F");
}

namespace {

std::string Lamps(const std::array<EDioLamp, 16>& lamps)
{
    std::string text;
    for (EDioLamp lamp : lamps)
        text += lamp == EDioLamp::On       ? 'R'
                : lamp == EDioLamp::Off    ? 'W'
                : lamp == EDioLamp::Absent ? 'G'
                                           : '-';
    return text;
}

} // namespace

TEST(DioLampMap, EachRowDrivesItsLampsFromItsBits)
{
    struct Case {
        const char* model;
        WORD status;
        const char* di; // channel 0 first: R red, W white, G grey, - unchanged
        const char* dout;
    } cases[] = {
        {"6373", 0x0F05, "RWRWGGGGGGGGGGGG", "RRRRGGGGGGGGGGGG"},
        {"6325D", 0xA500, "RWRWWRWRGGGGGGGG", "GGGGGGGGGGGGGGGG"},
        {"6390", 0x8001, "GGGGGGGGGGGGGGGG", "RWWWWWWWWWWWWWWR"},
        {"6370", 0x0501, "RWWWWWWWGGGGGGGG", "RWRGGGGGGGGGGGGG"},
        {"6372", 0x1F00, "WWWWGGGGGGGGGGGG", "RRRRRGGGGGGGGGGG"},
        {"6399", 0x8001, "RWWWGGGGGGGGGGGG", "WWWWWWWRGGGGGGGG"},
        {"6324", 0x9801, "RWWWWWWWWWWRGGGG", "RWWRGGGGGGGGGGGG"},
        {"6323", 0x01C0, "WWWWWWRGGGGGGGGG", "RWWWWWWWGGGGGGGG"},
        {"6376", 0x8000, "GGGGGGGGGGGGGGGG", "WWWWWWWRGGGGGGGG"},
        {"6377", 0xC000, "GGGGGGGGGGGGGGGG", "WWWWWWRGGGGGGGGG"},
        {"6395", 0x1001, "GGGGGGGGGGGGGGGG", "RWWWWWWWWWWWRGGG"},
        {"6398", 0xE001, "RWWWWWWWWWWWWRGG", "GGGGGGGGGGGGGGGG"},
        {"6320", 0x8001, "RWWWWWWWWWWWWWWR", "GGGGGGGGGGGGGGGG"},
        {"9328", 0x0002, "WRWWWWWWWWWWWWWW", "GGGGGGGGGGGGGGGG"},
        {"6322", 0x8001, "RWWWWWWWGGGGGGGG", "WWWWWWWRGGGGGGGG"},
        {"6328D", 0xFFFF, "----------------", "----------------"},
        {"6322D", 0xFFFF, "----------------", "----------------"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        SDioLampStates states = DioLampStates(c.model, c.status);
        EXPECT_EQ(Lamps(states.di), c.di);
        EXPECT_EQ(Lamps(states.dout), c.dout);
    }
}

TEST(DioLampMap, OnlyAFullStatusReplyGivesAStatus)
{
    // The data after "!": the status reply carries no address.
    EXPECT_EQ(DioParseStatus("0F0500"), 0x0F05);
    EXPECT_EQ(DioParseStatus("ABCD"), 0xABCD);
    // A counter's reply ("!AA" and five digits) that comes late to a status read is no status.
    for (const char* data : {"RROR", "0F0", "", "0f05", "0G05", "0F 5", "0100012", "0F0501"})
        EXPECT_EQ(DioParseStatus(data), std::nullopt) << data;
    // The data after "!" and the address.
    EXPECT_EQ(DioParseCounter("00012"), "00012");
    for (const char* data : {"RROR", "000", "000A2", "0F0500", "000125", ""})
        EXPECT_EQ(DioParseCounter(data), std::nullopt) << data;
}

namespace {

std::vector<BYTE> Reply(std::vector<BYTE> frame)
{
    RtuCrc crc = CalcRtuCrc(frame.data(), frame.size());
    frame.push_back(crc.m_nLow);
    frame.push_back(crc.m_nHigh);
    return frame;
}

} // namespace

TEST(DioCoilReadTable, EveryRowReadsItsCoils)
{
    struct Case {
        const char* model;
        const char* inputs; // "" no read
        const char* outputs;
        bool outputsFirst;
    } cases[] = {
        {"6328", "0100000010", "", false},
        {"4320", "0100000010", "", false},
        {"6398D", "010000000E", "", false},
        {"6325", "0100000008", "", false},
        {"4395", "", "010010000D", true},
        {"6390", "", "0100100010", true},
        {"6376D", "", "0100100008", true},
        {"6373", "0100000004", "0100100004", false},
        {"4372", "0100000004", "0100100005", false},
        {"6399", "0100000004", "0100100008", false},
        {"6324", "010000000C", "0100100008", false},
        {"6323", "0100000007", "0100100008", true},
        {"6322", "0100000008", "0100100008", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        const SDioCoilRead* read = DioFindCoilRead(c.model);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->nInputCoils ? DioCoilReadText(false, read->nInputCoils) : "", c.inputs);
        EXPECT_EQ(read->nOutputCoils ? DioCoilReadText(true, read->nOutputCoils) : "", c.outputs);
        EXPECT_EQ(read->bOutputsFirst, c.outputsFirst);
    }
    for (const char* model : {"6370", "6377", "9328", "9322", "6371"})
        EXPECT_EQ(DioFindCoilRead(model), nullptr) << model;
}

TEST(DioCoilReadTable, CoilBitsComeOnlyFromTheWholeAnswerOfThatSlave)
{
    EXPECT_EQ(DioCoilBits(Reply({0x0A, 0x01, 0x01, 0x05}), 0x0A, 4), 0x5);
    EXPECT_EQ(DioCoilBits(Reply({0x01, 0x01, 0x02, 0x34, 0x12}), 0x01, 16), 0x1234);
    EXPECT_EQ(DioCoilBits(Reply({0x01, 0x01, 0x02, 0xFF, 0xFF}), 0x01, 12), 0x0FFF);
    std::vector<std::vector<BYTE>> refused = {
        Reply({0x01, 0x81, 0x02}),             // exception
        Reply({0x02, 0x01, 0x01, 0x05}),       // another slave
        Reply({0x01, 0x01, 0x02, 0x05, 0x00}), // byte count of another read
        Reply({0x01, 0x03, 0x01, 0x05}),
        {0x01, 0x01, 0x01, 0x05, 0x00, 0x00}, // CRC wrong
        {},
    };
    for (const auto& reply : refused) EXPECT_EQ(DioCoilBits(reply, 0x01, 4), std::nullopt);
}

TEST(DioCoilReadTable, StatusPutsInputsAndOutputsOnTheLampBits)
{
    struct Case {
        const char* model;
        WORD inputs;
        WORD outputs;
        WORD status;
    } cases[] = {
        {"6373", 0x0A, 0x05, 0x050A},
        {"6320", 0x1234, 0, 0x1234},
        {"6325", 0xA5, 0, 0xA500},
        {"6376", 0, 0x81, 0x8100},
        {"6390", 0, 0xBEEF, 0xBEEF},
        {"6323", 0x7F, 0xFF, 0xFF7F},
        // All twelve inputs, and the four outputs on bits 12-15 of the lamp map.
        {"6324", 0xABC, 0xF9, 0x9ABC},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DioComposeStatus(c.model, c.inputs, c.outputs), c.status) << c.model;
    EXPECT_EQ(DioComposeStatus("9322", 1, 1), std::nullopt);
    SDioLampStates states =
        DioLampStates("6324", *DioComposeStatus("6324", 0x800, 0x1), EDioDialog::Modbus);
    EXPECT_EQ(Lamps(states.di), "WWWWWWWWWWWRGGGG");
    EXPECT_EQ(Lamps(states.dout), "RWWWGGGGGGGGGGGG");
}

TEST(DioListRows, ReferenceChannelAndValueInTheirFields)
{
    EXPECT_EQ(DioListRow(false, 0, true, 17), "10001         CH0              1");
    EXPECT_EQ(DioListRow(true, 15, false, 17), "10032         CH15             0");
    EXPECT_EQ(DioListRow(true, 0, true, 16), "10017         CH0             1");
    EXPECT_EQ(DioListFieldWidth(4), 16);
    EXPECT_EQ(DioListFieldWidth(1), 17);
    EXPECT_EQ(DioListFieldWidth(15), 0);
}

TEST(DioChannelControls, SixteenChannelsOfFourDistinctControls)
{
    EXPECT_EQ(DioChannelControls[0].nClear, 1078);
    EXPECT_EQ(DioChannelControls[8].nDoLamp, 1109);
    EXPECT_EQ(DioChannelControls[15].nCounter, 1100);
    std::vector<int> ids;
    for (const SDioChannelControls& c : DioChannelControls)
        for (int id : {c.nDiLamp, c.nCounter, c.nClear, c.nDoLamp}) ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
}
