// The bus search against the in-process simulator on the virtual clock: the requests it sends, in
// order, with their line settings and times, and the rows it lists.
#include "SearchWindow.h"

#include "AsciiCommand.h"
#include "Clock.h"
#include "PtyPair.h"
#include "SimCodec.h"
#include "SimLink.h"
#include "SpoiltLine.h"
#include "Strings.h"

#include <QtCore/qnamespace.h>

#include <functional>

using namespace search_test;

namespace {

std::string Name(int address)
{
    return Format("$%02XM", address);
}
std::string Config(int address)
{
    return Format("$%02X2", address);
}
std::string ChannelType(int address, int channel)
{
    return Format("$%02X8C%d", address, channel);
}

std::string Probe(int address, WORD reg)
{
    std::string frame = {static_cast<char>(address),    0x03, static_cast<char>(reg >> 8),
                         static_cast<char>(reg & 0xFF), 0x00, 0x02};
    return SimHexBytes(SimAppendCrc(frame));
}
std::string FirstProbe(int address)
{
    return Probe(address, 0x2710);
}
std::string SecondProbe(int address)
{
    return Probe(address, 0x00D2);
}

using Requests = std::vector<std::string>;

Requests Concat(std::initializer_list<Requests> parts)
{
    Requests all;
    for (const Requests& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The requests of a Modbus step that finds nothing at one rate, and the name request after it.
Requests NothingAt(int address, int next)
{
    return {FirstProbe(address), SecondProbe(address), Name(next)};
}

// A module of any model with hooks on its ASCII commands.
class CTestModule : public CSimModule {
public:
    CTestModule(std::string model, BYTE type, int channels = 0, BYTE channelType = 0)
        : CSimModule(std::move(model), type, channels, channelType)
    {
    }
    // Returns the reply ("" stays silent), or nothing to answer as every module does.
    std::function<std::optional<std::string>(char, std::string_view)> m_onAscii;

protected:
    std::optional<std::string> OnAscii(char lead, std::string_view body, DWORD) override
    {
        return m_onAscii ? m_onAscii(lead, body) : std::nullopt;
    }
    bool AcceptsType(BYTE) const override { return true; }
    bool AcceptsChannelType(BYTE) const override { return true; }
};

CTestModule& AddTestModule(CSimBus& bus, std::unique_ptr<CTestModule> module, int address,
                           DWORD baud)
{
    module->SetAddress(static_cast<BYTE>(address));
    module->SetBaud(baud);
    return static_cast<CTestModule&>(bus.Add(std::move(module)));
}

// The search window on COM1 with the simulated bus there and the virtual clock.
class ScanTest : public ::testing::Test {
protected:
    // Settings: COM1, the baud flags given (1200 first), TimeOut 50 ms, checksum as given.
    void Open(const std::string& bauds, char checksum = '0')
    {
        window = std::make_unique<CSearchWindow>(SettingsText('0', bauds, '0', checksum));
    }
    CQueryDlg& Dlg() { return window->Dlg(); }
    Requests Sent() const { return link.Requests(); }
    Requests SentFrom(size_t first) const
    {
        Requests all = link.Requests();
        return Requests(all.begin() + static_cast<long>(std::min(first, all.size())), all.end());
    }
    // The rate the request at that position travelled at.
    DWORD BaudOf(size_t index) const { return link.Traffic().at(index).line.dwBaud; }
    bool Tick() { return Dlg().FireTimer(kScanTimer); }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(Tick());
    }

    CScopedVirtualClock clock;
    CSimBus bus;
    CScopedSimLink link{bus};
    std::unique_ptr<CSearchWindow> window;
};

} // namespace

TEST_F(ScanTest, AnEmptyBusGetsANameRequestAndTwoProbesPerAddressAtTheirPace)
{
    Open("00010000");
    DWORD start = clock.TickCount();
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    EXPECT_EQ(Sent(), Requests{"$00M"});
    EXPECT_EQ(clock.TickCount() - start, 50u) << "the first request waits the TimeOut setting";
    EXPECT_FALSE(window->Enabled(IDOK));
    EXPECT_FALSE(window->Enabled(IDCANCEL));
    EXPECT_FALSE(window->Enabled(IDC_SAVE));
    EXPECT_TRUE(window->Enabled(IDC_STOP));
    EXPECT_TRUE(Dlg().IsTimerActive(kScanTimer));

    DWORD tick = clock.TickCount();
    ASSERT_TRUE(Tick());
    EXPECT_EQ(Sent(), Concat({{"$00M"}, NothingAt(0, 1)}));
    // Close the ASCII line, 100 ms, open the RTU line (100 ms), probe (50), 100 ms, probe (50),
    // close, 150 ms, reopen the ASCII line, ask the name (200): nothing more.
    const auto& traffic = link.Traffic();
    EXPECT_EQ(traffic[1].dwTime - tick, 200u);
    EXPECT_EQ(traffic[2].dwTime - tick, 350u);
    EXPECT_EQ(traffic[3].dwTime - tick, 550u);
    EXPECT_EQ(clock.TickCount() - tick, 750u);
    for (const SSimExchange& exchange : traffic) {
        EXPECT_EQ(exchange.line.dwBaud, 9600u);
        EXPECT_EQ(exchange.line.nParity, 0);
    }
    EXPECT_EQ(traffic[1].eProtocol, ESimProtocol::Rtu);
    EXPECT_EQ(traffic[3].eProtocol, ESimProtocol::Ascii);
    EXPECT_EQ(Dlg().GetDlgItemText(IDC_SCAN_ADDRESS), "01");
    EXPECT_EQ(Dlg().GetDlgItemText(IDC_SCAN_BAUD), "9600");
    EXPECT_EQ(Dlg().GetDlgItemAs<CProgressCtrl>(IDC_PROGRESS)->GetPos(), 1);
}

TEST_F(ScanTest, AWholeScanOfAnEmptyBusEndsAfterAddress255AndStaysFast)
{
    Open("00010000");
    CStopwatch watch;
    EXPECT_EQ(window->Search(), 257) << "256 Modbus steps, then the stop tick";
    EXPECT_LT(watch.ElapsedMs(), 30000);
    Requests sent = Sent();
    ASSERT_EQ(sent.size(), 1u + 256 * 3 - 1);
    EXPECT_EQ(sent[sent.size() - 3], Name(255));
    EXPECT_EQ(sent.back(), SecondProbe(255));
    EXPECT_TRUE(window->Enabled(IDOK));
    EXPECT_TRUE(window->Enabled(IDCANCEL));
    EXPECT_FALSE(window->Enabled(IDC_STOP));
    EXPECT_FALSE(link.IsAsciiOpen());
    EXPECT_FALSE(link.IsRtuOpen());
    EXPECT_EQ(Dlg().GetDlgItemAs<CProgressCtrl>(IDC_PROGRESS)->GetPos(), 0);
    EXPECT_EQ(window->List().GetItemCount(), 0);
}

TEST_F(ScanTest, ModulesFoundInAsciiAndModbusBecomeRows)
{
    bus.Load("6384 1 9600 ascii type=08 format=00\n"
             "6384 2 9600 rtu\n"
             "6387 3 9600 rtu probe=00D2\n");
    Open("00010000");
    window->Search();
    Requests expected = Concat({{"$00M"},
                                NothingAt(0, 1),
                                {Config(1), Name(2)},
                                {FirstProbe(2), Name(3)},
                                {FirstProbe(3), SecondProbe(3), Name(4)},
                                NothingAt(4, 5)});
    Requests sent = Sent();
    ASSERT_GE(sent.size(), expected.size());
    sent.resize(expected.size());
    EXPECT_EQ(sent, expected);
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (ResultRow{"4384", "1(01)ASCII", "9600", "Yes", "Disable", "-10 to +10V", "",
                                  "01", "06", "0", "08", "0", "ASC"}));
    EXPECT_EQ(rows[1], (ResultRow{"4384", "2(02)RTU", "9600", "Yes", "Disable", "", "", "02", "06",
                                  "0", "", "", "RTU"}));
    EXPECT_EQ(rows[2][kColModule], "4387");
    EXPECT_EQ(rows[2][kColAddressText], "3(03)RTU");
}

