#include "V1333E.h"

#include "AsciiCommand.h"
#include "ModuleDialogs.h"
#include "RackIds.h"
#include "Strings.h"

#include <algorithm>
#include <iterator>

REGISTER_MODULE_DIALOG(CV1333E)

namespace {

constexpr UINT kPollPeriod = 300;
constexpr DWORD kBaudWithoutCode = 9600;

const int kConfigurationControls[] = {rack_main::IDC_BAUD, rack_main::IDC_CHECKSUM,
                                      rack_main::IDC_UPDATE, rack_main::IDC_PROTOCOL,
                                      rack_main::IDC_MODBUS_PARITY};

// The dialog a slot row opens and the block it is handed in. The analog-input kinds get the row's
// model in entry 1; the others the address in entry 0, an empty entry 1 and the model in entry 5.
struct SSlotDialog {
    ESlotKind eKind;
    ModuleParamBlock CMainFrame::*pBlock;
    const char* pszClass;
    bool bAnalogInput;
};

const SSlotDialog kSlotDialogs[] = {
    {ESlotKind::Digital, &CMainFrame::m_strSlotDioParams, "CV1327", false},
    {ESlotKind::AnalogOutput, &CMainFrame::m_strSlotAoParams, "CV1359", false},
    {ESlotKind::AnalogInput, &CMainFrame::m_strSlotAiParams, "CV1300", true},
    {ESlotKind::SpeedInput, &CMainFrame::m_strSlotAiParams, "CV1384H", true},
};

enum Column { kColModule = 0, kColSlot = 1, kColDescription = 2 };

// The opening reads in the order they go out.
constexpr int kOpeningReads[] = {CV1333E::kReadSlots, CV1333E::kReadConfiguration,
                                 CV1333E::kReadParity, CV1333E::kReadWdtTimeout,
                                 CV1333E::kReadWdtEnables};
constexpr size_t kReads = std::size(kOpeningReads);

unsigned BitOfRead(int step)
{
    return 1u << static_cast<unsigned>(std::ranges::find(kOpeningReads, step) - kOpeningReads);
}

// What the unit's replies carry after "!AA": the eight slot codes and the two slot enable digits,
// nothing more. The others are read at their places, whatever follows: the configuration's
// protocol digit, and after ">" the address and the Modbus parity code, whose last two characters
// are read. The watchdog time-out shows its last three digits, however many it has.
constexpr size_t kSlotTableChars = 16;
constexpr size_t kWdtEnablesChars = 2;
constexpr size_t kProtocolAt = 3;
constexpr size_t kParityAt = 3;
constexpr size_t kWdtTimeoutShown = 3;

bool EndsInTimeout(const std::string& data)
{
    return data.size() >= kWdtTimeoutShown && data.size() <= kWdtTimeoutShown + kReplyWiderBy &&
           std::ranges::all_of(data.substr(data.size() - kWdtTimeoutShown), IsUpperHexDigit);
}

} // namespace

BEGIN_MESSAGE_MAP(CV1333E, CRackDlg)
ON_BN_CLICKED(rack_main::IDC_UPDATE, OnUpdate)
ON_CHANNEL_BOXES(rack_main::kWdtBoxIds, OnEnableSlotWdt)
ON_NOTIFY(NM_DBLCLK, rack_main::IDC_LIST, OnDblclkSlotList)
ON_BN_CLICKED(rack_main::IDC_CANCEL, OnCancel)
ON_BN_CLICKED(rack_main::IDC_REFRESH, OnRefresh)
END_MESSAGE_MAP()

CV1333E::CV1333E(CWnd*) : CRackDlg(IDD_RACK_MAIN, nullptr) {}

void CV1333E::DoDataExchange(CDataExchange* pDX)
{
    for (int slot = 0; slot < 8; ++slot)
        DDX_Check(pDX, rack_main::kWdtBoxIds[slot], m_bSlotWdt[static_cast<size_t>(slot)]);
}

BOOL CV1333E::OnInitDialog()
{
    CDialog::OnInitDialog();
    InitRackContext();
    const RackParamBlock& rack = m_pMainFrame->m_strRackParams;
    std::string decimal = Format("%d", static_cast<short>(StrToLong(m_strAddress, 16)));
    SetDlgItemText(rack_main::IDC_ADDRESS, decimal);
    EnableConfiguration(decimal == "0");

    int baudRow = RowOfCode(BaudCodeTable, rack[kBrate]);
    GetDlgItemAs<CComboBox>(rack_main::IDC_BAUD)->SetCurSel(baudRow);
    DWORD baud = baudRow < 0 ? kBaudWithoutCode : BaudRateOfRow(baudRow);
    GetDlgItemAs<CComboBox>(rack_main::IDC_CHECKSUM)->SetCurSel(m_bChecksum ? 0 : 1);

    auto* list = GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST);
    list->InsertColumn(kColModule, "Module", LVCFMT_LEFT, 80);
    list->InsertColumn(kColSlot, "Slot", LVCFMT_LEFT, 80);
    list->InsertColumn(kColDescription, "Description", LVCFMT_LEFT, 350);

    if (!OpenAsciiLine(baud)) return FALSE;
    m_nCommand = m_nLastCommand = kReadSlots;
    SendAscii(Request('$', "T"), kOpenTimeout);
    SetTimer(m_nTimerId, kPollPeriod);
    return TRUE;
}

