// The analog input slot dialog against the 1300, 1384 and 1386 of a simulated rack.
#include "rack/V1300.h"
#include "AnalogSlotFixture.h"

#include "UiDriver.h"

namespace {

class V1300 : public CAnalogSlotFixture {
protected:
    explicit V1300(const char* address = "50") : CAnalogSlotFixture(address) {}
    // Opens the dialog for the module of a slot and runs the start-up chain up to the first value.
    void Open(const char* model = "1384", int slot = 1)
    {
        OpenSlot(model, slot);
        m_dlg.Create(IDD_RACK_AI);
        Tick(m_dlg, 5);
        TakeRequests();
    }

    CV1300 m_dlg;
};

class V1300AtAddress00 : public V1300 {
protected:
    V1300AtAddress00() : V1300("00") {}
};

} // namespace

TEST_F(V1300, StartUpChainAndPollCyclePerModel)
{
    struct Case {
        const char* model;
        int slot;
        int channels;
        int rangeList;
        int rangeRow;
        const char* unit;
        int formatRow; // the 1384 shows its format only at address 00
    } cases[] = {
        {"1300", 0, 3, rack_ai::IDC_RTD_RANGE, 0, "'C", 0},
        {"1384", 1, 8, rack_ai::IDC_VOLTAGE_RANGE, 0, "V", -1},
        {"1386", 2, 7, rack_ai::IDC_THERMOCOUPLE_RANGE, 8, "'C", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        OpenSlot(c.model, c.slot);
        CV1300 dlg;
        dlg.Create(IDD_RACK_AI);
        std::string s = "$50S" + std::to_string(c.slot);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{s + "B"});
        EXPECT_EQ(Text(dlg, rack_analog::IDC_MODEL), c.model);
        // Nothing is shown before the module has answered.
        EXPECT_EQ(Row(dlg, rack_ai::IDC_INTEGRATION), -1);
        EXPECT_EQ(Row(dlg, c.rangeList), -1);
        EXPECT_TRUE(Visible(dlg, c.rangeList));
        EXPECT_FALSE(Enabled(dlg, c.rangeList));
        EXPECT_EQ(Text(dlg, rack_analog::kChannelIds[0].nUnit), "");

        std::vector<std::string> expected = {s + "6", s + "C0RHU", s + "C0RLU", s + "C0AH",
                                             s + "C0AL"};
        expected = Join(expected, PollLoop(c.slot, 0, c.channels - 1));
        expected.push_back("#50S" + std::to_string(c.slot) + "C0");
        EXPECT_EQ(TickRequests(dlg, static_cast<int>(expected.size())), expected);

        EXPECT_EQ(Row(dlg, c.rangeList), c.rangeRow);
        EXPECT_EQ(Row(dlg, rack_ai::IDC_INTEGRATION), 0);
        EXPECT_EQ(Row(dlg, rack_ai::IDC_FORMAT), c.formatRow);
        for (int ch = 0; ch < 8; ++ch) {
            SCOPED_TRACE(ch);
            EXPECT_EQ(Text(dlg, rack_analog::kChannelIds[ch].nUnit), ch < c.channels ? c.unit : "");
            EXPECT_EQ(Visible(dlg, rack_analog::kChannelIds[ch].nHighLamp), ch < c.channels);
        }
        EXPECT_EQ(dlg.GetDlgItemAs<CComboBox>(rack_alarm::IDC_CHANNEL)->GetCount(), c.channels);
        EXPECT_EQ(Visible(dlg, rack_analog::kChannelIds[7].nEnable), c.channels != 7);
        EXPECT_EQ(Visible(dlg, rack_ai::IDC_CH7_FRAME), c.channels != 7);
        EXPECT_EQ(Enabled(dlg, rack_analog::kChannelIds[3].nValue), c.channels != 3);
        EXPECT_FALSE(Enabled(dlg, rack_ai::IDC_UPDATE_SETTING));
        dlg.OnCancel();
        TakeRequests();
    }
}

