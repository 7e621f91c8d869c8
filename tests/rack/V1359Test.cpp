// The analog output slot dialog against the 1359 in slot 1 of a simulated rack.
#include "rack/V1359.h"
#include "DeafLine.h"
#include "RackFixture.h"
#include "rack/RackIds.h"

#include "UiDriver.h"

#include <algorithm>

namespace {

class V1359 : public CRackFixture {
protected:
    explicit V1359(const char* address = "50") : CRackFixture("27,59,FF,FF,FF,FF,FF,FF", address)
    {
        // Ranges: 4 ~ 20 mA, 0 ~ 20 mA, 0 ~ 10 V, 4 ~ 20 mA; outputs 4, 0, 2.5, 12.
        struct {
            char range;
            BYTE slew;
            double output;
        } channels[] = {{'1', 0x08, 4.0}, {'0', 0x00, 0.0}, {'2', 0x2C, 2.5}, {'1', 0x04, 12.0}};
        for (int ch = 0; ch < 4; ++ch) {
            auto& c = Module().Channel(ch);
            c.cRange = channels[ch].range;
            c.nSlew = channels[ch].slew;
            c.dOutput = channels[ch].output;
        }
        OpenLine();
        m_frame.m_strSlotAoParams = {address, "", "1", "", "", "1359"};
    }
    CSimAnalogOutputSlot& Module() { return m_pRack->SlotAs<CSimAnalogOutputSlot>(1); }
    // Opens the dialog and runs the configuration reads and one read-back cycle.
    void OpenAndRead()
    {
        m_dlg.Create(IDD_RACK_AO);
        Tick(m_dlg, 8);
        TakeRequests();
    }
    std::string Text(int id) { return m_dlg.GetDlgItemText(id); }
    int Row(int id) { return m_dlg.GetDlgItemAs<CComboBox>(id)->GetCurSel(); }
    CSliderCtrl& Slider(int ch)
    {
        return *m_dlg.GetDlgItemAs<CSliderCtrl>(rack_ao::kChannelIds[ch].nSlider);
    }
    std::vector<std::string> Outputs()
    {
        std::vector<std::string> texts;
        for (const rack_ao::SChannelIds& ids : rack_ao::kChannelIds)
            texts.push_back(Text(ids.nOutput));
        return texts;
    }

    CV1359 m_dlg;
};

class V1359AtAddress00 : public V1359 {
protected:
    V1359AtAddress00() : V1359("00") {}
};

} // namespace

TEST_F(V1359, OpeningReadsEachChannelsConfigurationThenItsOutputs)
{
    m_dlg.Create(IDD_RACK_AO);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S1C0B"});
    Tick(m_dlg, 10);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{
                                  "$50S1C1B", "$50S1C2B", "$50S1C3B", "$50S1C06", "$50S1C16",
                                  "$50S1C26", "$50S1C36", "$50S1C06", "$50S1C16", "$50S1C26"}));
    struct Case {
        int row;
        const char* unit;
        int min, max;
        const char* output;
        int position;
    } cases[] = {{1, "mA", 4, 20, "04.000", 4},
                 {0, "mA", 0, 20, "00.000", 0},
                 {2, "V", 0, 10, "02.500", 2},
                 {1, "mA", 4, 20, "12.000", 12}};
    for (int ch = 0; ch < 4; ++ch) {
        SCOPED_TRACE(ch);
        const Case& c = cases[ch];
        const rack_ao::SChannelIds& ids = rack_ao::kChannelIds[ch];
        EXPECT_EQ(Row(ids.nRange), c.row);
        EXPECT_EQ(Text(ids.nOutputUnit), c.unit);
        EXPECT_EQ(Text(ids.nReadBackUnit), c.unit);
        EXPECT_EQ(Slider(ch).GetRangeMin(), c.min);
        EXPECT_EQ(Slider(ch).GetRangeMax(), c.max);
        EXPECT_EQ(Text(ids.nReadBack), c.output);
        EXPECT_EQ(Text(ids.nOutput), c.output);
        EXPECT_EQ(Slider(ch).GetPos(), c.position);
    }
    EXPECT_EQ(Text(rack_ao::IDC_FORMAT), "Engineering Units");
    EXPECT_TRUE(ui::ShowsWholeText(m_dlg, rack_ao::IDC_FORMAT)) << "the whole text";
    EXPECT_EQ(ui::Rows(m_dlg, rack_ao::IDC_SLEW)[1], "0.0125mV/sec");
    EXPECT_EQ(Row(rack_ao::IDC_SLEW), 2);                                  // "08"
    EXPECT_FALSE(m_dlg.GetDlgItem(rack_ao::IDC_TRIM4)->IsWindowEnabled()); // address 50
    // The read-backs keep coming; the output edits are filled once.
    Module().Channel(0).dOutput = 7.25;
    Tick(m_dlg, 4);
    EXPECT_EQ(Text(rack_ao::kChannelIds[0].nReadBack), "07.250");
    EXPECT_EQ(Text(rack_ao::kChannelIds[0].nOutput), "04.000");
}

