// The analog slot page against the simulated rack: the three-request cycle, ranges, units and
// values per module, the alarm lamps, the view buttons, output sends with their range checks, and
// replies that answer nothing.
#include "RackFixture.h"
#include "Resource.h"

namespace {

class V1384HM : public CRackFixture {
protected:
    // The rack with that analog module in slot 1 (registers 8-15), its tab selected.
    CV1384HM& OpenSlot1(BYTE code, WORD start = 40009)
    {
        Populate({{1, code, start, static_cast<WORD>(start + 7)}, {3, kSimSlot1386, 40025, 40031}});
        Open();
        SelectTab(2);
        return *Analog();
    }
    // Ticks through one whole cycle (types, values, alarms) and reads the last reply.
    void Cycle(CV1384HM& page) { TickPage(&page, 4); }
    std::string Range(CV1384HM& page, int row)
    {
        return page.GetDlgItemText(kRackAiRangeIds[static_cast<size_t>(row)]);
    }
    std::string Value(CV1384HM& page, int row)
    {
        return page.GetDlgItemText(kRackAiValueIds[static_cast<size_t>(row)]);
    }
    std::string Unit(CV1384HM& page, int row)
    {
        return page.GetDlgItemText(kRackAiUnitIds[static_cast<size_t>(row)]);
    }
    void Send(CV1384HM& page, int channel, const std::string& text)
    {
        size_t c = static_cast<size_t>(channel);
        ASSERT_TRUE(ui::Type(page, kRackAoEntryIds[c], text));
        ASSERT_TRUE(ui::Click(page, kRackAoSendIds[c]));
    }
};

} // namespace

TEST_F(V1384HM, CyclesThroughTypesValuesAndAlarmsOfTheShownSlot)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    std::vector<std::string> wire = TickPage(&page, 4);
    EXPECT_EQ(wire, (std::vector<std::string>{RtuFrame("010327D80040"), RtuFrame("010300080008"),
                                              RtuFrame("010327760002"), RtuFrame("010327D80040")}));
    SelectTab(4); // slot 3
    EXPECT_EQ(TickPage(&page, 2),
              (std::vector<std::string>{RtuFrame("010300180008"), RtuFrame("0103277A0002")}));
}

TEST_F(V1384HM, ShowsRangesUnitsAndValuesOfAPerChannelModule)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    m_rack.Slot(1).nTypes = {0x01, 0x0A, 0x0A, 0x0A, 0x0B, 0x05, 0x00, 0x08};
    m_rack.Slot(1).nRaw = {4096, 4095, 65535, 2048, 1024, 4096, 2048, 0};
    Cycle(page);
    struct Row {
        const char* range;
        const char* unit;
        const char* value;
    } rows[] = {
        {"0~10V", "V", "10.000"},   {"4~20mA", "mA", "19.996"},     {"4~20mA", "mA", "259.996"},
        {"4~20mA", "mA", "12.000"}, {"0~20mA", "mA", "5.000"},      {"0~2.5V", "V", "2.500"},
        {"+/-10V", "V", "0.000"},   {"+/-500mV", "mV", "-500.000"},
    };
    for (int r = 0; r < 8; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(Range(page, r), rows[r].range);
        EXPECT_EQ(Unit(page, r), rows[r].unit);
        EXPECT_EQ(Value(page, r), rows[r].value);
        EXPECT_TRUE(page.GetDlgItem(kRackAiValueIds[static_cast<size_t>(r)])->IsWindowEnabled());
    }
    EXPECT_EQ(page.GetDlgItemText(kRackAiLabelIds[0]), "40009");
    EXPECT_EQ(page.GetDlgItemText(kRackAiLabelIds[7]), "40016");
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_AI_VIEW), "Addr");
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_AI_HEX), "Hex");
    EXPECT_FALSE(page.GetDlgItem(kRackAoSendIds[0])->IsWindowEnabled());
}

