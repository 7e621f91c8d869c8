#include "V1333M.h"

#include "LinkTable.h"
#include "ModuleCodes.h"
#include "ModuleDialogs.h"
#include "ModuleDlg.h"
#include "RackModbusIds.h"
#include "RackState.h"
#include "Strings.h"
#include "V1333Main.h"
#include "V1333RTUIO.h"
#include "V1384HM.h"

REGISTER_MODULE_DIALOG(CV1333M)

namespace {

constexpr UINT kPeriodMs = 300;
constexpr WORD kTimeoutMs = 100;
constexpr DWORD kDefaultBaud = 9600; // for a baud code the table lacks
constexpr int kTypeDigits = 32;      // registers 10000-10007
constexpr int kAddressDigits = 64;   // registers 10020-10035
constexpr int kAddressAt = 80;
const char* const kTabs[] = {"Main",  "Slot0", "Slot1", "Slot2", "slot3",
                             "Slot4", "Slot5", "Slot6", "Slot7"};
constexpr int kSlotViewIds[] = {IDC_RACK_START,     IDC_RACK_END,  IDC_RACK_START_LABEL,
                                IDC_RACK_END_LABEL, IDC_RACK_SLOT, IDC_RACK_SLOT_LABEL};
constexpr int kMainViewIds[] = {IDC_RACK_FIRMWARE, IDC_RACK_FIRMWARE_LABEL};

} // namespace

CV1333M::CV1333M(CWnd*) : CPollingDlg(IDD_V1333M, ELinkKind::Rtu)
{
    RackState().nCurrentSlot = -1;
}

CV1333M::~CV1333M() = default;

void CV1333M::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_RACK_TAB, m_tab);
    DDX_Text(pDX, IDC_RACK_MODULE, m_strModule);
    DDX_Text(pDX, IDC_RACK_FIRMWARE, m_strFirmware);
    DDX_Text(pDX, IDC_RACK_SLOT, m_strSlotNumber);
    DDX_Text(pDX, IDC_RACK_END, m_strEndAddress);
    DDX_Text(pDX, IDC_RACK_START, m_strStartAddress);
}

BOOL CV1333M::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pMainFrame = GetMainFrame();
    RackState().Reset();
    for (int i = 0; i < static_cast<int>(std::size(kTabs)); ++i) m_tab.InsertItem(i, kTabs[i]);
    m_strModule = kRackModuleName;

    m_tab.m_pMainPage = std::make_unique<CV1333Main>();
    m_tab.m_pMainPage->Create(IDD_V1333MAIN, &m_tab);
    m_tab.PlacePage(*m_tab.m_pMainPage, 1, 30, 2, 2);
    UpdateData(FALSE);

    const RackParamBlock& block = m_pMainFrame->m_strRackParams;
    m_strAddress = block[kAddress];
    int row = RowOfCode(BaudCodeTable, block[kBrate]);
    DWORD baud = row < 0 ? kDefaultBaud : BaudRateOfRow(row);
    if (Link().Open_ComRtu(static_cast<BYTE>(m_pMainFrame->m_nComPort), 100, baud, 8,
                           static_cast<BYTE>(m_pMainFrame->m_nParity), 1) != 1) {
        MessageBox(kOpenComError);
        return FALSE;
    }
    m_nPort = m_pMainFrame->m_nComPort;
    ReadSlotTable();
    if (!m_bTablePending) MessageBox(kInitializeError);
    SetTimer(m_nTimerId, kPeriodMs);
    return TRUE;
}

void CV1333M::ReadSlotTable()
{
    SendRtu(m_strAddress + "0327100026", kTimeoutMs);
    // The module's refusal carries no table, but it is the unit's answer; after silence or a reply
    // that does not answer the read the table is asked for again.
    m_bTablePending = RtuDataCame();
    m_bTableDue = !RtuDataCame() && !RtuRefused();
}

void CV1333M::ShowSlotView(bool bSlot)
{
    for (int id : kSlotViewIds) GetDlgItem(id)->ShowWindow(bSlot ? SW_SHOW : SW_HIDE);
    for (int id : kMainViewIds) GetDlgItem(id)->ShowWindow(bSlot ? SW_HIDE : SW_SHOW);
}

void CV1333M::RefreshSlotInfo()
{
    const CRackState& rack = RackState();
    int slot = rack.nCurrentSlot;
    bool slotView = slot >= 0 && slot < kRackSlots;
    ShowSlotView(slotView);
    if (slotView) {
        size_t s = static_cast<size_t>(slot);
        m_strModule = rack.strSlotModule[s];
        m_strSlotNumber = Format("%d", slot);
        m_strStartAddress = rack.strSlotStart[s];
        m_strEndAddress = rack.strSlotEnd[s];
    } else {
        m_strModule = kRackModuleName;
    }
    UpdateData(FALSE);

    TakeReply();
    m_strData = RtuDataCame() ? ModbusDataText() : "ERROR";
    if (m_bTablePending) {
        m_bTablePending = false;
        ParseSlotTypes(Left(m_strData, kTypeDigits));
        ParseSlotAddresses(Mid(m_strData, kAddressAt, kAddressDigits));
    }
    // No page uses the line before the table has been read.
    if (m_bTableDue) ReadSlotTable();
}

void CV1333M::ParseSlotTypes(const std::string& digits)
{
    CRackState& rack = RackState();
    SSlotTypes types = ::ParseSlotTypes(digits);
    m_strFirmware = types.strFirmware;
    m_strSlotCode = types.strCode;
    rack.strSlotModule = types.strModule;
    UpdateData(FALSE);

    // One page of each kind, created at the first slot that needs it and shared by all.
    auto needs = [&rack](bool (*kind)(const std::string&)) {
        for (const std::string& name : rack.strSlotModule)
            if (kind(name)) return true;
        return false;
    };
    if (needs(IsAnalogPageModule) && !m_tab.m_pAnalogPage) {
        m_tab.m_pAnalogPage = std::make_unique<CV1384HM>();
        m_tab.m_pAnalogPage->Create(IDD_V1384HM, &m_tab);
        rack.bAnalogPage = 1;
    }
    if (needs(IsDigitalPageModule) && !m_tab.m_pDigitalPage) {
        m_tab.m_pDigitalPage = std::make_unique<CV1333RTUIO>();
        m_tab.m_pDigitalPage->Create(IDD_V1333RTUIO, &m_tab);
        rack.bRtuIoPage = 1;
    }
}

void CV1333M::ParseSlotAddresses(const std::string& digits)
{
    CRackState& rack = RackState();
    SSlotAddresses addresses = ::ParseSlotAddresses(digits);
    rack.strSlotStart = addresses.strStart;
    rack.strSlotEnd = addresses.strEnd;
}

void CV1333M::OnCancel()
{
    // Once: after the window has ended, the line open is the next dialog's.
    if (!IsRunning()) return;
    KillTimer(m_nTimerId);
    Link().Close_ComRtu(static_cast<BYTE>(m_nPort));
    CDialog::OnCancel();
}

void CV1333M::OnDestroy()
{
    CDialog::OnDestroy();
    RackState().ClearSlots();
}
