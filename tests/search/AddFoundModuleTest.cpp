// The result row of a module found: names, address texts, codes and descriptions.
#include "SearchWindow.h"

#include "AsciiCommand.h"

using namespace search_test;

namespace {

// How the search hands a find over.
struct SFind {
    std::string name, second, baud;
    bool rtu = false;
    int address = 1;       // the address found (the search has moved one past it)
    bool checksum = false; // the dialog's checksum choice
};

ResultRow Add(CSearchWindow& w, const SFind& f)
{
    CQueryDlg& dlg = w.Dlg();
    dlg.m_bFoundAscii = !f.rtu;
    dlg.m_bFoundRtu = f.rtu;
    dlg.m_bTryModbus = f.rtu;
    dlg.m_nScanAddress = f.address + 1;
    dlg.m_nChecksum = f.checksum ? 1 : 0;
    int before = w.List().GetItemCount();
    dlg.AddFoundModule(f.name, f.second, f.baud);
    EXPECT_EQ(w.List().GetItemCount(), before + 1);
    EXPECT_FALSE(dlg.m_bFoundAscii);
    EXPECT_FALSE(dlg.m_bFoundRtu);
    return w.Row(w.List().GetItemCount() - 1);
}

std::string WithChecksum(const std::string& text)
{
    return text + AppendChecksum(text);
}

class AddFoundModuleTest : public ::testing::Test {
protected:
    CSearchWindow w{SettingsText('0', "00010000", '0', '0')};
};

} // namespace

