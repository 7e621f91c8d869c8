// The single-command window against the simulated bus: what goes over the wire, what the window
// shows, and how it fails.
#include "SingleDlg.h"
#include "Clock.h"
#include "HexText.h"
#include "MainFrm.h"
#include "Resource.h"
#include "SimLink.h"
#include "SimModule.h"
#include "UiDriver.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using D = CSingleDlg;
using Strings = std::vector<std::string>;

class SingleDlgTest : public ::testing::Test {
protected:
    SingleDlgTest() { AfxSetMainWnd(&frame); }
    ~SingleDlgTest() override
    {
        dlg.DestroyWindow();
        AfxSetMainWnd(nullptr);
    }
    void Open()
    {
        ASSERT_TRUE(dlg.Create(IDD_SINGLE, &frame));
        ASSERT_TRUE(dlg.IsRunning());
    }
    void Run(const std::string& command)
    {
        ASSERT_TRUE(ui::Type(dlg, D::IDC_COMMAND, command));
        ASSERT_TRUE(ui::Click(dlg, IDOK));
    }
    std::string Respond() const { return dlg.GetDlgItemText(D::IDC_RESPOND); }
    Strings History() { return ui::Rows(dlg, D::IDC_HISTORY); }
    bool RunEnabled() const { return dlg.GetDlgItem(IDOK)->IsWindowEnabled(); }
    DWORD Now() { return clock.TickCount(); }

    CScopedVirtualClock clock;
    CSimBus bus;
    CScopedSimLink link{bus};
    ui::CMessageBoxRecorder boxes;
    CMainFrame frame;
    CSingleDlg dlg{&frame};
};

TEST_F(SingleDlgTest, StartsOnTheFramesPortAt9600WithoutParityOrChecksum)
{
    frame.m_nComPort = 3;
    g_bDialogClosed = 1;
    Open();
    EXPECT_EQ(g_bDialogClosed, 0);
    EXPECT_EQ(dlg.GetWidget()->windowTitle().toStdString(), "Command");
    EXPECT_EQ(ui::Rows(dlg, D::IDC_PORT),
              (Strings{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"}));
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_PORT), "COM3");
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_BAUD), "9600");
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_PARITY), "None");
    EXPECT_EQ(dlg.GetCheckedRadioButton(D::IDC_CHECKSUM_ENABLE, D::IDC_CHECKSUM_DISABLE),
              D::IDC_CHECKSUM_DISABLE);
    ASSERT_TRUE(ui::Click(dlg, IDCANCEL));
    EXPECT_FALSE(dlg.IsRunning());
    EXPECT_EQ(g_bDialogClosed, 1);
}

TEST_F(SingleDlgTest, TheMenuCommandRunsANewWindowEachTime)
{
    std::vector<CDialog*> shown;
    ui::CModalDriver driver([&](CDialog& d) {
        shown.push_back(&d);
        EXPECT_EQ(d.GetTemplateID(), IDD_SINGLE);
        ui::Click(d, IDCANCEL);
    });
    frame.OnRunSingleLine();
    frame.OnRunSingleLine();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], frame.m_pSingleDlg);
}

struct AsciiCase {
    const char* typed;
    bool bChecksum;
    int nBaudRow;
    DWORD dwBaud;
    int nParityRow;
    DWORD dwDelayMs;
    const char* sent;
    const char* reply;
    const char* history;
};

void PrintTo(const AsciiCase& c, std::ostream* os)
{
    *os << c.sent;
}

class SingleDlgAscii : public SingleDlgTest, public ::testing::WithParamInterface<AsciiCase> {};