TEST_F(V1359, ChangingTheChannelRereadsAllConfigurationsAndRefillsTheSlewList)
{
    OpenAndRead();
    ASSERT_TRUE(ui::ChooseRow(m_dlg, rack_ao::IDC_CHANNEL, 2));
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{"$50S1C0B", "$50S1C1B", "$50S1C2B", "$50S1C3B"}));
    EXPECT_EQ(ui::Rows(m_dlg, rack_ao::IDC_SLEW)[1], "0.0625V/sec");
    EXPECT_EQ(Row(rack_ao::IDC_SLEW), 11);
}

TEST_F(V1359, SendChecksItsChannelsRangeAndPadsTheValue)
{
    OpenAndRead();
    struct Case {
        int ch;
        const char* typed;
        const char* request; // nothing: refused with a message
    } cases[] = {
        {0, "5", "#50S1C005.000"},
        {0, "20", "#50S1C020.000"},
        {0, "12.3456", "#50S1C012.346"},
        {1, "0", "#50S1C100.000"},
        {1, "abc", "#50S1C100.000"},
        {0, "3", nullptr},
        {2, "10.5", nullptr},
        {2, "10", "#50S1C210.000"},
        {3, "1e9", nullptr},
        {3, "99999999999999999999999999999999999999999", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        m_boxes.m_boxes.clear();
        ui::Type(m_dlg, rack_ao::kChannelIds[c.ch].nOutput, c.typed);
        ASSERT_TRUE(ui::Click(m_dlg, rack_ao::kChannelIds[c.ch].nSend));
        Tick(m_dlg, 2);
        std::vector<std::string> requests = TakeRequests();
        if (!c.request) {
            EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Please Input Valid Value!"});
            for (const std::string& r : requests) EXPECT_NE(r[0], '#');
            continue;
        }
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0], c.request);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update Output Value Succeeded!"});
        EXPECT_EQ(Text(rack_ao::kChannelIds[c.ch].nOutput), std::string(c.request).substr(7));
    }
}

// A Send the module does not hear waits, its channel keeping the operator's value, and goes out
// again once the module answers a read-back; a Send it refuses is reported, and its channel shows
// the module's value again: the output edit and slider now, and the edit after a later Send of
// another channel.
TEST_F(V1359, AnUnheardSendWaitsForTheModuleAndARefusedOneShowsItsValueAgain)
{
    OpenAndRead();
    const rack_ao::SChannelIds& ch3 = rack_ao::kChannelIds[3];
    std::string module = Text(ch3.nReadBack);
    m_pRack->Faults().nSilentAfter = 0;
    ui::Type(m_dlg, ch3.nOutput, "6");
    ui::Click(m_dlg, ch3.nSend);
    Tick(m_dlg, 6);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(Text(ch3.nOutput), "6");
    EXPECT_EQ(Slider(3).GetPos(), 6);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"#50S1C306.000", "$50S1C06", "$50S1C16",
                                                        "$50S1C26", "$50S1C36", "$50S1C06"}));
    m_pRack->Faults().nSilentAfter = -1;
    Tick(m_dlg, 4);
    EXPECT_EQ(TakeRequests(),
              (std::vector<std::string>{"$50S1C16", "#50S1C306.000", "$50S1C06", "$50S1C16"}));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update Output Value Succeeded!"});
    EXPECT_EQ(Module().Channel(3).dOutput, 6.0);
    EXPECT_EQ(Text(ch3.nOutput), "06.000");

    m_boxes.m_boxes.clear();
    {
        CDeafLine line(*m_pRack, CDeafLine::EReply::Refused, "#50S1C3");
        ui::Type(m_dlg, ch3.nOutput, "9");
        ui::Click(m_dlg, ch3.nSend);
        Tick(m_dlg, 6);
    }
    EXPECT_EQ(std::ranges::count(TakeRequests(), "#50S1C309.000"), 1) << "refused: not again";
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update Output Value Error!"});
    EXPECT_EQ(Module().Channel(3).dOutput, 6.0);
    EXPECT_EQ(Text(ch3.nReadBack), "06.000");
    EXPECT_EQ(Text(ch3.nOutput), "06.000");
    EXPECT_EQ(Slider(3).GetPos(), 6);
    ui::Type(m_dlg, rack_ao::kChannelIds[0].nOutput, "5");
    ui::Click(m_dlg, rack_ao::kChannelIds[0].nSend);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts().back(), "Update Output Value Succeeded!");
    EXPECT_EQ(Text(ch3.nOutput), "06.000");
}

