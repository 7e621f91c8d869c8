// The speed input slot dialog against the 1384H in slot 3 of a simulated rack.
#include "rack/V1384H.h"
#include "AnalogSlotFixture.h"
#include "rack/V1333E.h"

#include "UiDriver.h"

namespace {

class V1384H : public CAnalogSlotFixture {
protected:
    explicit V1384H(const char* address = "50") : CAnalogSlotFixture(address)
    {
        const char ranges[] = "0179AB23";
        for (int ch = 0; ch < 8; ++ch) Module().Channel(ch).cRange = ranges[ch];
        OpenSlot("1384H", 3);
    }
    CSimSpeedInputSlot& Module() { return m_pRack->SlotAs<CSimSpeedInputSlot>(3); }
    void Open()
    {
        m_dlg.Create(IDD_RACK_SPEED);
        Tick(m_dlg, 14);
        TakeRequests();
    }
    int RangeRow(int ch) { return Row(m_dlg, rack_analog::kChannelIds[ch].nSpeedRange); }

    CV1384H m_dlg;
};

class V1384HAtAddress00 : public V1384H {
protected:
    V1384HAtAddress00() : V1384H("00") {}
};

} // namespace

TEST_F(V1384H, StartUpReadsFormatMaskRangesAndAlarmsThenPollsEachChannel)
{
    Module().cFormat = '2';
    m_dlg.Create(IDD_RACK_SPEED);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S3B"});
    EXPECT_EQ(Row(m_dlg, rack_speed::IDC_INTEGRATION), 0);
    EXPECT_FALSE(Enabled(m_dlg, rack_speed::IDC_FORMAT));
    std::vector<std::string> expected = {"$50S36"};
    for (int ch = 0; ch < 8; ++ch) expected.push_back("$50S3C" + std::to_string(ch) + "B");
    expected = Join(expected, {"$50S36", "$50S3C0AH", "$50S3C0RHU", "$50S3C0AL", "$50S3C0RLU"});
    expected = Join(expected, PollLoop(3, 0, 7));
    expected.push_back("#50S3C0");
    EXPECT_EQ(TickRequests(m_dlg, static_cast<int>(expected.size())), expected);
    EXPECT_EQ(Row(m_dlg, rack_speed::IDC_FORMAT), 1);
    EXPECT_EQ(m_dlg.m_nTypeReads, 8);
    EXPECT_EQ(m_dlg.GetDlgItemAs<CComboBox>(rack_alarm::IDC_CHANNEL)->GetCount(), 8);
}

TEST_F(V1384H, RangesAndUnitsFromTheRangeReads)
{
    Open();
    // "V" for rows 0 to 7, "mV" for the others: the mA rows read "mV" as the module's dialog has
    // it.
    struct Case {
        int row;
        const char* unit;
    } cases[] = {{0, "V"},   {1, "V"},   {7, "V"}, {9, "mV"},
                 {10, "mV"}, {11, "mV"}, {2, "V"}, {3, "V"}};
    for (int ch = 0; ch < 8; ++ch) {
        SCOPED_TRACE(ch);
        EXPECT_EQ(RangeRow(ch), cases[ch].row);
        EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[ch].nUnit), cases[ch].unit);
    }
}

TEST_F(V1384H, ARangeThatNeverReadsIsAskedAgainAndChannel1ShowsSevenCharacters)
{
    Module().refused.insert("C2B");
    Module().Channel(1).dValue = 1.2345;
    Module().Channel(0).dValue = -12.5;
    m_dlg.Create(IDD_RACK_SPEED);
    TakeRequests();
    EXPECT_EQ(TickRequests(m_dlg, 6),
              (std::vector<std::string>{"$50S36", "$50S3C0B", "$50S3C1B", "$50S3C2B", "$50S3C2B",
                                        "$50S3C2B"}));
    Module().refused.clear();
    Tick(m_dlg, 20);
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[0].nValue), "-012.500");
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[1].nValue), "+001.23");
}