TEST_F(ScanTest, WithTheChecksumOnTheLinkAddsTheDigitsAndTheRowKeepsTheNameClean)
{
    bus.Load("6384 1 9600 ascii type=09 format=00 checksum=on\n");
    Open("00010000", '1');
    window->Search();
    Requests sent = Sent();
    ASSERT_GE(sent.size(), 6u);
    EXPECT_EQ(sent[0], "$00M" + AppendChecksum("$00M"));
    EXPECT_EQ(sent[3], "$01M" + AppendChecksum("$01M"));
    EXPECT_EQ(sent[4], "$012" + AppendChecksum("$012"));
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kColModule], "4384");
    EXPECT_EQ(rows[0][kColChecksum], "Enable");
    EXPECT_EQ(rows[0][kColCheck], "4");
    EXPECT_EQ(rows[0][kColDescription], "-5 to +5V");
}

TEST_F(ScanTest, ASixChannelModelHasItsSixChannelTypesReadBeforeItsConfiguration)
{
    auto module = std::make_unique<CTestModule>("6382", 0xFF, 6, 0x20);
    CTestModule& m = AddTestModule(bus, std::move(module), 1, 9600);
    const char* types[] = {"20", "21", "22", "23", "2B", "2C"};
    for (int ch = 0; ch < 6; ++ch)
        m.SetChannelType(ch, static_cast<BYTE>(std::stoi(types[ch], nullptr, 16)));
    window = std::make_unique<CSearchWindow>(SettingsText('0', "00010000", '0', '0'));
    window->frame->m_strChannelTypes6382[6] = "kept";
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(9);
    Requests expected = Concat({{"$00M"}, NothingAt(0, 1)});
    for (int ch = 0; ch < 6; ++ch) expected.push_back(ChannelType(1, ch));
    expected.push_back(Config(1));
    expected.push_back(Name(2));
    EXPECT_EQ(Sent(), expected);
    for (int ch = 0; ch < 6; ++ch) EXPECT_EQ(window->frame->m_strChannelTypes6382[ch], types[ch]);
    EXPECT_EQ(window->frame->m_strChannelTypes6382[6], "kept");
    EXPECT_TRUE(window->frame->m_strChannelTypes6384P[0].empty());
    ASSERT_EQ(window->List().GetItemCount(), 1);
    EXPECT_EQ(window->Row(0)[kColModule], "4382");
}