void CV1333E::EnableConfiguration(bool enable)
{
    for (int id : kConfigurationControls) GetDlgItem(id)->EnableWindow(enable);
    GetDlgItem(rack_main::IDC_ADDRESS)->EnableWindow(FALSE);
}

void CV1333E::EnableWatchdog()
{
    bool timeout = !Failed(kReadWdtTimeout);
    bool enables = !Failed(kReadWdtEnables);
    GetDlgItem(rack_main::IDC_WDT_TIMEOUT)->EnableWindow(timeout);
    for (int id : rack_main::kWdtBoxIds) GetDlgItem(id)->EnableWindow(enables);
    GetDlgItem(rack_main::IDC_REFRESH)->EnableWindow(timeout && enables);
}

bool CV1333E::Failed(int step) const
{
    return (m_nFailedReads & BitOfRead(step)) != 0;
}

int CV1333E::NextOpeningRead(int step) const
{
    auto at = static_cast<size_t>(std::ranges::find(kOpeningReads, step) - kOpeningReads);
    for (size_t k = 1; k <= kReads; ++k) {
        int read = kOpeningReads[(at + k) % kReads];
        bool firstTime = !m_bSequenceRun && at + k < kReads;
        if (firstTime || (m_nMissedReads & BitOfRead(read))) return read;
    }
    return kIdle;
}

void CV1333E::OpeningReadDone(int step, bool fits)
{
    unsigned bit = BitOfRead(step);
    bool missed = !fits && !ReplyFits('?', 0);
    m_nFailedReads = fits ? m_nFailedReads & ~bit : m_nFailedReads | bit;
    m_nMissedReads = missed ? m_nMissedReads | bit : m_nMissedReads & ~bit;
    // The first time through, a read's reply chooses the next read whatever the operator pressed
    // meanwhile; a read asked again gives way to the operator's step.
    if (!m_bSequenceRun || m_nCommand == step) m_nCommand = NextOpeningRead(step);
    if (step == kReadWdtEnables) m_bSequenceRun = true;
}

std::optional<std::string> CV1333E::ParityOfReply() const
{
    std::optional<std::string> data = DataReaching('>', kParityAt + 2);
    if (!data || !data->starts_with(m_strAddress)) return std::nullopt;
    return data->substr(kParityAt, 2);
}

bool CV1333E::ReadReply(int step)
{
    switch (step) {
    case kReadSlots: {
        bool fits = FittingData('!', kSlotTableChars).has_value();
        if (fits) FillSlotList(ReplyOf('!').value_or(""));
        OpeningReadDone(step, fits);
        return true;
    }
    case kReadConfiguration: {
        std::optional<std::string> data = DataReaching('!', kProtocolAt + 1);
        int row = data ? RowOfCode(kRackProtocolDigits, data->substr(kProtocolAt, 1)) : -1;
        if (row >= 0) {
            GetDlgItemAs<CComboBox>(rack_main::IDC_PROTOCOL)->SetCurSel(row);
            GetDlgItem(rack_main::IDC_MODBUS_PARITY)->EnableWindow(row == 1);
        }
        OpeningReadDone(step, data.has_value());
        return true;
    }
    case kReadParity: {
        std::optional<std::string> parity = ParityOfReply();
        int row = parity ? RowOfCode(kRackParityReadCodes, *parity) : -1;
        if (row >= 0) GetDlgItemAs<CComboBox>(rack_main::IDC_MODBUS_PARITY)->SetCurSel(row);
        OpeningReadDone(step, parity.has_value());
        return true;
    }
    case kReadWdtTimeout: {
        std::optional<std::string> timeout = ReplyDataOf('!', EndsInTimeout);
        if (timeout)
            SetDlgItemText(rack_main::IDC_WDT_TIMEOUT,
                           Right(*timeout, static_cast<int>(kWdtTimeoutShown)));
        OpeningReadDone(step, timeout.has_value());
        EnableWatchdog();
        return false;
    }
    case kReadWdtEnables: {
        std::optional<std::string> enables = FittingData('!', kWdtEnablesChars);
        if (enables) SetWdtFlags((*enables)[1], (*enables)[0]);
        OpeningReadDone(step, enables.has_value());
        EnableWatchdog();
        return false;
    }
    case kWriteParity:
        // Only the unit's own acknowledgement: noise or another's reply is no answer.
        m_bParityAnswered = Acknowledged();
        m_nCommand = kWriteConfiguration;
        return true;
    case kWriteConfiguration:
        m_nCommand = kNone;
        ShowConfigurationResult(m_bParityAnswered && Acknowledged());
        OnCancel();
        return false;
    case kWriteWdtTimeout:
        if (!Acknowledged()) return false; // sent again on the next tick
        BuildWdtMask();
        m_nCommand = kWriteWdtEnables;
        return true;
    case kWriteWdtEnables:
        m_nCommand = kNone;
        TickMessageBox(Acknowledged() ? "Update WDT Setting OK!" : "Update WDT Setting Fail!",
                       "Setting", MB_ICONEXCLAMATION);
        OnCancel();
        return false;
    default:
        return true;
    }
}