// With the 0-20 span of the current ranges, a "0~2.5V" reading of 1.25 V showed as 10.
TEST_F(V1384HM, TheZeroTo2Point5VoltRangeHasItsOwnSpan)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    m_rack.Slot(1).nTypes.fill(0x05);
    m_rack.Slot(1).nRaw.fill(2048);
    Cycle(page);
    EXPECT_EQ(Range(page, 0), "0~2.5V");
    EXPECT_EQ(Value(page, 0), "1.250");
}

TEST_F(V1384HM, OneRangeModulesFillTheirRowsAndDisableTheRest)
{
    CV1384HM& page = OpenSlot1(kSimSlot1386);
    m_rack.SetSlotType(1, 0x00);
    Cycle(page);
    for (int r = 0; r < 7; ++r) {
        EXPECT_EQ(Range(page, r), "+/-15mV") << r;
        EXPECT_EQ(Unit(page, r), "mV") << r;
    }
    EXPECT_EQ(Range(page, 7), "");
    EXPECT_EQ(Value(page, 7), "");
    EXPECT_FALSE(page.GetDlgItem(kRackAiRangeIds[7])->IsWindowEnabled());
    EXPECT_EQ(page.GetDlgItemText(kRackAiLabelIds[7]), "00000");
}

TEST_F(V1384HM, AnRtdModuleShowsFourDecimals)
{
    CV1384HM& page = OpenSlot1(kSimSlot1380);
    m_rack.SetSlotType(1, 0x20);
    m_rack.Slot(1).nRaw = {0, 65535, 32768, 0, 0, 0, 0, 0};
    Cycle(page);
    EXPECT_EQ(Value(page, 0), "-100.0000");
    EXPECT_EQ(Value(page, 1), "100.0000");
    EXPECT_EQ(Unit(page, 2), "'C");
    EXPECT_EQ(Value(page, 3), "");
    EXPECT_FALSE(page.GetDlgItem(kRackAiValueIds[3])->IsWindowEnabled());
}

TEST_F(V1384HM, AlarmLampsFollowTheSlotsFlags)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    m_rack.Slot(1).nLowAlarms = 0x81;
    m_rack.Slot(1).nHighAlarms = 0x42;
    Cycle(page);
    for (size_t r = 0; r < 8; ++r) {
        auto* high = page.GetDlgItemAs<CStatic>(kRackAiHighLampIds[r]);
        auto* low = page.GetDlgItemAs<CStatic>(kRackAiLowLampIds[r]);
        EXPECT_EQ(high->GetIcon(), r == 1 || r == 6 ? IDI_DOT_SET : IDI_DOT_CLEAR) << r;
        EXPECT_EQ(low->GetIcon(), r == 0 || r == 7 ? IDI_DOT_SET : IDI_DOT_CLEAR) << r;
    }
}

TEST_F(V1384HM, TheHeadButtonsSwitchViewsAtTheNextTicks)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    m_rack.Slot(1).nRaw[0] = 0x0ABC;
    Cycle(page);
    ASSERT_TRUE(ui::Click(page, IDC_RACK_AI_HEX));
    ASSERT_TRUE(ui::Click(page, IDC_RACK_AI_VIEW));
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_AI_HEX), "Hex");
    TickPage(&page); // labels now; values with the next values reply
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_AI_VIEW), "CH");
    EXPECT_EQ(page.GetDlgItemText(kRackAiLabelIds[7]), "CH7");
    TickPage(&page, 2);
    EXPECT_EQ(page.GetDlgItemText(IDC_RACK_AI_HEX), "Eng");
    EXPECT_EQ(Value(page, 0), "0ABC");
}

