// The simulated Modbus rack main unit: its slot table, and the slots it reaches through its own
// registers and coils, answered as known-answer rows.
#include "SimRackModbus.h"
#include "SimRegistry.h"

#include "../sim/SimTestUtil.h"

#include <gtest/gtest.h>

namespace {

class SimRack : public ::testing::Test {
protected:
    SimRack() : rack(static_cast<CSimRackModbus&>(bus.Add("233E", 1, 9600, ESimProtocol::Rtu))) {}
    // The answer without its CRC; "" for silence.
    std::string Ask(const char* hex)
    {
        auto answer = AskRtu(bus, hex);
        if (!answer) return "";
        EXPECT_TRUE(SimCrcValid(*SimBytesFromHex(*answer))) << hex;
        return WithoutCrc(*answer);
    }
    CSimBus bus;
    CSimRackModbus& rack;
};

} // namespace

TEST_F(SimRack, TheSearchProbeListsTheRackAndTheSecondProbeIsRefused)
{
    EXPECT_EQ(Ask("010327100002"), "01 03 04 23 3E 00 00");
    EXPECT_EQ(Ask("010300D20002"), "01 83 02");
}

TEST_F(SimRack, SlotTableCarriesFirmwareCodesAndAddresses)
{
    for (int s = 0; s < 8; ++s) rack.SetSlot(s, kSimSlotEmpty, 0, 0);
    rack.SetSlot(0, kSimSlot1371, 0x0001, 0x0010);
    rack.SetSlot(3, kSimSlot1384H, 40025, 40032);
    rack.SetSlot(7, kSimSlot1386, 0xFFFF, 0x1234);
    rack.SetFirmware(0x0105);
    std::string data = Ask("010327100026");
    ASSERT_EQ(data.size(), 3 * (3 + 76) - 1);
    EXPECT_EQ(data.substr(0, 9), "01 03 4C ");
    std::string expected =
        "23 3E 00 00 01 05 00 00 " // model, firmware
        "71 FF FF 0C FF FF FF 05 " // slot codes 0-7
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 01 00 10 00 00 00 00 00 00 00 00 9C 59 9C 60 " // slots 0-3
        "00 00 00 00 00 00 00 00 00 00 00 00 FF FF 12 34 " // slots 4-7
        "00 00 00 00";
    EXPECT_EQ(data.substr(9), expected);
}