std::string CV1333E::StepRequest()
{
    switch (m_nCommand) {
    case kReadSlots:
        return Request('$', "T");
    case kReadConfiguration:
        return Request('$', "2");
    case kReadParity:
        return Request('$', "OU");
    case kReadWdtTimeout:
        return Request('$', "XR");
    case kReadWdtEnables:
        return Request('$', "XER");
    case kWriteParity: {
        int row = GetDlgItemAs<CComboBox>(rack_main::IDC_MODBUS_PARITY)->GetCurSel();
        return Request('#', "OU" + CodeOfRow(kRackParityWriteCodes, row));
    }
    case kWriteConfiguration:
        return m_strConfigCommand;
    case kWriteWdtTimeout:
        return Request('$', "X" + GetDlgItemText(rack_main::IDC_WDT_TIMEOUT));
    case kWriteWdtEnables:
        return Request('$', "XEW" + m_strWdtEnableMask);
    default:
        return {};
    }
}

void CV1333E::OnUpdate()
{
    // The configuration carries a code of each list: none goes out without its row.
    if (!ListsChosen({{rack_main::IDC_BAUD, "BaudRate"},
                      {rack_main::IDC_CHECKSUM, "CheckSum"},
                      {rack_main::IDC_PROTOCOL, "Protocol"}}))
        return;
    m_pMainFrame = GetMainFrame();
    UpdateData(TRUE);
    long address = static_cast<short>(StrToLong(GetDlgItemText(rack_main::IDC_ADDRESS), 10));
    m_strAddress = Format("%02lX", address & 0xFFFF);
    std::string baud =
        CodeOfRow(BaudCodeTable, GetDlgItemAs<CComboBox>(rack_main::IDC_BAUD)->GetCurSel());
    std::string checksum = CodeOfRow(kRackChecksumDigits,
                                     GetDlgItemAs<CComboBox>(rack_main::IDC_CHECKSUM)->GetCurSel());
    std::string protocol = CodeOfRow(kRackProtocolDigits,
                                     GetDlgItemAs<CComboBox>(rack_main::IDC_PROTOCOL)->GetCurSel());
    m_strConfigCommand = Request('%', "00" + baud + checksum + protocol);
    m_nCommand = kWriteParity;
}

void CV1333E::OnRefresh()
{
    m_nCommand = kWriteWdtTimeout;
    m_nLastCommand = kNone;
}

void CV1333E::BuildWdtMask()
{
    m_strWdtEnableMask = FlagsToHex(m_bSlotWdt);
}

void CV1333E::SetWdtFlags(char low, char high)
{
    SetFlagsFromHex(std::string{high, low}, m_bSlotWdt);
    UpdateData(FALSE);
}

void CV1333E::FillSlotList(const std::string& reply)
{
    auto* list = GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST);
    for (const SSlotRow& row : ParseSlotTable(reply)) {
        int item = list->InsertItem(list->GetItemCount(), row.strModule);
        list->SetItemText(item, kColSlot, row.strSlot);
        list->SetItemText(item, kColDescription, row.strDescription);
    }
}

void CV1333E::OnDblclkSlotList()
{
    KillTimer(m_nTimerId);
    // With no row selected there is nothing to open.
    auto* list = GetDlgItemAs<CListCtrl>(rack_main::IDC_LIST);
    int item = list->GetNextSelectedItem();
    if (item < 0) return;
    std::string module = list->GetItemText(item, kColModule);
    RunSlotDialog(SlotKindOf(module), module, list->GetItemText(item, kColSlot));
}

void CV1333E::RunSlotDialog(ESlotKind kind, const std::string& module, const std::string& slot)
{
    for (const SSlotDialog& entry : kSlotDialogs) {
        if (entry.eKind != kind) continue;
        ModuleParamBlock& block = m_pMainFrame->*entry.pBlock;
        if (entry.bAnalogInput) {
            block[kSlotAnalogModule] = module;
        } else {
            block[kSlotAddress] = m_strAddress;
            block[kSlotAnalogModule] = "";
            block[kSlotModule] = module;
        }
        block[kSlotNumber] = slot;
        if (auto dlg = CreateModuleDialog(entry.pszClass)) dlg->DoModal();
        return;
    }
}