TEST_F(V1359, MovingASliderFillsEveryOutputEditAndSendsNothing)
{
    OpenAndRead();
    Slider(1).SetPos(7);
    m_dlg.OnHScroll(SB_THUMBTRACK, 7, &Slider(1));
    EXPECT_EQ(Outputs(), (std::vector<std::string>{"4.000", "7.000", "2.000", "12.000"}));
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"$50S1C16"});
}

TEST_F(V1359, UpdatesSendRangeAndSlewAndReportTheirOutcome)
{
    OpenAndRead();
    ui::ChooseRow(m_dlg, rack_ao::kChannelIds[2].nRange, 0);
    ui::Click(m_dlg, rack_ao::kChannelIds[2].nUpdate);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Update Channel2 Succeeded!"});
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S1C2A302C", "$50S1C0B"}));
    EXPECT_EQ(Module().Channel(2).cRange, '0');

    ui::ChooseRow(m_dlg, rack_ao::IDC_SLEW, 3);
    ui::Click(m_dlg, rack_ao::IDC_UPDATE);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S1C0A310C", "$50S1C06"}));
    EXPECT_EQ(m_boxes.Texts().back(), "Update Setting Succeeded!");
    EXPECT_EQ(Module().Channel(0).nSlew, 0x0C);

    ui::Click(m_dlg, rack_ao::kChannelIds[3].nInitial);
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"$50S1C34", "$50S1C0B"}));
    EXPECT_EQ(m_boxes.Texts().back(), "Startup Calibration Succeeded!");

    m_pRack->Faults().nGarbage = 4;
    ui::Click(m_dlg, rack_ao::kChannelIds[0].nUpdate);
    Tick(m_dlg, 2);
    EXPECT_EQ(m_boxes.Texts().back(), "Update Channel0 Error!");
}

TEST_F(V1359, UpdatesWithoutASelectedRowNameTheListAndSendNothing)
{
    Module().Channel(0).nSlew = 0x30; // no row of the slew list
    Module().Channel(1).cRange = '7'; // no row of the range list
    OpenAndRead();
    EXPECT_EQ(Row(rack_ao::IDC_SLEW), -1);
    EXPECT_EQ(Row(rack_ao::kChannelIds[1].nRange), -1);
    EXPECT_EQ(Text(rack_ao::kChannelIds[1].nOutputUnit), "mA");
    ui::Click(m_dlg, rack_ao::IDC_UPDATE);
    ui::Click(m_dlg, rack_ao::kChannelIds[1].nUpdate);
    Tick(m_dlg, 4);
    for (const std::string& r : TakeRequests()) EXPECT_EQ(r.find('A'), std::string::npos) << r;
    EXPECT_EQ(m_boxes.Texts(),
              (std::vector<std::string>{"Choose the Slew Rate!", "Choose the Output Range!"}));
}

// A chosen channel whose range the module never told: the general Update names the range it
// lacks and sends nothing.
TEST_F(V1359, AGeneralUpdateForAChannelWhoseRangeWasNeverReadNamesTheRange)
{
    m_pRack->Faults().nSilentAfter = 1; // channel 0's configuration only
    OpenAndRead();
    ASSERT_GE(Row(rack_ao::IDC_SLEW), 0);
    ui::ChooseRow(m_dlg, rack_ao::IDC_CHANNEL, 1);
    ui::Click(m_dlg, rack_ao::IDC_UPDATE);
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{"Choose the Output Range!"});
    Tick(m_dlg, 4);
    for (const std::string& r : TakeRequests()) EXPECT_EQ(r.find("A3"), std::string::npos) << r;
}

TEST_F(V1359, WithTheChecksumOnRepliesLoseTheirDigits)
{
    ChecksumOn();
    OpenAndRead();
    EXPECT_EQ(Text(rack_ao::kChannelIds[3].nReadBack), "12.000");
    Tick(m_dlg);
    EXPECT_EQ(TakeRequests(), Wire({"$50S1C16"}));
}

TEST_F(V1359AtAddress00, TrimButtonsFollowTheChosenChannelsRange)
{
    OpenAndRead();
    EXPECT_TRUE(m_dlg.GetDlgItem(rack_ao::IDC_TRIM4)->IsWindowEnabled());
    EXPECT_TRUE(m_dlg.GetDlgItem(rack_ao::IDC_TRIM20)->IsWindowEnabled());
    ui::ChooseRow(m_dlg, rack_ao::IDC_CHANNEL, 1); // 0 ~ 20 mA
    Tick(m_dlg, 4);
    EXPECT_FALSE(m_dlg.GetDlgItem(rack_ao::IDC_TRIM4)->IsWindowEnabled());
}
