// The example dialog of docs/adding-a-module-dialog.md: it compiles, it works against a simulated
// module, and every piece of code the guide shows stands here word for word.
#include "ModuleDlg.h"
#include "ModuleFixture.h"
#include "SpoiltLine.h"
#include "analog_input/AnalogInputIds.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace {

// [descriptor]
const CodeTable kRangeCodes = {"08", "09", "0A", "0B", "0C", "0D", "07", "FF"};

const SModuleDescriptor kDescriptor = {
    .nTemplate = IDD_M6384,
    .pBlock = &CMainFrame::m_strAnalogInputParams,  // the family's block
    .pChanged = &CMainFrame::m_bAnalogInputChanged, // its flag (null: the dialog raises none)
    .eLink = ELinkKind::Ascii,                      // or Rtu
    .boxes = {IDC_AI_ADDRESS, IDC_AI_BAUD, IDC_AI_CHECKSUM, IDC_AI_RANGE, IDC_AI_FORMAT,
              IDC_AI_PROTOCOL},        // 0 where the template has none
    .pRangeCodes = &kRangeCodes,       // the Script code of each Input Range row
    .pFormatCodes = &FormatDigitTable, // the Format digit of each Data Format row
    .nFormatMask = 0x3,                // the bits of the Format digit the box shows
    .bSetsDialogClosed = true,         // closing sets g_bDialogClosed
};
// [/descriptor]

// [class]
class CExampleDlg : public CModuleDlg {
public:
    CExampleDlg() : CModuleDlg(kDescriptor) {}
    BOOL OnInitDialog() override;
    void PollStep() override;
    void OnSetting();

    DECLARE_MESSAGE_MAP()

private:
    // m_nCommand: the request the next tick sends; m_nLastCommand: whose reply it reads.
    enum : int { kCmdPoll = 0, kCmdConfigure = 1 };
    enum : int { kLastNone = 0, kLastPoll = 1, kLastConfigure = 2 };
    void ShowReadings();
};

BEGIN_MESSAGE_MAP(CExampleDlg, CModuleDlg)
ON_BN_CLICKED(IDC_AI_SETTING, OnSetting)
END_MESSAGE_MAP()
// [/class]

// [open]
BOOL CExampleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitFromBlock();
    FillSettingsBoxes(true);
    if (!OpenAsciiLine(BlockBaudRate())) return TRUE;
    m_nLastCommand = kLastPoll;
    SendAscii(Request('#', ""), 100);
    SetTimer(m_nTimerId, 500);
    return TRUE;
}
// [/open]

// [tick]
void CExampleDlg::PollStep()
{
    TakeReply();
    if (m_nLastCommand == kLastConfigure) {
        // Only "!" and the address the module answers at now acknowledges the setting.
        ConfigurationAnswered(SettingAcknowledged());
        ShowConfigurationResult(SettingAcknowledged());
        OnCancel();
        return;
    }
    if (m_nLastCommand == kLastPoll) ShowReadings();
    ApplyQueuedCommand();
    if (m_nCommand == kCmdConfigure) {
        m_nCommand = kCmdPoll;
        m_nLastCommand = kLastConfigure;
        SendAscii(ConfigurationGoesOut(), 300);
        return;
    }
    m_nLastCommand = kLastPoll;
    SendAscii(Request('#', ""), 300);
}

void CExampleDlg::ShowReadings()
{
    // Eight readings after ">", or a missed exchange: shown as silence is.
    std::optional<std::vector<std::string>> readings =
        ReadingsOfReply('>', 8, EReadingForm::AsData);
    for (size_t k = 0; k < 8; ++k)
        SetDlgItemText(kAiValueIds[k], readings ? (*readings)[k] : "ERROR!!");
}
// [/tick]

// [setting]
void CExampleDlg::OnSetting()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice =
        ReadSettings({.bRefuse = true}, EModbusRow::SwitchesByDollar);
    if (!choice) return; // refused with the dialog's box; nothing is sent
    QueueConfiguration(kCmdConfigure, SettingOfChoice(*choice, choice->bModbus));
}
// [/setting]

class GuideExample : public CModuleFixture {
protected:
    void Open()
    {
        m_bus.Add("6384", 1, 9600);
        m_frame.m_strAnalogInputParams = {"01", "06", "0", "08", "0", "4384"};
        m_dlg.Create(IDD_M6384);
    }
    std::string Value(int k) const { return m_dlg.GetDlgItemText(kAiValueIds[k]); }

    CExampleDlg m_dlg;
};

TEST_F(GuideExample, ShowsReadingsAndAReplyOfAnotherShapeAsSilence)
{
    Open();
    Tick(m_dlg, 2);
    EXPECT_EQ(Value(0).front(), '+');
    {
        CSpoiltLine cut(ESpoil::Cut, "#01", 100);
        Tick(m_dlg, 2);
        for (int k = 0; k < 8; ++k) EXPECT_EQ(Value(k), "ERROR!!") << k;
    }
    EXPECT_EQ(TakeRequests(), std::vector<std::string>(5, "#01"));
}

TEST_F(GuideExample, ASettingGoesOutAndIsJudgedByTheAcknowledgement)
{
    Open();
    Tick(m_dlg);
    ui::Type(m_dlg, IDC_AI_ADDRESS, "5");
    ui::Click(m_dlg, IDC_AI_SETTING);
    TakeRequests();
    Tick(m_dlg, 2);
    EXPECT_EQ(TakeRequests(), std::vector<std::string>{"%0105080600"});
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{kConfigurationOk});
    EXPECT_EQ(m_frame.m_strNewParams[kAddress], "05");
    EXPECT_FALSE(m_dlg.IsRunning());
}

// Every code block of the guide is a piece of this file, so the guide shows code that compiles.
TEST(Guide, QuotesOnlyCodeThatCompiles)
{
    auto read = [](const char* path) {
        std::ifstream file(path);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    };
    const std::string guide = read(OSTRA_DOCS_DIR "/adding-a-module-dialog.md");
    const std::string source = read(OSTRA_GUIDE_SOURCE);
    static const std::regex block("```cpp\n([^`]*)```");
    int blocks = 0;
    for (auto it = std::sregex_iterator(guide.begin(), guide.end(), block);
         it != std::sregex_iterator(); ++it, ++blocks) {
        EXPECT_NE(source.find((*it)[1].str()), std::string::npos) << (*it)[1].str();
    }
    EXPECT_GT(blocks, 0);
}

} // namespace