TEST_F(V1384H, ChoosingARangeWritesItAndRereadsFromThatChannel)
{
    Open();
    ASSERT_TRUE(ui::ChooseRow(m_dlg, rack_analog::kChannelIds[5].nSpeedRange, 10));
    EXPECT_EQ(
        TickRequests(m_dlg, 9),
        (std::vector<std::string>{"$50S3C5A0AFF", "$50S3C5B", "$50S3C6B", "$50S3C7B", "$50S36",
                                  "$50S3C0AH", "$50S3C0RHU", "$50S3C0AL", "$50S3C0RLU"}));
    EXPECT_EQ(Module().Channel(5).cRange, 'A');
    EXPECT_EQ(Text(m_dlg, rack_analog::kChannelIds[5].nUnit), "mV");
}

TEST_F(V1384HAtAddress00, FormatWriteReportsAndLeavesTheDialogIdle)
{
    Open();
    EXPECT_TRUE(Enabled(m_dlg, rack_speed::IDC_FORMAT));
    EXPECT_TRUE(Enabled(m_dlg, rack_speed::IDC_UPDATE_SETTING));
    ui::ChooseRow(m_dlg, rack_speed::IDC_FORMAT, 1);
    ui::Click(m_dlg, rack_speed::IDC_UPDATE_SETTING);
    EXPECT_EQ(TickRequests(m_dlg, 4), (std::vector<std::string>{"$00S3AFF02", "", "", ""}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update Setting Succeeded!"});
    EXPECT_EQ(Module().cFormat, '2');
    EXPECT_TRUE(m_dlg.IsRunning());
}

// A format the list has no row for: the Update names the list and writes nothing.
TEST_F(V1384HAtAddress00, FormatUpdateWithoutARowNamesTheListAndWritesNothing)
{
    Module().cFormat = '1';
    Open();
    ASSERT_EQ(Row(m_dlg, rack_speed::IDC_FORMAT), -1);
    ui::Click(m_dlg, rack_speed::IDC_UPDATE_SETTING);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Data Format!"});
    for (const std::string& r : TickRequests(m_dlg, 4))
        EXPECT_EQ(r.find("AFF"), std::string::npos) << r;
    EXPECT_EQ(Module().cFormat, '1');
}

TEST_F(V1384H, MaskWriteClosesWhateverTheAnswer)
{
    for (bool refused : {false, true}) {
        SCOPED_TRACE(refused);
        m_boxes.m_boxes.clear();
        Module().SetEnableMask(0x0F);
        CV1384H dlg;
        dlg.Create(IDD_RACK_SPEED);
        Tick(dlg, 2);
        EXPECT_EQ(dlg.m_strEnableMask, "0F");
        ui::Click(dlg, rack_analog::kChannelIds[7].nEnable);
        EXPECT_EQ(dlg.m_strEnableMask, "8F");
        if (refused) m_pRack->Faults().nSilentAfter = 0;
        TakeRequests();
        ui::Click(dlg, rack_analog::IDC_UPDATE_ENABLE);
        EXPECT_EQ(TickRequests(dlg, 2), (std::vector<std::string>{"$50S358F", ""}));
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{refused ? "Update WDT Error!"
                                                                    : "Update WDT Succeeded!"});
        EXPECT_FALSE(dlg.IsRunning());
    }
}

TEST_F(V1384H, EachAnalogSlotRowOfTheRackDialogOpensItsDialogOnTheRacksLine)
{
    Link().Close_ComAscii(1); // the rack dialog opens it
    Module().Channel(0).dValue = 3.5;
    struct Case {
        int row;
        UINT nTemplate;
        int ticks;
        const char* value;
    } cases[] = {
        {0, IDD_RACK_AI, 7, "+000.00"},
        {2, IDD_RACK_AI, 7, "+000.00"},
        {3, IDD_RACK_SPEED, 16, "+003.500"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        std::string value;
        UINT opened = 0;
        ui::CModalDriver driver([&](CDialog& dlg) {
            opened = dlg.GetTemplateID();
            Tick(dlg, c.ticks);
            value = Text(dlg, rack_analog::kChannelIds[0].nValue);
            ui::Click(dlg, rack_analog::IDC_CANCEL);
        });
        CV1333E rack;
        rack.Create(IDD_RACK_MAIN);
        Tick(rack, 6);
        ASSERT_TRUE(ui::DoubleClickRow(rack, rack_main::IDC_LIST, c.row));
        EXPECT_EQ(opened, c.nTemplate);
        EXPECT_EQ(value, c.value);
        EXPECT_TRUE(m_link.IsAsciiOpen());
        rack.OnCancel();
    }
    EXPECT_TRUE(m_boxes.Texts().empty());
}