TEST_F(SimRack, AnalogSlotRegistersAndWhatOtherSlotsLack)
{
    rack.SetSlot(2, kSimSlot1384H, 40017, 40024);
    rack.Slot(2).nRaw = {0x0001, 0x0FFF, 0, 0, 0, 0, 0, 0x1234};
    rack.Slot(2).nTypes = {0x01, 0x0A, 0x02, 0x03, 0, 0, 0, 0};
    rack.Slot(2).nLowAlarms = 0x81;
    rack.Slot(2).nHighAlarms = 0x42;
    rack.SetSlot(3, kSimSlot1327, 49, 64);
    struct Row {
        const char* request;
        const char* answer;
    } rows[] = {
        {"010300100008", "01 03 10 00 01 0F FF 00 00 00 00 00 00 00 00 00 00 12 34"},
        {"010327780002", "01 03 04 00 81 00 42"},
        // a digital slot has neither values nor alarms: illegal data address
        {"010300180008", "01 83 02"},
        {"0103277A0002", "01 83 02"},
        // reading past the last slot's alarms
        {"010327840002", "01 83 02"},
    };
    for (const Row& row : rows) EXPECT_EQ(Ask(row.request), row.answer) << row.request;
    // The type codes of all slots in one read: the analog slot's pairs, 0xFFFF elsewhere.
    std::string types = Ask("010327D80040");
    ASSERT_EQ(types.size(), 3 * (3 + 128) - 1);
    EXPECT_EQ(types.substr(0, 9), "01 03 80 ");
    std::string slot2 = types.substr(9 + 3 * 32, 3 * 16 - 1);
    EXPECT_EQ(slot2, "0A 01 03 02 00 00 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(types.substr(9 + 3 * 48, 11), "FF FF FF FF");
}

TEST_F(SimRack, OutputSlotTakesCountsUpTo4095OnItsFourChannels)
{
    rack.SetSlot(4, kSimSlot1359, 40033, 40036);
    struct Row {
        const char* request;
        const char* answer;
    } rows[] = {
        {"010600210FFF", "01 06 00 21 0F FF"}, // slot 4 channel 1
        {"010600221000", "01 86 03"},          // beyond 12 bits
        {"010600240001", "01 86 02"},          // channel 4 is no output
        {"010600000001", "01 86 02"},          // slot 0 holds an input module
    };
    for (const Row& row : rows) EXPECT_EQ(Ask(row.request), row.answer) << row.request;
    EXPECT_EQ(rack.Slot(4).nRaw[1], 0x0FFF);
    EXPECT_EQ(Ask("010300200004"), "01 03 08 00 00 0F FF 00 00 00 00");
}

TEST_F(SimRack, DigitalSlotsReadSixteenCoilsAndWriteWhereTheModelSwitches)
{
    rack.SetSlot(2, kSimSlot1327, 33, 48);
    rack.SetSlot(3, kSimSlot1371, 49, 64);
    rack.SetSlot(5, kSimSlot1328, 81, 96);
    rack.SetDigitalInput(2 * 16 + 0, true);
    rack.SetDigitalInput(2 * 16 + 2, true);
    rack.SetDigitalInput(2 * 16 + 15, true);
    EXPECT_EQ(Ask("010100200010"), "01 01 02 05 80");
    struct Row {
        const char* request;
        const char* answer;
    } rows[] = {
        {"01050021FF00", "01 05 00 21 FF 00"}, // 1327 channel 1 on
        {"0105002F0000", "01 05 00 2F 00 00"}, // 1327 channel 15 off
        {"01050037FF00", "01 05 00 37 FF 00"}, // 1371 relay 7
        {"01050038FF00", "01 85 02"},          // 1371 channel 8 is an input
        {"01050050FF00", "01 85 02"},          // 1328 has inputs only
        {"01050021FF01", "01 85 03"},          // neither on nor off
        {"010100000010", "01 81 02"},          // slot 0 is analog
    };
    for (const Row& row : rows) EXPECT_EQ(Ask(row.request), row.answer) << row.request;
    EXPECT_EQ(Ask("010100200010"), "01 01 02 07 00");
}

TEST_F(SimRack, FaultsApplyToTheRackAsToAnyModule)
{
    rack.Faults().nSilentAfter = 1;
    EXPECT_NE(Ask("010327100026"), "");
    EXPECT_EQ(Ask("010327100026"), "");
}

TEST(SimRackDefault, TheRegistryKnowsTheRackWithAMixedPopulation)
{
    auto module = SimCreateModule("233E");
    ASSERT_NE(module, nullptr);
    auto& rack = dynamic_cast<CSimRackModbus&>(*module);
    int analog = 0, digital = 0;
    for (int s = 0; s < CSimRackModbus::kSlots; ++s) {
        analog += CSimRackModbus::IsAnalog(rack.Slot(s).nCode);
        digital += CSimRackModbus::IsDigital(rack.Slot(s).nCode);
    }
    EXPECT_GE(analog, 2);
    EXPECT_GE(digital, 2);
    EXPECT_EQ(rack.Slot(6).nCode, kSimSlotEmpty);
}

TEST(SimRackDefault, TheRunScriptsBusHasAModbusRackTheSearchCanFind)
{
    CSimBus bus;
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    auto probe = AskRtu(bus, "600327100002");
    ASSERT_TRUE(probe);
    EXPECT_EQ(WithoutCrc(*probe), "60 03 04 23 3E 00 00");
}