TEST_F(V1300, UnitsFollowTheRangeAndFormatTheModuleReports)
{
    struct Case {
        const char* model;
        int slot;
        const char* range;
        char format;
        int row;
        const char* unit;
    } cases[] = {
        {"1384", 1, "0B", '0', 3, "mV"},  {"1384", 1, "0D", '0', 5, "mA"},
        {"1384", 1, "07", '0', 6, "mA"},  {"1386", 2, "03", '0', 3, "mV"},
        {"1386", 2, "04", '0', 4, "V"},   {"1386", 2, "06", '0', 6, "mA"},
        {"1386", 2, "14", '0', 13, "'C"}, {"1300", 0, "23", '3', 3, "Ohms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.range);
        auto& module = m_pRack->SlotAs<CSimAnalogInputSlot>(c.slot);
        module.strRange = c.range;
        module.cFormat = c.format;
        module.cIntegration = '8';
        OpenSlot(c.model, c.slot);
        CV1300 dlg;
        dlg.Create(IDD_RACK_AI);
        Tick(dlg);
        const SAiSlotModel& model = *AiSlotModel(c.model);
        int list = c.slot == 0   ? rack_ai::IDC_RTD_RANGE
                   : c.slot == 1 ? rack_ai::IDC_VOLTAGE_RANGE
                                 : rack_ai::IDC_THERMOCOUPLE_RANGE;
        EXPECT_EQ(Row(dlg, list), c.row);
        EXPECT_EQ(Text(dlg, rack_analog::kChannelIds[0].nUnit), c.unit);
        EXPECT_EQ(Text(dlg, rack_analog::kChannelIds[model.nChannels - 1].nUnit), c.unit);
        EXPECT_EQ(Row(dlg, rack_ai::IDC_INTEGRATION), 1);
        dlg.OnCancel();
    }
}

TEST_F(V1300, ValuesShowOnEnabledChannelsAndLampsFollowTheStatus)
{
    Slot(1).SetEnableMask(0x7F); // channel 7 off
    auto& ch0 = Slot(1).Channel(0);
    ch0.dValue = 12.34;
    Slot(1).Channel(1).dValue = 95.0;  // above the high limit (80)
    Slot(1).Channel(2).dValue = -30.0; // below the low limit (-20)
    Slot(1).Channel(7).dValue = 99.0;
    Slot(1).refused.insert("C3S");
    Open();
    Tick(m_dlg, 17);
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[0].nValue), "+012.34");
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[7].nValue), "");
    struct Case {
        int ch;
        const char* high;
        const char* low;
    } cases[] = {{0, "grey", "grey"},
                 {1, "red", "grey"},
                 {2, "grey", "red"},
                 {3, "hidden", "hidden"},
                 {7, "hidden", "hidden"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ch);
        EXPECT_EQ(Lamp(m_dlg, rack_analog::kChannelIds[c.ch].nHighLamp), c.high);
        EXPECT_EQ(Lamp(m_dlg, rack_analog::kChannelIds[c.ch].nLowLamp), c.low);
    }
    // A click on a channel box changes what its next value reply shows, not the order of steps.
    ui::Click(m_dlg, rack_analog::kChannelIds[0].nEnable);
    EXPECT_EQ(m_dlg.m_strEnableMask, "7E");
    TakeRequests();
    EXPECT_EQ(TickRequests(m_dlg, 3),
              (std::vector<std::string>{"$50S1C0S", "#50S1C1", "$50S1C1S"}));
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[0].nValue), "");
    EXPECT_EQ(Lamp(m_dlg, rack_analog::kChannelIds[0].nHighLamp), "hidden");
}

TEST_F(V1300, MaskReadSetsFlagsOnlyAndMaskWriteClosesWithItsOutcome)
{
    Slot(1).SetEnableMask(0x03);
    OpenSlot("1384", 1);
    m_dlg.m_bChannel[5] = 1;
    m_dlg.Create(IDD_RACK_AI);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_dlg.m_strEnableMask, "03");
    EXPECT_EQ(m_dlg.m_bChannel, (std::vector<int>{1, 1, 0, 0, 0, 1, 0, 0}));
    TakeRequests();
    WatchTimerAtBoxes(m_dlg);
    ui::Click(m_dlg, rack_analog::kChannelIds[4].nEnable);
    ui::Click(m_dlg, rack_analog::IDC_UPDATE_ENABLE);
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S1533"});
    Tick(m_dlg);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting WDT OK!"});
    EXPECT_FALSE(m_bTimerRanUnderBox); // the box closes the dialog: no tick runs under it
    EXPECT_FALSE(m_dlg.IsRunning());
    EXPECT_EQ(Slot(1).EnableMask(), 0x33);
    EXPECT_TRUE(m_link.IsAsciiOpen());
}