TEST_F(AddFoundModuleTest, RowsOfAsciiAndModbusFinds)
{
    struct Case {
        const char* what;
        SFind find;
        ResultRow row;
    } cases[] = {
        {"ASCII find at 11 hex",
         {"!116384", "!11080600", "9600", false, 0x11},
         {"4384", "17(11)ASCII", "9600", "Yes", "Disable", "-10 to +10V", "", "11", "06", "0", "08",
          "0", "ASC"}},
        {"checksum on, asked with checksum: the name loses the reply's checksum digits",
         {WithChecksum("!116384"), WithChecksum("!11080640"), "9600", false, 0x11, true},
         {"4384", "17(11)ASCII", "9600", "Yes", "Enable", "-10 to +10V", "", "11", "06", "4", "08",
          "0", "ASC"}},
        {"checksum on, asked without: nothing is cut",
         {"!116384", "!11080640", "9600", false, 0x11, false},
         {"4384", "17(11)ASCII", "9600", "Yes", "Enable", "-10 to +10V", "", "11", "06", "4", "08",
          "0", "ASC"}},
        {"checksum digits kept when the dialog did not ask for them",
         {"!116384D2", "!11080600", "9600", false, 0x11, false},
         {"4384D2", "17(11)ASCII", "9600", "Yes", "Disable", "-10 to +10V", "", "11", "06", "0",
          "08", "0", "ASC"}},
        {"address 0: the baud code comes from the rate, the name is not cut",
         {"!006384", "!00080800", "9600", false, 0, true},
         {"4384", "0(00)", "9600", "Yes", "Disable", "-10 to +10V", "", "00", "06", "0", "08", "0",
          "ASC"}},
        {"Modbus RTU find at 17",
         {"6384", "17", "19200", true, 17},
         {"4384", "17(11)RTU", "19200", "Yes", "Disable", "", "", "11", "07", "0", "", "", "RTU"}},
        {"Modbus RTU find at 0",
         {"6384", "0", "9600", true, 0},
         {"4384", "0(0)", "9600", "Yes", "Disable", "", "", "0", "06", "0", "", "", "RTU"}},
        {"Modbus RTU: the dialog's checksum choice does not touch the name",
         {"6373", "200", "115200", true, 200, true},
         {"4373", "200(C8)RTU", "115200", "No", "Disable", "DI*4 +DO*4", "", "C8", "0A", "0", "",
          "", "RTU"}},
        {"the rack main unit in ASCII",
         {"!052333E", "!0500400", "38400", false, 5, true},
         {"1333E", "5(05)ASCII", "38400", "No", "Enable", "", "", "05", "08", "4", "", "0", "ASC"}},
        {"a 9359 in ASCII carries its format's high digit as Protocol",
         {"!079359", "!07300680", "9600", false, 7},
         {"4359A", "7(07)ASCII", "9600", "No", "Disable", "", "", "07", "06", "0", "30", "0", "8"}},
        {"a short name reply and no configuration reply",
         {"!", "", "9600", false, 3},
         {"4", "0()ASCII", "9600", "No", "Enable", "", "", "", "", "4", "", "", "ASC"}},
        {"a checksum digit that is not an upper-case hex digit",
         {"!016384", "!010806c0", "9600", false, 1},
         {"4384", "1(01)ASCII", "9600", "Yes", "Enable", "-10 to +10V", "", "01", "06", "4", "08",
          "0", "ASC"}},
        {"an address that is not hex",
         {"!G16384", "!G1080600", "9600", false, 1},
         {"4384", "0(G1)ASCII", "9600", "Yes", "Disable", "-10 to +10V", "", "G1", "06", "0", "08",
          "0", "ASC"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Add(w, c.find), c.row);
    }
}

TEST_F(AddFoundModuleTest, ModbusNamesAreListedUnderTheirMainSeriesName)
{
    struct Case {
        const char* probed;
        const char* listed;
        const char* alarm;
    } cases[] = {
        {"6384", "4384", "Yes"},  {"4307", "4307", "No"},   {"4530", "4530", "No"},
        {"9384", "4384A", "Yes"}, {"9386", "4386A", "Yes"}, {"9381", "4381P", "Yes"},
        {"9359", "4359A", "No"},  {"9382", "4382A", "No"},  {"6382", "4382", "No"},
        {"9328", "4328", "No"},   {"9322", "4322", "No"},   {"10123", "4012", "No"},
        {"233E", "1333E", "No"},  {"6385", "4385", "Yes"},  {"6387", "4387", "No"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.probed);
        ResultRow row = Add(w, {c.probed, "9", "9600", true, 9});
        EXPECT_EQ(row[kColModule], c.listed);
        EXPECT_EQ(row[kColAlarm], c.alarm);
        EXPECT_EQ(row[kColProtocol], "RTU");
    }
}

TEST_F(AddFoundModuleTest, DescriptionsFollowTheModelAndItsCode)
{
    struct Case {
        const char* model;
        const char* code;
        const char* description;
    } cases[] = {
        // digital I/O by the exact name
        {"6395", "00", "DO*13"},
        {"4395D", "00", "DO*13"},
        {"6395X", "00", ""},
        {"6324D", "00", "DI*12 + DO*4"},
        {"6373", "00", "DI*4 +DO*4"},
        {"4328", "00", "DI*16"},
        {"6322", "00", "DI*8 +DO*8"},
        {"6398", "00", "DI*14"},
        {"4390D", "00", "DO*16"},
        {"6399", "00", "DI*4 + DO*8"},
        // digital I/O by the number in the name
        {"6323X", "00", "DI*7 + DO*8"},
        {"4325", "00", "DI*8"},
        {"6370", "00", "DI*8 + DO*3"},
        {"6372", "00", "DI*4 + DO*5"},
        {"4374", "00", "DO*7"},
        {"6371", "00", "DO*8"},
        // RTD types
        {"6309", "23", "BA1 -200-650C"},
        {"6309", "26", ""},
        {"4300", "24", "Pt100 a=0.003916  -100-100C"},
        {"6308", "25", "Pt100 a=0.003916  0-100C"},
        {"6300", "20", "Pt100 a=0.00385 -100-100C"},
        {"6380", "27", "Pt/.00392 0-600C"},
        {"4380", "2F", "G53 -50-150C"},
        {"4380", "28", ""},
        // analog input
        {"6384", "0D", "-20 to +20mV"},
        {"6389", "0A", "-1 to +1V"},
        {"6384", "07", ""},
        {"6384", "FF", ""},
        {"6384", "0a", ""},
        // thermocouple and bridge input share codes 00 to 06
        {"6386", "11", "T/C E-type"},
        {"4388", "00", "-15 to +15mV"},
        {"6386", "18", "T/C M-type"},
        {"6387", "00", "+/-15mV"},
        {"4387", "06", "+/-20mA"},
        {"6387", "0E", ""},
        // analog output
        {"6359", "32", "0 to 10V"},
        {"4359", "35", "-5 to +5V"},
        {"6358", "32", "0 to +10V"},
        {"6355", "34", ""},
        // counter, power meter, and models the search does not describe
        {"6363", "50", "Counter"},
        {"4363", "51", "Frequency"},
        {"6530", "99", "Electric Power"},
        {"6382", "20", ""},
        {"6381", "08", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.code);
        ResultRow row = Add(w, {std::string("!01") + c.model, std::string("!01") + c.code + "0600",
                                "9600", false, 1});
        EXPECT_EQ(row[kColDescription], c.description);
    }
}

TEST_F(AddFoundModuleTest, ThreeChannelRtdRowsCarryTheirDataFormat)
{
    const char* formats[] = {"Engineering Unit", "% of FSR", "2's complement", "Ohm", ""};
    for (int digit = 0; digit < 5; ++digit) {
        ResultRow row = Add(w, {"!014380", "!0120060" + std::to_string(digit), "9600", false, 1});
        EXPECT_EQ(row[kColDataFormat], formats[digit]) << digit;
    }
    EXPECT_EQ(Add(w, {"!016384", "!01080602", "9600", false, 1})[kColDataFormat], "");
}