TEST_P(SingleDlgAscii, SendsTheCommandAndShowsTheReplyAndItsTime)
{
    const AsciiCase& c = GetParam();
    CSimModule& module = bus.Add("6384", 1, c.dwBaud);
    module.SetChecksum(c.bChecksum);
    module.SetParity(c.nParityRow);
    module.Faults().dwDelayMs = c.dwDelayMs;
    Open();
    if (c.bChecksum) {
        ASSERT_TRUE(ui::Click(dlg, D::IDC_CHECKSUM_ENABLE));
    }
    ASSERT_TRUE(ui::ChooseRow(dlg, D::IDC_BAUD, c.nBaudRow));
    ASSERT_TRUE(ui::ChooseRow(dlg, D::IDC_PARITY, c.nParityRow));
    Run(c.typed);

    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_COMMAND), "$01M") << "typed letters become capitals";
    EXPECT_EQ(link.Requests(), Strings{c.sent});
    ASSERT_EQ(link.Traffic().size(), 1u);
    EXPECT_EQ(link.Traffic()[0].line.dwBaud, c.dwBaud);
    EXPECT_EQ(link.Traffic()[0].line.nParity, c.nParityRow);
    EXPECT_EQ(Respond(), c.reply);
    EXPECT_EQ(History(), (Strings{"--> $01M", c.history}));
    EXPECT_FALSE(link.IsAsciiOpen()) << "the line is closed after each command";
    EXPECT_TRUE(RunEnabled());
    EXPECT_TRUE(boxes.m_boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SingleDlgAscii,
                         ::testing::Values(AsciiCase{"$01m", false, 3, 9600, 0, 0, "$01M",
                                                     "!016384", "    !016384   0 ms"},
                                           // The reply keeps the module's own checksum digits.
                                           AsciiCase{"$01M", true, 4, 19200, 1, 40, "$01MD2",
                                                     "!01638457", "    !01638457   40 ms"}));

class SingleDlgModbus : public SingleDlgTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SingleDlgModbus, SendsTheRequestWithItsCrcAndShowsTheReplyFrame)
{
    bus.Add("6384", 1, 9600, ESimProtocol::Rtu);
    Open();
    // Parity and checksum are for ASCII commands: the RTU line runs without parity.
    ASSERT_TRUE(ui::ChooseRow(dlg, D::IDC_PARITY, 2));
    ASSERT_TRUE(ui::Click(dlg, D::IDC_CHECKSUM_ENABLE));
    Run(GetParam());