TEST_F(V1300, MaskWriteBeforeAnyMaskSendsTheBodyAloneAndReportsTheRefusal)
{
    OpenSlot("1384", 1);
    m_dlg.Create(IDD_RACK_AI);
    TakeRequests();
    ui::Click(m_dlg, rack_analog::IDC_UPDATE_ENABLE);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S15"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Setting WDT Error!"});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(V1300AtAddress00, ConfigurationWritesRangeIntegrationAndFormat)
{
    struct Case {
        const char* model;
        int slot;
        int list;
        int range;
        int integration;
        int format;
        const char* body;
    } cases[] = {
        {"1300", 0, rack_ai::IDC_RTD_RANGE, 3, 1, 1, "$00S0A2383"},
        {"1386", 2, rack_ai::IDC_THERMOCOUPLE_RANGE, 8, 0, -1, "$00S2A0F00"},
        {"1384", 1, rack_ai::IDC_VOLTAGE_RANGE, 6, 1, -1, "$00S1A0780"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        m_boxes.m_boxes.clear();
        OpenSlot(c.model, c.slot);
        CV1300 dlg;
        dlg.Create(IDD_RACK_AI);
        Tick(dlg, 3);
        EXPECT_TRUE(Enabled(dlg, c.list));
        EXPECT_TRUE(Enabled(dlg, rack_ai::IDC_UPDATE_SETTING));
        EXPECT_EQ(Enabled(dlg, rack_ai::IDC_FORMAT), c.format >= 0);
        EXPECT_EQ(Row(dlg, rack_ai::IDC_FORMAT), 0);
        ui::ChooseRow(dlg, c.list, c.range);
        ui::ChooseRow(dlg, rack_ai::IDC_INTEGRATION, c.integration);
        if (c.format >= 0) ui::ChooseRow(dlg, rack_ai::IDC_FORMAT, c.format);
        TakeRequests();
        ui::Click(dlg, rack_ai::IDC_UPDATE_SETTING);
        Tick(dlg, 2);
        EXPECT_EQ(TakeRequests(), std::vector<std::string>{c.body});
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationOk});
        EXPECT_FALSE(dlg.IsRunning());
    }
    EXPECT_EQ(m_pRack->SlotAs<CSimAnalogInputSlot>(0).strRange, "23");
    EXPECT_EQ(m_pRack->SlotAs<CSimAnalogInputSlot>(0).cFormat, '3');
}

TEST_F(V1300AtAddress00, ARefusedConfigurationAsksForInitAndCloses)
{
    m_pRack->SlotAs<CSimAnalogInputSlot>(1).bLocked = true;
    Open("1384", 1);
    ui::Click(m_dlg, rack_ai::IDC_UPDATE_SETTING);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationError});
    EXPECT_FALSE(m_dlg.IsRunning());
}

TEST_F(V1300AtAddress00, UpdateWithoutAChosenRangeOrIntegrationNamesTheListAndSendsNothing)
{
    // A code no row stands for, and a module that never answers the start-up read.
    m_pRack->SlotAs<CSimAnalogInputSlot>(1).strRange = "1F";
    Open("1384", 1);
    EXPECT_EQ(Row(m_dlg, rack_ai::IDC_VOLTAGE_RANGE), -1);
    ui::Click(m_dlg, rack_ai::IDC_UPDATE_SETTING);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Input Range!"});
    Tick(m_dlg, 3);
    for (const std::string& r : TakeRequests()) EXPECT_EQ(r.find('A'), std::string::npos) << r;
    m_boxes.m_boxes.clear();

    m_dlg.OnCancel();
    m_pRack->Faults().nSilentAfter = 0;
    CV1300 silent;
    silent.Create(IDD_RACK_AI);
    Tick(silent, 3);
    ui::ChooseRow(silent, rack_ai::IDC_VOLTAGE_RANGE, 2);
    EXPECT_EQ(Row(silent, rack_ai::IDC_INTEGRATION), -1);
    TakeRequests();
    ui::Click(silent, rack_ai::IDC_UPDATE_SETTING);
    Tick(silent, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$00S16", "$00S16"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Integration Time!"});
}

TEST_F(V1300, WithTheChecksumOnRepliesLoseTheirDigits)
{
    ChecksumOn();
    Slot(1).Channel(2).dValue = -1.5;
    Open();
    Tick(m_dlg, 6);
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[2].nValue), "-001.50");
    EXPECT_EQ(Text(m_dlg, rack_alarm::IDC_HIGH_LIMIT), "+080.00");
    EXPECT_EQ(Row(m_dlg, rack_ai::IDC_VOLTAGE_RANGE), 0);
    TakeRequests();
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Wire({"#50S1C3"}));
}
