// The settings file: what the search dialog takes from it when it opens, and what Save writes.
#include "SearchWindow.h"

#include "ModuleCodes.h"
#include "SearchSettings.h"

using namespace search_test;

namespace {

// COM3, 9600 and 19200 ticked, TimeOut 200 ms, checksum Disable.
const std::string kExample =
    std::string("COM1=2;\r\nBRAUTE=00011000;\r\nTIMEOUT=2;\r\nCHECKSUM=0;\r") + '\0';

int Selected(const CSearchWindow& w, int nID)
{
    return w.Dlg().GetDlgItemAs<CComboBox>(nID)->GetCurSel();
}

bool Checked(const CSearchWindow& w, int nID)
{
    return w.Dlg().IsDlgButtonChecked(nID) == 1;
}

} // namespace

TEST(SearchSettings, TheExampleFileSetsTheControlsAndSaveWritesItBackByteForByte)
{
    ASSERT_EQ(kExample.size(), 52u);
    CSearchWindow w(kExample);
    CQueryDlg& dlg = w.Dlg();
    EXPECT_TRUE(w.boxes.m_boxes.empty());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COM_PORT), "COM3");
    EXPECT_EQ(Selected(w, IDC_TIMEOUT), 2);
    EXPECT_EQ(dlg.m_nTimeout, 200);
    EXPECT_EQ(Selected(w, IDC_PARITY), 0);
    EXPECT_EQ(w.frame->m_nParity, 0);
    EXPECT_TRUE(Checked(w, IDC_CHECKSUM_DISABLE));
    EXPECT_FALSE(Checked(w, IDC_CHECKSUM_ENABLE));
    EXPECT_EQ(dlg.m_nChecksum, 0);
    const int boxes[] = {IDC_BAUD_1200,  IDC_BAUD_2400,  IDC_BAUD_4800,  IDC_BAUD_9600,
                         IDC_BAUD_19200, IDC_BAUD_38400, IDC_BAUD_57600, IDC_BAUD_115200};
    for (int i = 0; i < kBaudRateCount; ++i) {
        bool ticked = i == 3 || i == 4;
        EXPECT_EQ(Checked(w, boxes[i]), ticked) << BaudRateOfRow(i);
        EXPECT_EQ(dlg.m_bBaudTicked[i], ticked) << BaudRateOfRow(i);
    }
    EXPECT_TRUE(w.Enabled(IDOK));
    EXPECT_FALSE(w.Enabled(IDC_STOP));
    EXPECT_EQ(dlg.GetDlgItemAs<CProgressCtrl>(IDC_PROGRESS)->GetPos(), 2);
    EXPECT_EQ(w.List().GetItemCount(), 1) << "one empty row";

    w.home.Write(kSettingsFileName, std::string(52, 'x'));
    ASSERT_TRUE(ui::Click(dlg, IDC_SAVE));
    EXPECT_EQ(w.home.Read(kSettingsFileName), kExample);
}

TEST(SearchSettings, SaveWritesTheOperatorsChoicesOverTheStartOfALongerFile)
{
    const std::string tail = "\r\n; an older file's last lines\r\n";
    CSearchWindow w(kExample + tail);
    CQueryDlg& dlg = w.Dlg();
    ASSERT_TRUE(ui::ChooseRow(dlg, IDC_COM_PORT, 4));
    ASSERT_TRUE(ui::ChooseRow(dlg, IDC_TIMEOUT, 3));
    ASSERT_TRUE(ui::Click(dlg, IDC_BAUD_9600));   // unticks
    ASSERT_TRUE(ui::Click(dlg, IDC_BAUD_1200));   // ticks
    ASSERT_TRUE(ui::Click(dlg, IDC_BAUD_115200)); // ticks
    ASSERT_TRUE(ui::Click(dlg, IDC_CHECKSUM_ENABLE));
    EXPECT_TRUE(Checked(w, IDC_BAUD_1200));
    EXPECT_FALSE(Checked(w, IDC_BAUD_9600));
    ASSERT_TRUE(ui::Click(dlg, IDC_SAVE));

    std::string expected = SettingsText('4', "10001001", '3', '1');
    EXPECT_EQ(w.home.Read(kSettingsFileName), expected + tail);
    // The next reader stops at the zero byte: the tail changes nothing.
    std::optional<SSearchSettings> read = ReadSearchSettings(SearchSettingsPath());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->nComEntry, 4);
    EXPECT_EQ(read->nTimeoutEntry, 3);
    EXPECT_EQ(read->nChecksum, 1);
    EXPECT_TRUE(read->bTicked[0] && read->bTicked[7] && !read->bTicked[3]);
}