TEST_F(ScanTest, AnEightChannelPerChannelModelFillsItsOwnList)
{
    bus.Load("9384P 1 9600 ascii types=08,08,09,09,0A,0B,07,0D\n");
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(11);
    Requests sent = SentFrom(4);
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(sent[0], ChannelType(1, 0));
    EXPECT_EQ(sent[7], ChannelType(1, 7));
    EXPECT_EQ(sent[8], Config(1));
    const ChannelTypeList& types = window->frame->m_strChannelTypes6384P;
    EXPECT_EQ(std::vector<std::string>(types.begin(), types.begin() + 8),
              (std::vector<std::string>{"08", "08", "09", "09", "0A", "0B", "07", "0D"}));
    EXPECT_EQ(window->Row(0)[kColModule], "4384A");
}

TEST_F(ScanTest, ARefusalCountsAsNoAnswerAndTheProbesFollowAtTheSameRate)
{
    // A module without checksum refuses a request that carries checksum digits.
    bus.Load("6384 5 9600 ascii\n");
    Open("00010000", '1');
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(5);
    std::string ask = "$05M" + AppendChecksum("$05M");
    ASSERT_EQ(link.Traffic().back().strRequest, ask);
    EXPECT_EQ(link.Traffic().back().strReply, "?05");
    size_t asked = Sent().size();
    ASSERT_TRUE(Tick());
    EXPECT_EQ(SentFrom(asked - 1)[1], FirstProbe(5));
    EXPECT_EQ(SentFrom(asked - 1)[2], SecondProbe(5));
    EXPECT_EQ(BaudOf(asked), 9600u);
    EXPECT_EQ(window->List().GetItemCount(), 0);
}