TEST_F(V1384HM, AnOutputModuleSendsCountsWithinItsRanges)
{
    CV1384HM& page = OpenSlot1(kSimSlot1359, 40009);
    m_rack.Slot(1).nTypes = {0x30, 0x31, 0x32, 0x31, 0, 0, 0, 0}; // 0~20mA, 4~20mA, 0~10V, 4~20mA
    Cycle(page);
    EXPECT_EQ(Range(page, 1), "4~20mA");
    EXPECT_EQ(page.GetDlgItemText(kRackAoUnitIds[2]), "V");
    EXPECT_EQ(page.GetDlgItemText(kRackAoEntryIds[0]), "0");
    ASSERT_TRUE(page.GetDlgItem(kRackAoSendIds[0])->IsWindowEnabled());
    EXPECT_EQ(page.GetDlgItemText(kRackAiLabelIds[3]), "40012");
    EXPECT_EQ(page.GetDlgItemText(kRackAiLabelIds[4]), "00000");

    struct Row {
        int channel;
        const char* text;
        const char* body; // empty: refused
    } rows[] = {
        {1, "20",
         "01060009"
         "0FFF"},
        {1, "12",
         "01060009"
         "07FF"},
        {1, "4",
         "01060009"
         "0000"},
        {1, "3.999", ""},
        {1, "20.001", ""},
        {1, "abc", ""},
        {2, "10",
         "0106000A"
         "0FFF"},
        {2, "abc",
         "0106000A"
         "0000"},
        // Only the leading number counts: no exponent, and no "nan" that would pass every range
        // check.
        {2, "1e1",
         "0106000A"
         "0198"},
        {0, "nan",
         "01060008"
         "0000"},
        {1, "nan", ""},
        {0, "10",
         "01060008"
         "07FF"},
        {0, "-1", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        m_boxes.m_boxes.clear();
        Send(page, row.channel, row.text);
        std::vector<std::string> wire = TickPage(&page);
        if (*row.body) {
            EXPECT_TRUE(m_boxes.m_boxes.empty());
            EXPECT_EQ(wire, std::vector<std::string>{RtuFrame(row.body)});
            EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010327D80040")});
        } else {
            ASSERT_EQ(m_boxes.m_boxes.size(), 1u);
            EXPECT_EQ(m_boxes.m_boxes[0].text, "Please Input Valid Value!");
            EXPECT_EQ(m_boxes.m_boxes[0].caption, "Setting");
            EXPECT_EQ(m_boxes.m_boxes[0].nType, static_cast<UINT>(MB_ICONEXCLAMATION));
            EXPECT_NE(wire[0].substr(3, 2), "06");
        }
    }
    EXPECT_EQ(m_rack.Slot(1).nRaw[0], 0x07FF);
}

TEST_F(V1384HM, AnUnansweredRequestGoesOutAgainAndChangesNothing)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    m_rack.Slot(1).nTypes.fill(0x01);
    m_rack.Slot(1).nRaw.fill(2048);
    Cycle(page);
    ASSERT_EQ(Value(page, 0), "5.000");
    m_rack.Faults().nSilentAfter = 0;
    EXPECT_EQ(TickPage(&page, 3),
              (std::vector<std::string>{RtuFrame("010300080008"), RtuFrame("010300080008"),
                                        RtuFrame("010300080008")}));
    EXPECT_EQ(Value(page, 0), "5.000");
    EXPECT_EQ(Range(page, 0), "0~10V");
}

// An exception reply is no reply to read: nothing is shown from it, and the cycle goes on.
TEST_F(V1384HM, ARefusedReadShowsNothingAndTheCycleGoesOn)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    m_rack.Slot(1).nTypes.fill(0x01);
    m_rack.Slot(1).nRaw.fill(2048);
    Cycle(page);
    m_rack.SetSlot(1, kSimSlot1327, 0, 0); // the rack now refuses the values and alarms reads
    EXPECT_EQ(TickPage(&page, 2),
              (std::vector<std::string>{RtuFrame("010300080008"), RtuFrame("010327760002")}));
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010327D80040")});
    EXPECT_EQ(Value(page, 0), "5.000");
}