    EXPECT_EQ(link.Requests(), Strings{"01 03 00 00 00 08 44 0C"});
    ASSERT_EQ(link.Traffic().size(), 1u);
    EXPECT_EQ(link.Traffic()[0].line.nParity, 0);
    std::string frame = link.Traffic()[0].strReply;
    ASSERT_EQ(frame.size(), 21u) << "address, function, count, 16 data bytes, CRC";
    std::string expected =
        BytesToHexText(reinterpret_cast<const BYTE*>(frame.data()), frame.size());
    EXPECT_EQ(Respond(), expected);
    EXPECT_EQ(Respond().substr(0, 9), " 01 03 10");
    EXPECT_EQ(History(), (Strings{"--> " + std::string(GetParam()), "   " + expected}))
        << "a Modbus reply has no time";
    EXPECT_FALSE(link.IsRtuOpen());
    EXPECT_TRUE(RunEnabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, SingleDlgModbus,
                         ::testing::Values("01 03 00 00 00 08", "010300000008"));

struct HexBytesCase {
    const char* typed;
    const char* wire;
};

void PrintTo(const HexBytesCase& c, std::ostream* os)
{
    *os << '"' << c.typed << '"';
}

class SingleDlgHexBytes : public SingleDlgTest,
                          public ::testing::WithParamInterface<HexBytesCase> {};

TEST_P(SingleDlgHexBytes, WholeHexBytesGoOutByteForByte)
{
    bus.Add("6384", 1, 9600, ESimProtocol::Rtu);
    Open();
    Run(GetParam().typed);
    EXPECT_EQ(link.Requests(), Strings{GetParam().wire});
    EXPECT_TRUE(boxes.m_boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SingleDlgHexBytes,
                         ::testing::Values(
                             // Blanks may stand anywhere, even inside a byte.
                             HexBytesCase{" 0 10 3 0000 0008 ", "01 03 00 00 00 08 44 0C"},
                             HexBytesCase{"01 06 00 dc 00 ff", "01 06 00 DC 00 FF 08 70"},
                             HexBytesCase{"010600Dc00fF", "01 06 00 DC 00 FF 08 70"}));

class SingleDlgNotHexBytes : public SingleDlgTest,
                             public ::testing::WithParamInterface<const char*> {};

// Read as bytes, such a text would go out with 00 for what is not hex, or with a half byte: a
// write to another register, or a broadcast to every module.
TEST_P(SingleDlgNotHexBytes, IsRefusedWithoutOpeningTheLine)
{
    bus.Add("6384", 1, 9600, ESimProtocol::Rtu);
    Open();
    DWORD start = Now();
    Run(GetParam());
    EXPECT_TRUE(link.Traffic().empty());
    EXPECT_EQ(Now(), start) << "opening the RTU line takes time";
    EXPECT_FALSE(link.IsRtuOpen() || link.IsAsciiOpen());
    EXPECT_EQ(Respond(), "Not Hex Bytes!");
    EXPECT_EQ(History(),
              (Strings{"--> " + dlg.GetDlgItemText(D::IDC_COMMAND), "    Not Hex Bytes!"}));
    EXPECT_TRUE(boxes.m_boxes.empty());
    EXPECT_TRUE(RunEnabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, SingleDlgNotHexBytes,
                         ::testing::Values("hello world!!", "02 03 0G 00 00 08", "02 03 00 0",
                                           "   ", ""));

TEST_F(SingleDlgTest, AReplyThatDoesNotComeShowsNoRespond)
{
    bus.Add("6384", 1, 9600);
    Open();
    for (const char* command : {"$05M", "05 03 00 00 00 08"}) {
        SCOPED_TRACE(command);
        link.ClearTraffic();
        DWORD start = Now();
        Run(command);
        ASSERT_EQ(link.Traffic().size(), 1u);
        EXPECT_FALSE(link.Traffic()[0].bAnswered);
        EXPECT_GE(Now() - start, D::kTimeoutMs) << "the window waited out its time-out";
        EXPECT_EQ(Respond(), "No Respond!");
        EXPECT_EQ(History().at(0), "--> " + std::string(command));
        EXPECT_EQ(History().at(1), "    No Respond!");
        EXPECT_TRUE(RunEnabled());
        EXPECT_FALSE(link.IsAsciiOpen() || link.IsRtuOpen());
    }
    EXPECT_TRUE(dlg.m_serialPort.IsStopRequested());
    EXPECT_EQ(History().size(), 4u);
}

TEST_F(SingleDlgTest, ALongReplyIsShownWhole)
{
    bus.Add("6384", 1, 9600, ESimProtocol::Rtu).Faults().nLongTo = 255;
    Open();
    Run("010300000008");
    // The second command reads the long field back without complaint.
    for (size_t i = 0; i < 2; ++i) {
        std::string frame = link.Traffic().at(i).strReply;
        ASSERT_EQ(frame.size(), 255u);
        EXPECT_EQ(Respond(), BytesToHexText(reinterpret_cast<const BYTE*>(frame.data()), 255));
        Run("010300000008");
    }
    EXPECT_TRUE(boxes.m_boxes.empty());
}

TEST_F(SingleDlgTest, AHundredCharacterRequestGoesOutWhole)
{
    Open();
    std::string typed;
    for (int i = 0; i < 50; ++i) typed += "A5";
    Run(typed + "77");
    EXPECT_EQ(dlg.GetDlgItemText(D::IDC_COMMAND), typed) << "the field takes 100 characters";
    ASSERT_EQ(link.Traffic().size(), 1u);
    const std::string& wire = link.Traffic()[0].strRequest;
    ASSERT_EQ(wire.size(), 52u) << "50 bytes and the CRC: the longest request the link sends";
    EXPECT_EQ(wire.substr(0, 50), std::string(50, '\xA5'));
    EXPECT_EQ(Respond(), "No Respond!");
}

struct UnmappedCase {
    int nComPort; // the frame's port when the window opens
    const char* command;
};

void PrintTo(const UnmappedCase& c, std::ostream* os)
{
    *os << "COM" << c.nComPort << ' ' << c.command;
}

class SingleDlgUnmapped : public SingleDlgTest,
                          public ::testing::WithParamInterface<UnmappedCase> {};

TEST_P(SingleDlgUnmapped, APortThatDoesNotOpenShowsOpenComError)
{
    frame.m_nComPort = GetParam().nComPort;
    bus.Add("6384", 1, 9600);
    Open();
    Run(GetParam().command);
    EXPECT_EQ(boxes.Texts(), Strings{"Open Com Error!"});
    EXPECT_TRUE(link.Traffic().empty());
    EXPECT_EQ(History(), Strings{"--> " + std::string(GetParam().command)});
    EXPECT_EQ(Respond(), "");
    EXPECT_TRUE(RunEnabled()) << "the next try is possible";
}

// COM2 has no device; port 12 is beyond the list, which then has no choice and opens port 0.
INSTANTIATE_TEST_SUITE_P(Cases, SingleDlgUnmapped,
                         ::testing::Values(UnmappedCase{2, "$01M"}, UnmappedCase{2, "010300000008"},
                                           UnmappedCase{12, "$01M"}));

} // namespace