TEST_F(ScanTest, AModuleAt255IsListedAndTheNextTickStopsWithoutARequest)
{
    bus.Load("6384 255 9600 ascii type=08\n");
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    while (Dlg().m_nScanAddress < 255) ASSERT_TRUE(Tick());
    ASSERT_TRUE(Tick()); // the name reply: ask for the configuration
    EXPECT_EQ(Sent().back(), Config(255));
    ASSERT_TRUE(Tick()); // the configuration reply: the row, and Stop requested
    EXPECT_EQ(Sent().back(), Config(255));
    ASSERT_EQ(window->List().GetItemCount(), 1);
    EXPECT_EQ(window->Row(0)[kColAddressText], "255(FF)ASCII");
    EXPECT_TRUE(Dlg().m_bStopRequested);
    EXPECT_EQ(Dlg().GetDlgItemAs<CProgressCtrl>(IDC_PROGRESS)->GetPos(), 0);
    size_t count = Sent().size();
    ASSERT_TRUE(Tick());
    EXPECT_EQ(Sent().size(), count);
    EXPECT_FALSE(Dlg().IsTimerActive(kScanTimer));
    EXPECT_FALSE(link.IsAsciiOpen());
    EXPECT_TRUE(window->Enabled(IDOK));
}

TEST_F(ScanTest, SeveralRatesAreTriedInAscendingOrderAndAFindKeepsItsRateForTheNextAddress)
{
    bus.Load("6384 1 19200 ascii type=08\n");
    Open("00011000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(8);
    // After the find the next address is asked at that find's rate, probed at the first rate and
    // asked in ASCII there, then tried from the second rate on.
    struct Expected {
        std::string request;
        DWORD baud;
    } expected[] = {
        {"$00M", 9600},        {FirstProbe(0), 9600},  {SecondProbe(0), 9600},
        {"$00M", 19200},       {FirstProbe(0), 19200}, {SecondProbe(0), 19200},
        {"$01M", 9600},        {FirstProbe(1), 9600},  {SecondProbe(1), 9600},
        {"$01M", 19200},       {Config(1), 19200},     {"$02M", 19200},
        {FirstProbe(2), 9600}, {SecondProbe(2), 9600}, {"$02M", 9600},
        {"$02M", 19200},       {FirstProbe(2), 19200}, {SecondProbe(2), 19200},
        {"$03M", 9600},
    };
    Requests sent = Sent();
    ASSERT_EQ(sent.size(), std::size(expected));
    for (size_t i = 0; i < sent.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sent[i], expected[i].request);
        EXPECT_EQ(BaudOf(i), expected[i].baud);
    }
    ASSERT_EQ(window->List().GetItemCount(), 1);
    EXPECT_EQ(window->Row(0)[kColBaudrate], "19200");
    EXPECT_EQ(window->Row(0)[kColBrate], "07");
}

// A module at the first rate right after an ASCII module at a later one: its ASCII trial at the
// first rate still comes, and the row carries that rate.
TEST_F(ScanTest, TheAddressAfterAFindAtALaterRateIsAskedInAsciiAtTheFirstRate)
{
    bus.Load("6384 1 19200 ascii type=08\n"
             "6384 2 9600 ascii type=08\n");
    Open("00011000");
    window->Search();
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][kColAddressText], "1(01)ASCII");
    EXPECT_EQ(rows[0][kColBaudrate], "19200");
    EXPECT_EQ(rows[1][kColAddressText], "2(02)ASCII");
    EXPECT_EQ(rows[1][kColBaudrate], "9600");
    EXPECT_EQ(rows[1][kColBrate], "06");
}

