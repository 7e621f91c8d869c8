// The digital slot page against the simulated rack: coil reads to lamps and flags per model,
// lamp presses to function-05 frames, the label views, and replies that answer nothing.
#include "RackFixture.h"
#include "Resource.h"

namespace {

class V1333RTUIO : public CRackFixture {
protected:
    // The rack with a digital module of that code in slot 2 (coils 33-48), its tab selected.
    CV1333RTUIO& OpenSlot2(BYTE code, WORD start = 33)
    {
        Populate({{2, code, start, static_cast<WORD>(start + 15)}, {4, kSimSlot1327, 65, 80}});
        Open();
        SelectTab(3);
        return *Digital();
    }
    std::vector<int> LitLamps(CV1333RTUIO& page)
    {
        std::vector<int> lit;
        for (int c = 0; c < 16; ++c)
            if (page.m_btnChannel[static_cast<size_t>(c)].GetIcon() == IDI_DOT_SET)
                lit.push_back(c);
        return lit;
    }
    // A press on an input module's lamp: the next tick reads the coils again.
    void ExpectPressSendsNothing(BYTE code)
    {
        CV1333RTUIO& page = OpenSlot2(code);
        TickPage(&page, 2);
        Press(page, 3);
        EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010100200010")});
        EXPECT_EQ(page.m_bOutputOn[3], 0);
    }
    void Press(CV1333RTUIO& page, int channel)
    {
        ASSERT_TRUE(ui::Click(page, kRackIoLampIds[static_cast<size_t>(channel)]));
    }
};

} // namespace

TEST_F(V1333RTUIO, CoilReadsLightTheLampsAndSetTheFlags)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1327);
    m_rack.Slot(2).nCoils = 0x8005; // data bytes 05 80
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010100200010")});
    EXPECT_TRUE(LitLamps(page).empty()); // the reply is read on the next tick
    TickPage(&page);
    EXPECT_EQ(LitLamps(page), (std::vector<int>{0, 2, 15}));
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(page.m_bOutputOn[static_cast<size_t>(c)], c == 0 || c == 2 || c == 15) << c;
    EXPECT_EQ(page.m_btnChannel[1].GetIcon(), IDI_DOT_CLEAR);
}

TEST_F(V1333RTUIO, ARelayModulesReadSetsOnlyTheRelayFlags)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1371);
    m_rack.Slot(2).nCoils = 0xFF01;
    TickPage(&page, 2);
    EXPECT_EQ(LitLamps(page), (std::vector<int>{0, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(page.m_bOutputOn[0], 1);
    for (size_t c = 8; c < 16; ++c) EXPECT_EQ(page.m_bOutputOn[c], 0) << c;
}

TEST_F(V1333RTUIO, APressSwitchesTheOutputWithFunction05ThenReads)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1327);
    TickPage(&page, 2);
    Press(page, 10);
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("0105002AFF00")});
    EXPECT_EQ(m_rack.Slot(2).nCoils, 0x0400);
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010100200010")});
    TickPage(&page);
    EXPECT_EQ(LitLamps(page), std::vector<int>{10});
    Press(page, 10);
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("0105002A0000")});
    EXPECT_EQ(m_rack.Slot(2).nCoils, 0);
}

TEST_F(V1333RTUIO, ADigitalInputModuleSwitchesNothing)
{
    ExpectPressSendsNothing(kSimSlot1328);
}

TEST_F(V1333RTUIO, AnotherDigitalInputModuleSwitchesNothing)
{
    ExpectPressSendsNothing(kSimSlot1325);
}

// Every press that flips a flag is written: two presses before a tick, and a press in the tick
// right after a write, each reach the module, so lamps and outputs agree.
TEST_F(V1333RTUIO, EveryPressThatFlipsAFlagIsWritten)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1327);
    TickPage(&page, 2);
    Press(page, 1);
    Press(page, 2);
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("01050021FF00")});
    Press(page, 3); // between the write and the tick after it
    std::vector<std::string> wire = TickPage(&page, 5);
    EXPECT_EQ(wire, (std::vector<std::string>{RtuFrame("010100200010"), RtuFrame("01050022FF00"),
                                              RtuFrame("010100200010"), RtuFrame("01050023FF00"),
                                              RtuFrame("010100200010")}));
    TickPage(&page);
    EXPECT_EQ(m_rack.Slot(2).nCoils, 0x000E);
    EXPECT_EQ(LitLamps(page), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(page.m_bOutputOn[1] + page.m_bOutputOn[2] + page.m_bOutputOn[3], 3);
}

TEST_F(V1333RTUIO, LabelsCountFromTheSlotsStartOrNameTheChannels)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1327, 17);
    TickPage(&page);
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_IO_VIEW), "Addr View");
    EXPECT_EQ(page.GetDlgItemText(kRackIoLabelIds[0]), "00017");
    EXPECT_EQ(page.GetDlgItemText(kRackIoLabelIds[15]), "00032");
    ASSERT_TRUE(ui::Click(page, IDC_RACK_IO_VIEW));
    EXPECT_EQ(page.GetDlgItemText(kRackIoLabelIds[0]), "00017"); // changes with the next tick
    // The requests still use coils 16 x slot.
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010100200010")});
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_IO_VIEW), "CH View");
    EXPECT_EQ(page.GetDlgItemText(kRackIoLabelIds[0]), "CH0");
    EXPECT_EQ(page.GetDlgItemText(kRackIoLabelIds[15]), "CH15");
}

TEST_F(V1333RTUIO, SwitchingDigitalTabsReadsTheOtherSlotWithTheSamePage)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1327);
    TickPage(&page);
    SelectTab(5);
    EXPECT_EQ(Digital(), &page);
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010100400010")});
}

// An exception reply carries no coil states: the lamps and flags keep what the last read showed.
TEST_F(V1333RTUIO, AnUnansweredOrRefusedReadLeavesLampsAndFlagsAsTheyWere)
{
    CV1333RTUIO& page = OpenSlot2(kSimSlot1327);
    m_rack.Slot(2).nCoils = 0x0003;
    TickPage(&page, 2);
    ASSERT_EQ(LitLamps(page), (std::vector<int>{0, 1}));
    m_rack.SetSlot(2, kSimSlot1384H, 0, 0); // the rack now refuses the coil read
    TickPage(&page, 2);
    EXPECT_EQ(page.m_strData, "ERROR");
    EXPECT_EQ(LitLamps(page), (std::vector<int>{0, 1}));
    EXPECT_EQ(page.m_bOutputOn[0], 1);
    m_rack.Faults().nSilentAfter = 0;
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010100200010")});
    EXPECT_EQ(LitLamps(page), (std::vector<int>{0, 1}));
}