// A write the module did not hear goes out again once it answers a read, and no sooner; a
// refusal ends it, and its entry shows the module's output again.
TEST_F(V1384HM, AnUnheardWriteWaitsForTheModuleAndARefusalEndsIt)
{
    CV1384HM& page = OpenSlot1(kSimSlot1359);
    m_rack.Slot(1).nTypes = {0x32, 0x32, 0x32, 0x32, 0, 0, 0, 0}; // 0~10V
    Cycle(page);
    const std::string write = RtuFrame("01060009"
                                       "07FF");
    const std::string types = RtuFrame("010327D80040");
    m_rack.Faults().nSilentAfter = 0;
    Send(page, 1, "5");
    EXPECT_EQ(TickPage(&page, 3), (std::vector<std::string>{write, types, types}));
    m_rack.Faults() = {};
    EXPECT_EQ(TickPage(&page, 4),
              (std::vector<std::string>{types, write, types, RtuFrame("010300080008")}));
    EXPECT_EQ(m_rack.Slot(1).nRaw[1], 0x07FF);
    TickPage(&page, 2);
    EXPECT_EQ(page.GetDlgItemText(kRackAoEntryIds[1]), "5");

    Send(page, 1, "6");
    m_rack.SetSlot(1, kSimSlot1384H, 40009, 40016); // the rack now refuses the write
    EXPECT_EQ(TickPage(&page, 3), (std::vector<std::string>{RtuFrame("010600090998"), types,
                                                            RtuFrame("010300080008")}));
    EXPECT_EQ(page.GetDlgItemText(kRackAoEntryIds[1]), "4.998"); // 0x07FF on 0~10V
}

// A tab change before the write goes out does not turn it to the module of the new tab.
TEST_F(V1384HM, AWriteKeepsTheSlotItWasPressedOn)
{
    Populate({{0, kSimSlot1359, 40001, 40004}, {1, kSimSlot1359, 40009, 40012}});
    m_rack.Slot(1).nTypes = {0x30, 0x30, 0x30, 0x30, 0, 0, 0, 0}; // 0~20mA
    Open();
    SelectTab(2);
    CV1384HM& page = *Analog();
    Cycle(page);
    Send(page, 0, "5");
    SelectTab(1); // slot 0
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("01060008"
                                                                 "03FF")});
    EXPECT_EQ(m_rack.Slot(1).nRaw[0], 0x03FF);
    EXPECT_EQ(m_rack.Slot(0).nRaw[0], 0);
}

// In channel view the enabled states stand still, so Send stays enabled on an input slot: it
// writes nothing there.
TEST_F(V1384HM, SendWritesOnlyToAModuleWithOutputs)
{
    CV1384HM& page = OpenSlot1(kSimSlot1359);
    m_rack.Slot(1).nTypes = {0x30, 0x30, 0x30, 0x30, 0, 0, 0, 0}; // 0~20mA
    Cycle(page);
    ASSERT_TRUE(ui::Click(page, IDC_RACK_AI_VIEW));
    TickPage(&page);
    SelectTab(4); // slot 3, the 1386
    TickPage(&page);
    ASSERT_TRUE(page.GetDlgItem(kRackAoSendIds[0])->IsWindowEnabled());
    Send(page, 0, "5");
    for (const std::string& frame : TickPage(&page, 3)) EXPECT_NE(frame.substr(3, 2), "06");
    EXPECT_TRUE(m_boxes.m_boxes.empty());
}

TEST_F(V1384HM, AnotherTabStopsThePageWhereItStood)
{
    CV1384HM& page = OpenSlot1(kSimSlot1384H);
    TickPage(&page, 2); // types read and parsed, values sent
    SelectTab(0);
    EXPECT_TRUE(TickPage(&page, 3).empty());
    SelectTab(2);
    EXPECT_EQ(TickPage(&page), std::vector<std::string>{RtuFrame("010327760002")});
}