TEST_F(ScanTest, StopDuringTheChannelTypesThenSearchStartsAgainAtTheFirstRateAndChannel0)
{
    auto module = std::make_unique<CTestModule>("6382", 0xFF, 6, 0x20);
    AddTestModule(bus, std::move(module), 0, 19200);
    Open("00011000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(3);
    EXPECT_EQ(Sent().back(), ChannelType(0, 1));
    ASSERT_TRUE(ui::Click(Dlg(), IDC_STOP));
    size_t count = Sent().size();
    ASSERT_TRUE(Tick());
    EXPECT_EQ(Sent().size(), count) << "the stop tick sends nothing";
    EXPECT_FALSE(Dlg().IsTimerActive(kScanTimer));
    EXPECT_FALSE(link.IsAsciiOpen() || link.IsRtuOpen());

    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    EXPECT_EQ(Sent().back(), "$00M");
    EXPECT_EQ(BaudOf(Sent().size() - 1), 9600u);
    Ticks(2);
    EXPECT_EQ(Sent().back(), ChannelType(0, 0));
}

TEST_F(ScanTest, NoRateTickedOrNoPortMeansNoSearch)
{
    Open("00000000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    ASSERT_EQ(window->boxes.m_boxes.size(), 1u);
    EXPECT_EQ(window->boxes.m_boxes[0].text, "请选波特率!");
    EXPECT_EQ(window->boxes.m_boxes[0].caption, "提示");
    EXPECT_TRUE(window->Enabled(IDOK));
    EXPECT_FALSE(window->Enabled(IDC_STOP));
    EXPECT_FALSE(Dlg().IsTimerActive(kScanTimer));

    ASSERT_TRUE(ui::Click(Dlg(), IDC_BAUD_9600));
    ASSERT_TRUE(ui::ChooseRow(Dlg(), IDC_COM_PORT, 1)); // COM2 has no device
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    ASSERT_EQ(window->boxes.m_boxes.size(), 2u);
    EXPECT_EQ(window->boxes.m_boxes[1].text, "Open Com Error!");
    EXPECT_TRUE(window->Enabled(IDCANCEL));
    EXPECT_FALSE(window->Enabled(IDC_STOP));

    ASSERT_TRUE(ui::Type(Dlg(), IDC_COM_PORT, "COM1x"));
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    ASSERT_EQ(window->boxes.m_boxes.size(), 3u);
    EXPECT_EQ(window->boxes.m_boxes[2].text, "Open Com Error!");
    EXPECT_EQ(window->frame->m_nComPort, 2) << "a text that names no port leaves the port alone";
    EXPECT_TRUE(Sent().empty());
}

TEST_F(ScanTest, WhileScanningEscapeAndTheCloseBoxDoNothing)
{
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    EXPECT_EQ(g_bDialogClosed, 0);
    ui::PressKey(Dlg(), Qt::Key_Escape);
    ui::CloseBox(Dlg());
    EXPECT_TRUE(Dlg().IsRunning());
    EXPECT_TRUE(Dlg().IsTimerActive(kScanTimer));
    ASSERT_TRUE(ui::Click(Dlg(), IDC_STOP));
    ASSERT_TRUE(Tick());
    ASSERT_TRUE(ui::Click(Dlg(), IDCANCEL));
    EXPECT_FALSE(Dlg().IsRunning());
    EXPECT_EQ(g_bDialogClosed, 1);
}

// ---- mended faults

TEST_F(ScanTest, AnRtuLineThatWillNotOpenEndsTheSearchWithTheTimerStoppedBeforeTheBox)
{
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    link.Detach(1); // the adapter is unplugged
    bool timerDuringBox = true;
    window->boxes.m_onBox = [&](const MessageBoxRequest&) {
        timerDuringBox = Dlg().IsTimerActive(kScanTimer);
        return IDOK;
    };
    ASSERT_TRUE(Tick());
    ASSERT_EQ(window->boxes.Texts(), std::vector<std::string>{"Open Com Error!"});
    EXPECT_FALSE(timerDuringBox);
    EXPECT_FALSE(Dlg().IsTimerActive(kScanTimer));
    EXPECT_FALSE(Dlg().m_bAsciiOpen);
    EXPECT_FALSE(Dlg().m_bRtuOpen);
    EXPECT_TRUE(window->Enabled(IDOK));
    EXPECT_TRUE(window->Enabled(IDCANCEL));
    EXPECT_FALSE(window->Enabled(IDC_STOP));
    EXPECT_EQ(Sent(), Requests{"$00M"});
}

TEST_F(ScanTest, AnUnansweredConfigurationRequestDoesNotMixTwoModulesIntoOneRow)
{
    auto silent = std::make_unique<CTestModule>("6384", 0x08);
    silent->m_onAscii = [](char lead, std::string_view body) -> std::optional<std::string> {
        if (lead == '$' && body == "2") return std::string(); // never answers
        return std::nullopt;
    };
    AddTestModule(bus, std::move(silent), 1, 9600);
    bus.Load("6384 2 9600 ascii type=09\n");
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(5);
    Requests expected =
        Concat({{"$00M"}, NothingAt(0, 1), {Config(1)}, NothingAt(1, 2), {Config(2), Name(3)}});
    EXPECT_EQ(Sent(), expected);
    ASSERT_EQ(window->List().GetItemCount(), 1);
    ResultRow row = window->Row(0);
    EXPECT_EQ(row[kColAddressText], "2(02)ASCII");
    EXPECT_EQ(row[kColScript], "09");
}

TEST_F(ScanTest, AFindAtAHighRateHandsOverTheRateTheLineIsAt)
{
    bus.Load("6384 1 57600 ascii type=08\n"
             "6384 2 57600 ascii type=08\n");
    Open("00010010");
    window->Search();
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 2u);
    for (const ResultRow& row : rows) {
        EXPECT_EQ(row[kColBaudrate], "57600") << row[kColAddressText];
        EXPECT_EQ(row[kColBrate], "09") << row[kColAddressText];
    }
}

TEST_F(ScanTest, TheProbesRunAtTheRateTheyReport)
{
    bus.Load("6384 1 19200 ascii type=08\n"
             "6384 2 9600 rtu\n");
    Open("00011000");
    window->Search();
    for (const SSimExchange& exchange : link.Traffic()) {
        if (exchange.eProtocol == ESimProtocol::Rtu && exchange.strRequest[0] == 2) {
            EXPECT_EQ(exchange.line.dwBaud, 9600u);
            break;
        }
    }
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1][kColAddressText], "2(02)RTU");
    EXPECT_EQ(rows[1][kColBaudrate], "9600");
}

