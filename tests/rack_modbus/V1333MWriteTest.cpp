// The writes of the Modbus rack window's pages under every fault of the line or the module: a
// coil of the digital page and an output of the analog page go out once, and again once per read
// the rack answered, until the rack hears or refuses them; the lamp or the entry keeps the
// operator's value meanwhile, and the module ends with that value, or keeps its own after a
// refusal.
#include "RackFixture.h"
#include "Resource.h"
#include "WriteFaults.h"

#include <functional>

namespace {

// Slot 2 holds a digital output module (coils 32-47), slot 4 an analog output module whose four
// channels are 4 ~ 20 mA and read 4 mA.
constexpr int kDigitalTab = 3;
constexpr int kAnalogTab = 5;

// One write, with the tab of the page that carries it and the module's state before it.
struct SRackWrite {
    int nTab;
    std::function<void(CSimRackModbus&)> reset;
    SWriteCase<CSimRackModbus> write;
};

std::function<std::function<std::string()>(CDialog&)> ShownByDot(size_t channel)
{
    return [channel](CDialog& dlg) -> std::function<std::string()> {
        auto& page = dynamic_cast<CV1333RTUIO&>(dlg);
        return [&page, channel] {
            return page.m_btnChannel[channel].GetIcon() == IDI_DOT_SET ? "R" : "W";
        };
    };
}

std::function<std::function<std::string()>(CDialog&)> ShownByEntry(size_t channel)
{
    return [channel](CDialog& dlg) -> std::function<std::string()> {
        return [&dlg, channel] { return dlg.GetDlgItemText(kRackAoEntryIds[channel]); };
    };
}

std::function<void(CDialog&)> PressLamp(size_t channel)
{
    return [channel](CDialog& dlg) { ASSERT_TRUE(ui::Click(dlg, kRackIoLampIds[channel])); };
}

std::function<void(CDialog&)> SendValue(size_t channel, const char* text)
{
    return [channel, text](CDialog& dlg) {
        ASSERT_TRUE(ui::Type(dlg, kRackAoEntryIds[channel], text));
        ASSERT_TRUE(ui::Click(dlg, kRackAoSendIds[channel]));
    };
}

class V1333MWrites : public CRackFixture {
protected:
    V1333MWrites()
    {
        Populate({{2, kSimSlot1327, 33, 48}, {4, kSimSlot1359, 65, 68}});
        m_rack.Slot(4).nTypes = {0x31, 0x31, 0x31, 0x31, 0, 0, 0, 0};
        Open();
    }
    // The tab selected, and its page showing the module's values.
    CDialog& OpenOn(int tab)
    {
        SelectTab(tab);
        CDialog& page = tab == kDigitalTab ? static_cast<CDialog&>(*Digital()) : *Analog();
        Tick(page, 6);
        return page;
    }
    // The rack's slots are read through the fixture's rack, the one the row's module is.
    std::vector<SRackWrite> RackWrites()
    {
        return {
            {kDigitalTab,
             [](CSimRackModbus& m) { m.Slot(2).nCoils = 0; },
             {"lamp", PressLamp(3), "01050023FF00",
              [this](const CSimRackModbus&) { return m_rack.Slot(2).nCoils == 0x0008; },
              ShownByDot(3), "R", "W"}},
            {kAnalogTab,
             [](CSimRackModbus& m) { m.Slot(4).nRaw.fill(0); },
             {"Send", SendValue(1, "12"), "0106002107FF",
              [this](const CSimRackModbus&) { return m_rack.Slot(4).nRaw[1] == 0x07FF; },
              ShownByEntry(1), "12", "4.000"}},
        };
    }
};

} // namespace

TEST_F(V1333MWrites, EveryWriteUnderEveryFault)
{
    for (const SRackWrite& w : RackWrites()) {
        CDialog& page = OpenOn(w.nTab);
        for (const SWriteFault& f : WriteFaults(ELinkKind::Rtu)) {
            SCOPED_TRACE(std::string(w.write.pszName) + ", " + f.pszName);
            // The page shows the module's values again before each write.
            w.reset(m_rack);
            Tick(page, 6);
            ExpectWriteCase(page, m_rack, m_link, f, w.write, ELinkKind::Rtu);
        }
    }
}

// Two lamps pressed, and two outputs sent, before one tick: each write reaches the module.
TEST_F(V1333MWrites, TwoControlsWrittenInOneTickBothReachTheModule)
{
    CV1333RTUIO& digital = dynamic_cast<CV1333RTUIO&>(OpenOn(kDigitalTab));
    PressLamp(1)(digital);
    PressLamp(2)(digital);
    Tick(digital, 6);
    EXPECT_EQ(m_rack.Slot(2).nCoils, 0x0006);
    EXPECT_EQ(digital.m_btnChannel[1].GetIcon(), IDI_DOT_SET);
    EXPECT_EQ(digital.m_btnChannel[2].GetIcon(), IDI_DOT_SET);

    CV1384HM& analog = dynamic_cast<CV1384HM&>(OpenOn(kAnalogTab));
    SendValue(0, "20")(analog);
    SendValue(3, "12")(analog);
    Tick(analog, 6);
    EXPECT_EQ(m_rack.Slot(4).nRaw[0], 0x0FFF);
    EXPECT_EQ(m_rack.Slot(4).nRaw[3], 0x07FF);
}

// An echo whose CRC is spoilt is no echo: the lamp keeps the operator's state and the write goes
// out again once the rack has answered a read.
TEST_F(V1333MWrites, AnEchoWithABadCrcIsNotHeard)
{
    CV1333RTUIO& page = dynamic_cast<CV1333RTUIO&>(OpenOn(kDigitalTab));
    const std::string write = RtuFrame("01050023FF00");
    const std::string read = RtuFrame("010100200010");
    {
        CSpoiltLine line(ESpoil::BadCrc, "01 05 00 23");
        PressLamp(3)(page);
        EXPECT_EQ(TickPage(&page, 4), (std::vector<std::string>{write, read, write, read}));
        EXPECT_EQ(line.Spoilt(), 1);
    }
    EXPECT_EQ(TickPage(&page, 4), (std::vector<std::string>{read, read, read, read}));
    EXPECT_EQ(page.m_btnChannel[3].GetIcon(), IDI_DOT_SET);
    EXPECT_EQ(m_rack.Slot(2).nCoils, 0x0008);
}