TEST(SearchSettings, ThePositionsAreReadAsTheyStand)
{
    struct Case {
        const char* what;
        std::string text;
        const char* com;  // selected COM text
        int timeoutEntry; // -1: nothing selected
        int timeoutMs;
        int enable, disable; // radio states
        std::vector<int> ticked;
    } cases[] = {
        {"an empty file", "", "COM1", 0, 50, 0, 1, {}},
        {"A at offset 5", SettingsText('A', "00000001", '1', '1'), "COM11", 1, 100, 1, 0, {7}},
        {"F at offset 5",
         SettingsText('F', "11111111", '0', '0'),
         "COM16",
         0,
         50,
         0,
         1,
         {0, 1, 2, 3, 4, 5, 6, 7}},
        {"a short file", "COM1=5;\r\nBRAUTE=01", "COM6", 0, 50, 0, 1, {1}},
        {"non-digits", SettingsText('Z', "1x1?0000", 'T', 'Y'), "COM1", 0, 50, 0, 1, {0, 2}},
        {"a TimeOut above 3 and a checksum digit above 1",
         SettingsText('1', "00000000", '7', '5'),
         "COM2",
         -1,
         50,
         0,
         0,
         {}},
        {"a zero byte before the fields",
         std::string("COM1=3", 6) + '\0' + "\r\nBRAUTE=11111111",
         "COM4",
         0,
         50,
         0,
         1,
         {}},
    };
    // Hand-edited numbers of more than one digit: the fields after them move along.
    auto edited = [](char timeout, char checksum, int at, const char* inserted) {
        return SettingsText('0', "00010000", timeout, checksum)
            .insert(static_cast<size_t>(at), inserted);
    };
    const Case twoDigits[] = {
        {"TimeOut 12, the checksum digit moved off its offset",
         edited('1', '1', 36, "2"),
         "COM1",
         -1,
         50,
         0,
         1,
         {3}},
        {"TimeOut 03", edited('3', '1', 35, "0"), "COM1", 3, 500, 0, 1, {3}},
        {"checksum 10", edited('2', '1', 49, "0"), "COM1", 2, 200, 0, 0, {3}},
        // Its digits reach over offset 48 too.
        {"a number longer than an int",
         edited('2', '1', 36, "99999999999999999999"),
         "COM1",
         -1,
         50,
         0,
         0,
         {3}},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.insert(all.end(), std::begin(twoDigits), std::end(twoDigits));
    for (const Case& c : all) {
        SCOPED_TRACE(c.what);
        CSearchWindow w(c.text);
        EXPECT_TRUE(w.boxes.m_boxes.empty());
        EXPECT_EQ(w.Dlg().GetDlgItemText(IDC_COM_PORT), c.com);
        EXPECT_EQ(Selected(w, IDC_TIMEOUT), c.timeoutEntry);
        EXPECT_EQ(w.Dlg().m_nTimeout, c.timeoutMs);
        EXPECT_EQ(Checked(w, IDC_CHECKSUM_ENABLE), c.enable == 1);
        EXPECT_EQ(Checked(w, IDC_CHECKSUM_DISABLE), c.disable == 1);
        for (int i = 0; i < kBaudRateCount; ++i) {
            bool ticked = std::find(c.ticked.begin(), c.ticked.end(), i) != c.ticked.end();
            EXPECT_EQ(w.Dlg().m_bBaudTicked[i], ticked) << BaudRateOfRow(i);
        }
    }
}

TEST(SearchSettings, SaveKeepsComElevenAndStoresPortsAboveSixteenAsComOne)
{
    CSearchWindow w(SettingsText('A', "00010000", '0', '0'));
    ASSERT_TRUE(ui::Click(w.Dlg(), IDC_SAVE));
    EXPECT_EQ(w.home.Read(kSettingsFileName), SettingsText('A', "00010000", '0', '0'));

    ASSERT_TRUE(ui::ChooseRow(w.Dlg(), IDC_COM_PORT, 16)); // COM17
    ASSERT_TRUE(ui::Click(w.Dlg(), IDC_SAVE));
    EXPECT_EQ(w.home.Read(kSettingsFileName), SettingsText('0', "00010000", '0', '0'));
    EXPECT_TRUE(w.boxes.m_boxes.empty());
}

TEST(SearchSettings, AMissingFileIsReportedWithItsPathAndSaveCreatesNothing)
{
    CSearchWindow w(std::nullopt);
    std::string path = w.home.Path(kSettingsFileName).string();
    ASSERT_EQ(w.boxes.m_boxes.size(), 1u);
    EXPECT_EQ(w.boxes.m_boxes[0].text, path);
    EXPECT_EQ(w.boxes.m_boxes[0].caption, "INFO");
    EXPECT_EQ(w.boxes.m_boxes[0].nType & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
    // The controls keep their template state.
    EXPECT_EQ(Selected(w, IDC_COM_PORT), -1);
    EXPECT_EQ(Selected(w, IDC_TIMEOUT), -1);
    EXPECT_EQ(Selected(w, IDC_PARITY), -1);
    EXPECT_FALSE(Checked(w, IDC_CHECKSUM_ENABLE) || Checked(w, IDC_CHECKSUM_DISABLE));
    EXPECT_TRUE(w.Enabled(IDC_STOP));
    EXPECT_EQ(w.List().GetItemCount(), 0);

    ASSERT_TRUE(ui::Click(w.Dlg(), IDC_SAVE));
    ASSERT_EQ(w.boxes.m_boxes.size(), 2u);
    EXPECT_EQ(w.boxes.m_boxes[1].text, "文件出错!");
    EXPECT_EQ(w.boxes.m_boxes[1].caption, "INFO");
    EXPECT_EQ(w.boxes.m_boxes[1].nType & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
    EXPECT_FALSE(fs::exists(path));
}

TEST(SearchSettings, AFolderInPlaceOfTheFileCountsAsMissing)
{
    CScopedHome home;
    fs::create_directories(home.Path(kSettingsFileName));
    EXPECT_FALSE(ReadSearchSettings(home.Path(kSettingsFileName).string()));
    EXPECT_FALSE(WriteSearchSettings(home.Path(kSettingsFileName).string(), kExample));
}

// The build puts a default settings file next to the program, so a search form on a real adapter
// starts filled: COM1, only 9600 ticked, 50 ms, checksum off, in the 52 bytes Save writes.
TEST(SearchSettings, TheBuildShipsAFilledDefaultNextToTheProgram)
{
    std::ifstream file(std::string(OSTRA_BIN_DIR) + "/" + kSettingsFileName, std::ios::binary);
    ASSERT_TRUE(file) << "the build copies resources/talvik4333.ini";
    std::stringstream bytes;
    bytes << file.rdbuf();
    ASSERT_EQ(bytes.str(), SettingsText('0', "00010000", '0', '0'));

    CSearchWindow w(bytes.str());
    CQueryDlg& dlg = w.Dlg();
    EXPECT_TRUE(w.boxes.m_boxes.empty());
    EXPECT_EQ(dlg.GetDlgItemText(IDC_COM_PORT), "COM1");
    EXPECT_EQ(Selected(w, IDC_TIMEOUT), 0);
    EXPECT_EQ(dlg.m_nTimeout, 50);
    EXPECT_TRUE(Checked(w, IDC_CHECKSUM_DISABLE));
    EXPECT_EQ(dlg.m_bBaudTicked, (std::array<bool, kBaudRateCount>{false, false, false, true, false,
                                                                   false, false, false}));
    ASSERT_TRUE(ui::Click(dlg, IDC_SAVE));
    EXPECT_EQ(w.home.Read(kSettingsFileName), bytes.str()) << "Save writes the same bytes back";
}