TEST_F(ScanTest, AStopClickedBeforeAnySearchDoesNotEndTheNextOne)
{
    window = std::make_unique<CSearchWindow>(std::nullopt); // Stop stays enabled
    ASSERT_TRUE(ui::Click(Dlg(), IDC_STOP));
    ASSERT_TRUE(ui::Click(Dlg(), IDC_BAUD_9600));
    DWORD start = clock.TickCount();
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    // Nothing chosen: COM1, 50 ms, no parity, checksum off.
    EXPECT_EQ(Sent(), Requests{"$00M"});
    EXPECT_EQ(clock.TickCount() - start, 50u);
    EXPECT_EQ(link.Traffic()[0].line.nParity, 0);
    EXPECT_EQ(window->frame->m_nComPort, 1);
    ASSERT_TRUE(Tick());
    EXPECT_EQ(Sent(), Concat({{"$00M"}, NothingAt(0, 1)}));
    EXPECT_TRUE(Dlg().IsTimerActive(kScanTimer));
}

TEST_F(ScanTest, OnlyAWellFormedProbeReplyCountsAsAModule)
{
    // An exception to the first probe, line noise to both.
    bus.Load("6384 1 9600 rtu probe=00D2\n"
             "6384 2 9600 rtu garbage=9\n");
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(4);
    Requests expected =
        Concat({{"$00M"}, NothingAt(0, 1), NothingAt(1, 2), NothingAt(2, 3), NothingAt(3, 4)});
    EXPECT_EQ(Sent(), expected);
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][kColModule], "4384");
    EXPECT_EQ(rows[0][kColAddressText], "1(01)RTU");
}

TEST_F(ScanTest, AProbeAnswerFollowedByAStrayByteStillFindsTheModule)
{
    // Both modules' replies end in one byte more, as some adapters add when they turn the line
    // round; the second answers the first probe with an exception.
    bus.Load("6384 1 9600 rtu long=10\n"
             "6384 2 9600 rtu probe=00D2 long=10\n");
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(3);
    Requests expected = Concat({{"$00M"},
                                NothingAt(0, 1),
                                {FirstProbe(1), Name(2)},
                                {FirstProbe(2), SecondProbe(2), Name(3)}});
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(link.Traffic()[4].strReply.size(), 10u);
    std::vector<ResultRow> rows = window->Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][kColAddressText], "1(01)RTU");
    EXPECT_EQ(rows[1][kColAddressText], "2(02)RTU");
    EXPECT_EQ(rows[1][kColModule], "4384");
}

TEST_F(ScanTest, AnEmptyAsciiReplyIsNoAnswer)
{
    // A lone carriage return to the name request: the probes follow at the same rate, and no row
    // is made up from it.
    bus.Load("6384 5 9600 ascii blank=on\n");
    Open("00010000");
    ASSERT_TRUE(ui::Click(Dlg(), IDOK));
    Ticks(5);
    ASSERT_EQ(Sent().back(), Name(5));
    EXPECT_TRUE(link.Traffic().back().bAnswered);
    EXPECT_EQ(link.Traffic().back().strReply, "");
    size_t asked = Sent().size();
    ASSERT_TRUE(Tick());
    EXPECT_EQ(SentFrom(asked), (Requests{FirstProbe(5), SecondProbe(5), Name(6)}));
    EXPECT_EQ(BaudOf(asked), 9600u);
    EXPECT_EQ(window->List().GetItemCount(), 0);
}

// The bus the run script serves: a whole search at 9600 and 19200 lists every module on it once,
// under its listed name.
TEST_F(ScanTest, TheRunScriptsBusListsEveryModuleUnderItsListedName)
{
    bus.LoadFile(OSTRA_SIM_DIR "/default_bus.txt");
    Open("00011000");
    window->Search(100000);
    std::vector<std::string> found;
    for (const ResultRow& row : window->Rows())
        found.push_back(row[kColAddressText] + " " + row[kColModule]);
    EXPECT_EQ(found,
              (std::vector<std::string>{
                  "1(01)ASCII 4384",   "2(02)RTU 4384",    "3(03)ASCII 4384A", "4(04)ASCII 4385",
                  "5(05)RTU 4384A",    "9(09)ASCII 4387",  "16(10)ASCII 4386", "17(11)ASCII 4386A",
                  "18(12)ASCII 4388",  "19(13)ASCII 4308", "20(14)ASCII 4300", "21(15)ASCII 4309",
                  "22(16)ASCII 4307",  "23(17)ASCII 4380", "24(18)RTU 4307",   "25(19)RTU 4382",
                  "26(1A)RTU 4386",    "28(1C)ASCII 4382", "32(20)ASCII 4359", "40(28)ASCII 4359A",
                  "48(30)ASCII 4373",  "49(31)RTU 4324",   "64(40)ASCII 4539", "72(48)ASCII 4363",
                  "80(50)ASCII 1333E", "96(60)RTU 1333E"}));
}

// A per-channel module whose reply to the type read of channel 3 is spoilt: the reply counts as
// none, so the probes follow as after silence, and no channel gets a type but its own.
TEST_F(ScanTest, AChannelsTypeComesOnlyFromAReplyNamingThatChannel)
{
    const std::vector<std::string> types = {"08", "09", "0A", "0B", "0C", "0D", "07", "08"};
    struct Case {
        ESpoil spoil;
        char checksum;
    } cases[] = {
        {ESpoil::Stale, '0'}, // one request late: channel 2's reply comes as channel 3's
        {ESpoil::Cut, '0'},       {ESpoil::Padded, '0'},      {ESpoil::OtherAddress, '0'},
        {ESpoil::OtherLead, '0'}, {ESpoil::WrongDigits, '1'}, {ESpoil::NoDigits, '1'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(SpoilName(c.spoil));
        bus = CSimBus{};
        link.ClearTraffic();
        bus.Load(std::string("9384P 1 9600 ascii types=08,09,0A,0B,0C,0D,07,08") +
                 (c.checksum == '1' ? " checksum=on" : "") + "\n");
        Open("00010000", c.checksum);
        ChannelTypeList& listed = window->frame->m_strChannelTypes6384P;
        listed.fill("kept");
        CSpoiltLine line(c.spoil, ChannelType(1, 3));
        std::string asked = ChannelType(1, 3);
        if (c.checksum == '1') asked += AppendChecksum(asked); // as it went on the wire
        ASSERT_TRUE(window->SearchBelow(3));
        ASSERT_EQ(line.Left(), 0) << "the type of channel 3 was not read";

        Requests sent = Sent();
        auto read = std::find(sent.begin(), sent.end(), asked);
        ASSERT_TRUE(read != sent.end() && read + 1 != sent.end());
        EXPECT_EQ(read[1], FirstProbe(1)) << "the spoilt reply was taken as an answer";
        for (size_t ch = 0; ch < types.size(); ++ch) {
            EXPECT_TRUE(listed[ch] == "kept" || listed[ch] == types[ch])
                << "channel " << ch << " shows " << listed[ch];
        }
        EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.begin() + 3),
                  std::vector<std::string>(types.begin(), types.begin() + 3));
    }
}

// A name or configuration reply from another address, or one come late to the next address's
// name request, makes no row: every row is of the module at its own address, with its own
// configuration.
TEST_F(ScanTest, AReplyFromAnotherAddressIsNotTaken)
{
    struct Case {
        const char* what;
        ESpoil spoil;
        const char* request;
        std::vector<std::string> rows; // address text and type code of each row
    } cases[] = {
        {"a name reply of address 2", ESpoil::OtherAddress, "$01M", {"2(02)ASCII 09"}},
        {"a configuration reply of address 2", ESpoil::OtherAddress, "$012", {"2(02)ASCII 09"}},
        {"address 1's configuration come late", ESpoil::Late, "$012", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bus = CSimBus{};
        bus.Load("6384 1 9600 ascii type=08\n"
                 "6384 2 9600 ascii type=09\n");
        Open("00010000");
        CSpoiltLine line(c.spoil, c.request);
        ASSERT_TRUE(window->SearchBelow(4));
        ASSERT_EQ(line.Left(), 0);
        std::vector<std::string> rows;
        for (const ResultRow& row : window->Rows())
            rows.push_back(row[kColAddressText] + " " + row[kColScript]);
        EXPECT_EQ(rows, c.rows);
    }
}

// A configuration reply is taken in any form whose characters 3 to 7, which the search and its row
// read, are hex digits: one character more or less than a module's six is still an answer. A reply
// without them (cut, or a late name reply of the same module) is none.
TEST_F(ScanTest, AConfigurationReplyIsTakenWhenItsReadPositionsAreWellFormed)
{
    struct Case {
        const char* model;
        const char* reply;
        bool listed;
    } cases[] = {
        {"6384", "!01080600", true},  {"6384", "!010806000", true}, {"2333E", "!01060600", true},
        {"2333E", "!0100400", true},  {"6384", "!0108", false},     {"6384", "!016384", false},
        {"6384", "!01080G00", false}, {"6384", "!01", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.reply);
        bus = CSimBus{};
        auto module = std::make_unique<CTestModule>(c.model, 0x08);
        module->m_onAscii = [&c](char lead, std::string_view body) -> std::optional<std::string> {
            if (lead == '$' && body == "2") return std::string(c.reply);
            return std::nullopt;
        };
        AddTestModule(bus, std::move(module), 1, 9600);
        Open("00010000");
        ASSERT_TRUE(window->SearchBelow(3));
        EXPECT_EQ(window->List().GetItemCount(), c.listed ? 1 : 0);
    }
}
