#include "QueryDlg.h"

#include "AsciiCommand.h"
#include "AsciiReply.h"
#include "Clock.h"
#include "HexText.h"
#include "LinkTable.h"
#include "MainFrm.h"
#include "ModelName.h"
#include "ModelProbe.h"
#include "ModuleCodes.h"
#include "ModuleDialogs.h"
#include "ModuleFamilies.h"
#include "Resource.h"
#include "Strings.h"

#include <algorithm>
#include <memory>

namespace {

constexpr WORD kAsciiTimeoutMs = 200; // every request after the first
constexpr DWORD kHandOverMs = 100;    // ASCII line closed, before the RTU line opens
constexpr DWORD kProbeGapMs = 100;    // between the two probes
constexpr DWORD kReopenMs = 150;      // RTU line closed, before the ASCII line opens
constexpr DWORD kStopPauseMs = 150;
constexpr DWORD kOpenModulePauseMs = 100;
constexpr int kLastAddress = 255;
constexpr BYTE kDataBits = 8;
constexpr BYTE kStopBits = 1;

enum EScanPhase { kPhaseName = 0, kPhaseConfig = 1, kPhaseChannelType = 2 };

// The baud-rate boxes, by rate ascending.
constexpr int kBaudBoxes[kBaudRateCount] = {IDC_BAUD_1200,  IDC_BAUD_2400,  IDC_BAUD_4800,
                                            IDC_BAUD_9600,  IDC_BAUD_19200, IDC_BAUD_38400,
                                            IDC_BAUD_57600, IDC_BAUD_115200};

// Models with one input type per channel (and their 93xx twins), and the frame's list that takes
// their types. The name reply is the module's own name, tested as it stands.
struct SChannelTypeList {
    const char* pszModel;
    const char* pszTwin;
    ChannelTypeList CMainFrame::*pList;
    bool Matches(const std::string& nameReply) const
    {
        return RawModelHasAny(nameReply, {pszModel, pszTwin});
    }
};

const SChannelTypeList kChannelTypeLists[] = {
    {"6386P", "9386P", &CMainFrame::m_strChannelTypes6386P},
    {"6384P", "9384P", &CMainFrame::m_strChannelTypes6384P},
    {"6381", "9381", &CMainFrame::m_strChannelTypes6381},
    {"6382", "9382", &CMainFrame::m_strChannelTypes6382},
};

bool HasChannelTypes(const std::string& nameReply)
{
    for (const SChannelTypeList& list : kChannelTypeLists) {
        if (list.Matches(nameReply)) return true;
    }
    return false;
}

int ChannelCount(const std::string& nameReply)
{
    return RawModelHasAny(nameReply, {"6382", "9382"}) ? 6 : 8;
}

// A configuration reply's baud code "03" to "08" (1200 to 38400 baud) names the rate found; for any
// other code the rate the line is at stands.
std::string FoundBaudText(const std::string& configReply, int lineBaud)
{
    constexpr int kLastNamedRow = 5; // "08"
    int row = RowOfCode(BaudCodeTable, Mid(configReply, 5, 2));
    bool named = row >= 0 && row <= kLastNamedRow;
    return std::to_string(named ? static_cast<int>(BaudRateOfRow(row)) : lineBaud);
}

// A configuration reply carries hex digits where the search and its row read them from every
// unit: the type, the baud code and the checksum digit at 3 to 7 (a rack unit's checksum digit at
// 5 and format digit at 7).
bool IsConfiguration(const std::string& data)
{
    constexpr size_t kReadDigits = 5;
    return data.size() >= kReadDigits &&
           std::all_of(data.begin(), data.begin() + kReadDigits, IsUpperHexDigit);
}

// Whether the data after "!" and the address answers the request of that phase: a name, a
// configuration, or the type of that channel.
bool AnswersPhase(const std::string& data, int phase, int channel)
{
    switch (phase) {
    case kPhaseName:
        return !data.empty();
    case kPhaseConfig:
        return IsConfiguration(data);
    default:
        return ChannelCodeOfReplyData(data, channel).has_value();
    }
}

// "$AA" + body, framed with its carriage return; the link appends the checksum digits itself.
std::string Request(int address, const std::string& body)
{
    return AsciiCommand('$', ByteToHexPair(address), body, false);
}

} // namespace

BEGIN_MESSAGE_MAP(CQueryDlg, CDialog)
ON_BN_CLICKED(IDOK, OnSearch)
ON_BN_CLICKED(IDC_STOP, OnStop)
ON_BN_CLICKED(IDC_SAVE, OnSave)
ON_BN_CLICKED(IDC_BAUD_1200, OnBaudBox<0>)
ON_BN_CLICKED(IDC_BAUD_2400, OnBaudBox<1>)
ON_BN_CLICKED(IDC_BAUD_4800, OnBaudBox<2>)
ON_BN_CLICKED(IDC_BAUD_9600, OnBaudBox<3>)
ON_BN_CLICKED(IDC_BAUD_19200, OnBaudBox<4>)
ON_BN_CLICKED(IDC_BAUD_38400, OnBaudBox<5>)
ON_BN_CLICKED(IDC_BAUD_57600, OnBaudBox<6>)
ON_BN_CLICKED(IDC_BAUD_115200, OnBaudBox<7>)
ON_BN_CLICKED(IDC_CHECKSUM_ENABLE, OnChecksumEnable)
ON_BN_CLICKED(IDC_CHECKSUM_DISABLE, OnChecksumDisable)
ON_CBN_SELCHANGE(IDC_PARITY, OnParityChange)
ON_NOTIFY(NM_DBLCLK, IDC_RESULT_LIST, OnOpenModule)
END_MESSAGE_MAP()

CQueryDlg::CQueryDlg(CMainFrame* pMainFrame)
    : CDialog(IDD_SEARCH, pMainFrame), m_pMainFrame(pMainFrame)
{
}

void CQueryDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RESULT_LIST, m_listResult);
    DDX_Control(pDX, IDC_COM_PORT, m_comboComPort);
    DDX_Control(pDX, IDC_TIMEOUT, m_comboTimeout);
    DDX_Control(pDX, IDC_PARITY, m_comboParity);
    DDX_Control(pDX, IDC_PROGRESS, m_progressScan);
    DDX_Control(pDX, IDOK, m_buttonSearch);
    for (int i = 0; i < kBaudRateCount; ++i) DDX_Check(pDX, kBaudBoxes[i], m_bBaudTicked[i]);
}

BOOL CQueryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_bAsciiOpen = false;
    m_bRtuOpen = false;
    m_bFoundAscii = false;
    m_bFoundRtu = false;
    m_bTryModbus = false;

    std::string path = SearchSettingsPath();
    std::optional<SSearchSettings> settings = ReadSearchSettings(path);
    if (!settings) {
        // The controls keep their template state; a search then runs on the defaults.
        MessageBox(path, "INFO", MB_ICONEXCLAMATION);
        return TRUE;
    }
    for (int i = 0; i < kBaudRateCount; ++i) m_bBaudTicked[i] = settings->bTicked[i];
    bool timeoutKnown = settings->nTimeoutEntry >= 0 && settings->nTimeoutEntry <= 3;
    if (timeoutKnown) m_nTimeout = kTimeoutChoices[settings->nTimeoutEntry];
    SetScanning(false);

    m_comboComPort.SetCurSel(settings->nComEntry);
    m_comboParity.SetCurSel(0);
    m_comboTimeout.SetCurSel(timeoutKnown ? settings->nTimeoutEntry : -1);
    m_pMainFrame->m_nParity = 0;
    if (settings->nChecksum == 0 || settings->nChecksum == 1) {
        m_nChecksum = settings->nChecksum;
        CheckDlgButton(IDC_CHECKSUM_ENABLE, m_nChecksum == 1);
        CheckDlgButton(IDC_CHECKSUM_DISABLE, m_nChecksum == 0);
    }

    m_progressScan.SetRange(0, 255);
    m_progressScan.SetStep(2);
    m_progressScan.StepIt();
    UpdateData(FALSE);
    m_listResult.InsertItem(0, "");
    return TRUE;
}

void CQueryDlg::OnCancel()
{
    g_bDialogClosed = 1;
    if (m_nPort != 0) Link().Close_ComAscii(Port());
    CDialog::OnCancel();
}

void CQueryDlg::OnTimer(UINT_PTR nIDEvent)
{
    ScanStep();
    CDialog::OnTimer(nIDEvent);
}

// ---- controls

int CQueryDlg::SelectedComPort() const
{
    std::string text = m_comboComPort.GetWindowText();
    if (text.empty()) return 1;
    std::string digits = Mid(text, 3);
    bool named = Left(text, 3) == "COM" && !digits.empty() && digits.size() <= 3 &&
                 digits.find_first_not_of("0123456789") == std::string::npos;
    long port = named ? StrToLong(digits, 10) : 0;
    return port >= 1 && port <= 255 ? static_cast<int>(port) : 0;
}

BYTE CQueryDlg::SelectedParity() const
{
    int parity = m_comboParity.GetCurSel();
    return static_cast<BYTE>(parity < 0 ? 0 : parity);
}

void CQueryDlg::SetScanning(bool bScanning)
{
    m_buttonSearch.EnableWindow(!bScanning);
    GetDlgItem(IDCANCEL)->EnableWindow(!bScanning);
    GetDlgItem(IDC_SAVE)->EnableWindow(!bScanning);
    GetDlgItem(IDC_STOP)->EnableWindow(bScanning);
}

void CQueryDlg::AdvanceProgress()
{
    m_progressScan.SetPos(m_progressScan.GetPos() + 1);
}

template <int nRate> void CQueryDlg::OnBaudBox()
{
    m_bBaudTicked[nRate] = !m_bBaudTicked[nRate];
    CheckDlgButton(kBaudBoxes[nRate], m_bBaudTicked[nRate]);
}

void CQueryDlg::OnChecksumEnable()
{
    m_nChecksum = 1;
}
void CQueryDlg::OnChecksumDisable()
{
    m_nChecksum = 0;
}
void CQueryDlg::OnParityChange()
{
    m_pMainFrame->m_nParity = m_comboParity.GetCurSel();
}

void CQueryDlg::OnSave()
{
    SSearchSettings settings;
    int port = SelectedComPort();
    settings.nComEntry = port > 0 ? port - 1 : 0;
    for (int i = 0; i < kBaudRateCount; ++i) settings.bTicked[i] = m_bBaudTicked[i];
    settings.nTimeoutEntry = std::max(0, m_comboTimeout.GetCurSel());
    settings.nChecksum = m_nChecksum;
    if (!WriteSearchSettings(SearchSettingsPath(), FormatSearchSettings(settings))) {
        MessageBox("文件出错!", "INFO", MB_ICONEXCLAMATION);
    }
}

// ---- the search

void CQueryDlg::OnSearch()
{
    g_bDialogClosed = 0;
    // A Stop clicked while no search ran must not end this one.
    m_bStopRequested = false;
    m_progressScan.SetPos(0);
    m_nBaudList.fill(0);
    m_nBaudCount = 0;
    m_listResult.DeleteAllItems();

    int timeoutEntry = m_comboTimeout.GetCurSel();
    if (timeoutEntry >= 0 && timeoutEntry <= 3) m_nTimeout = kTimeoutChoices[timeoutEntry];
    int port = SelectedComPort();
    if (port != 0) m_pMainFrame->m_nComPort = port;
    SetScanning(true);

    for (int i = 0; i < kBaudRateCount; ++i) {
        if (m_bBaudTicked[i]) m_nBaudList[m_nBaudCount++] = static_cast<int>(BaudRateOfRow(i));
    }
    if (m_nBaudCount == 0) {
        MessageBox("请选波特率!", "提示", MB_ICONEXCLAMATION);
        SetScanning(false);
        return;
    }
    m_nBaudIndex = 0;
    m_bFirstRateProbed = false;
    if (port == 0 || OpenAscii(port, m_nBaudList[0]) != 0) {
        MessageBox("Open Com Error!", nullptr, MB_OK);
        SetScanning(false);
        return;
    }
    m_bAsciiOpen = true;
    m_nPort = port;
    m_nScanPhase = kPhaseName;
    m_nScanAddress = 0;
    m_nChannel = 0;
    Exchange(WithoutCr(Request(0, "M")), static_cast<WORD>(m_nTimeout));
    SetTimer(kScanTimer, kScanTickMs);
}

void CQueryDlg::OnStop()
{
    m_progressScan.SetPos(0);
    m_bStopRequested = true;
}

void CQueryDlg::ScanStep()
{
    if (m_bStopRequested) {
        StopTick();
        return;
    }
    std::string request;
    bool ask = m_nLastResult == 1 ? ReadAnswer(request) : ProbeModbus(request);
    if (ask) SendRequest(request);
}

WORD CQueryDlg::OpenAscii(int nPort, int nRate)
{
    m_nLineBaud = nRate;
    return Link().Open_ComAscii(static_cast<BYTE>(nPort), static_cast<DWORD>(nRate), kDataBits,
                                SelectedParity(), 0);
}

void CQueryDlg::Exchange(const std::string& text, WORD timeoutMs)
{
    WORD length = 0;
    WORD result = Link().Send_Receive_Ascii(Port(), text.c_str(), m_szReply, timeoutMs,
                                            static_cast<WORD>(m_nChecksum), &length);
    m_szReply[sizeof m_szReply - 1] = '\0';
    bool answered = result == 0 && ReplyAnswers();
    m_nLastResult = answered ? 1 : -1;
    m_bTryModbus = !answered;
}

// Only a reply of the address asked, of the shape of the request's answer, is an answer: a
// refusal, an empty reply, a reply of another module and a late reply to another request are none.
bool CQueryDlg::ReplyAnswers() const
{
    std::string reply = m_szReply;
    // With the checksum on the module's reply ends in its digits; missing or wrong digits mean it
    // was corrupted on the line.
    if (m_nChecksum) {
        if (!EndsInItsChecksum(reply)) return false;
        reply.resize(reply.size() - 2);
    }
    std::optional<std::string> data = AsciiReplyData(reply, '!', ByteToHexPair(m_nScanAddress));
    return data && AnswersPhase(*data, m_nScanPhase, m_nChannel);
}

bool CQueryDlg::ReadAnswer(std::string& request)
{
    m_strReply = m_szReply;
    m_bTryModbus = false;
    switch (m_nScanPhase) {
    case kPhaseName:
        m_strNameReply = m_strReply;
        if (HasChannelTypes(m_strNameReply)) {
            m_nScanPhase = kPhaseChannelType;
            m_nChannel = 0;
            request = Request(m_nScanAddress, "8C0");
        } else {
            m_nScanPhase = kPhaseConfig;
            request = Request(m_nScanAddress, "2");
        }
        return true;
    case kPhaseConfig:
        return FinishAsciiFind(request);
    default:
        ReadChannelType(request);
        return true;
    }
}

bool CQueryDlg::FinishAsciiFind(std::string& request)
{
    m_strConfigReply = m_strReply;
    m_nScanPhase = kPhaseName;
    ++m_nScanAddress;
    if (m_nBaudIndex == -1) m_nBaudIndex = 0;
    // The rate the line is at, not the list's first: after a find the next address is asked at
    // the rate of that find.
    m_strBaudText = FoundBaudText(m_strConfigReply, m_nLineBaud);
    m_bFoundAscii = true;
    AddFoundModule(m_strNameReply, m_strConfigReply, m_strBaudText);
    if (m_nScanAddress > kLastAddress) {
        OnStop();
        return false;
    }
    AdvanceProgress();
    m_nBaudIndex = -1;
    request = Request(m_nScanAddress, "M");
    return true;
}

void CQueryDlg::ReadChannelType(std::string& request)
{
    std::string type = Mid(m_strReply, 6, 2);
    for (const SChannelTypeList& list : kChannelTypeLists) {
        if (list.Matches(m_strNameReply)) (m_pMainFrame->*list.pList)[m_nChannel] = type;
    }
    ++m_nChannel;
    if (m_nChannel < ChannelCount(m_strNameReply)) {
        request = Request(m_nScanAddress, "8C" + std::to_string(m_nChannel));
    } else {
        m_nScanPhase = kPhaseConfig;
        m_nChannel = 0;
        request = Request(m_nScanAddress, "2");
    }
}

bool CQueryDlg::ProbeModbus(std::string& request)
{
    // An address first asked at the rate of an ASCII find above the first rate is still to be
    // asked in ASCII at the first rate, once its probes there have failed.
    const bool bAskFirstRate = m_nBaudIndex == -1 && m_nLineBaud != m_nBaudList[0];
    if (m_nBaudIndex == -1) m_nBaudIndex = 0;
    int rate = m_nBaudList[m_nBaudIndex];
    std::optional<std::string> model;
    if (m_bFirstRateProbed) {
        // That ASCII trial went unanswered: the probes at the first rate ran already.
        m_bFirstRateProbed = false;
    } else {
        if (!OpenRtu(rate)) return false;
        model = ProbeModel(kProbeRegisterFirst);
        if (!model) {
            Sleep(kProbeGapMs);
            model = ProbeModel(kProbeRegisterSecond);
        }
    }
    if (model) {
        m_bFoundRtu = true;
        int address = m_nScanAddress++;
        m_nBaudIndex = 0;
        AdvanceProgress();
        AddFoundModule(*model, std::to_string(address), std::to_string(rate));
        m_bTryModbus = false;
    } else if (bAskFirstRate) {
        m_bFirstRateProbed = true;
    } else if (++m_nBaudIndex < m_nBaudCount) {
        // Its line may still be open: the trial at the first rate just above left it so.
        m_nLineBaud = m_nBaudList[m_nBaudIndex];
        Link().Change_BaudAscii(Port(), static_cast<DWORD>(m_nLineBaud));
    } else {
        m_nBaudIndex = 0;
        ++m_nScanAddress;
        AdvanceProgress();
    }
    // A name request follows, whatever answer an unanswered request left pending.
    m_nScanPhase = kPhaseName;
    m_nChannel = 0;
    if (m_nScanAddress > kLastAddress) {
        OnStop();
        return false;
    }
    request = Request(m_nScanAddress, "M");
    return true;
}

bool CQueryDlg::OpenRtu(int nRate)
{
    if (m_bAsciiOpen) {
        Link().Close_ComAscii(Port());
        m_bAsciiOpen = false;
        Sleep(kHandOverMs);
        if (Link().Open_ComRtu(Port(), static_cast<DWORD>(m_nTimeout), static_cast<DWORD>(nRate),
                               kDataBits, SelectedParity(), kStopBits) != 1) {
            FailRtuOpen();
            return false;
        }
    }
    m_bRtuOpen = true;
    return true;
}

std::optional<std::string> CQueryDlg::ProbeModel(WORD reg)
{
    auto address = static_cast<BYTE>(m_nScanAddress);
    std::vector<BYTE> reply;
    ExchangeRtu(Port(), ModelProbeRequest(address, reg), static_cast<WORD>(m_nTimeout), reply);
    std::optional<WORD> word = ModelProbeWord(reply, address);
    if (!word) return std::nullopt;
    return ModelProbeName(*word);
}

void CQueryDlg::SendRequest(const std::string& request)
{
    SetDlgItemText(IDC_SCAN_ADDRESS, ByteToHexPair(m_nScanAddress));
    if (m_nBaudIndex >= 0) SetDlgItemText(IDC_SCAN_BAUD, std::to_string(m_nBaudList[m_nBaudIndex]));
    std::string text = WithoutCr(request);
    if (m_bRtuOpen) {
        Link().Close_ComRtu(Port());
        m_bRtuOpen = false;
        Sleep(kReopenMs);
        // A line that did not open shows as an unanswered request on the next tick.
        OpenAscii(m_nPort, m_nBaudList[m_nBaudIndex]);
        m_bAsciiOpen = true;
    }
    Exchange(text, kAsciiTimeoutMs);
}

void CQueryDlg::CloseLinks()
{
    if (m_bRtuOpen) {
        Link().Close_ComRtu(Port());
        m_bRtuOpen = false;
    }
    if (m_bAsciiOpen) {
        Link().Close_ComAscii(Port());
        m_bAsciiOpen = false;
    }
}

void CQueryDlg::EndSearch()
{
    KillTimer(kScanTimer);
    SetScanning(false);
    m_bStopRequested = false;
}

void CQueryDlg::StopTick()
{
    CloseLinks();
    Sleep(kStopPauseMs);
    EndSearch();
}

// Without the RTU line the probes cannot go on: the search ends as Stop ends it. The timer stops
// first, so no tick runs while the box is up.
void CQueryDlg::FailRtuOpen()
{
    KillTimer(kScanTimer);
    MessageBox("Open Com Error!", nullptr, MB_OK);
    m_progressScan.SetPos(0);
    CloseLinks();
    EndSearch();
}

// ---- the result list

void CQueryDlg::AddFoundModule(std::string name, std::string second, std::string baud)
{
    SFoundModule found{std::move(name), std::move(second),   std::move(baud),
                       m_bFoundRtu,     m_nScanAddress == 1, m_nChecksum == 1};
    ResultRow row = BuildResultRow(found);
    int item = m_listResult.InsertItem(m_listResult.GetItemCount(), row[kColModule]);
    for (int column = kColModule + 1; column < kResultColumns; ++column) {
        m_listResult.SetItemText(item, column, row[column]);
    }
    m_bFoundAscii = false;
    m_bFoundRtu = false;
}

ResultRow CQueryDlg::ReadRow(int nItem) const
{
    ResultRow row;
    for (int column = 0; column < kResultColumns; ++column) {
        row[column] = m_listResult.GetItemText(nItem, column);
    }
    return row;
}

// ---- the open-module dispatch

void CQueryDlg::OnOpenModule()
{
    Sleep(kOpenModulePauseMs);
    // An enabled Stop button means a search is running; it keeps running without its line.
    if (GetDlgItem(IDC_STOP)->IsWindowEnabled()) {
        Link().Close_ComAscii(static_cast<BYTE>(m_pMainFrame->m_nComPort));
        MessageBox("Please Stop Searching!", nullptr, MB_OK);
        return;
    }
    int item = m_listResult.GetNextSelectedItem();
    if (item < 0) return;
    std::string name = m_listResult.GetItemText(item, kColModule);
    // Every family is tested, not only up to the first that matches.
    for (const SModuleFamily& family : ModuleFamilies()) {
        if (family.Matches(name)) OpenFamily(family, item);
    }
}

void CQueryDlg::OpenFamily(const SModuleFamily& family, int nItem)
{
    CMainFrame& frame = *m_pMainFrame;
    ResultRow row = ReadRow(nItem);
    family.FillBlock(frame, row);
    // A dialog writes back only some texts, or none: the others keep this row's own, not those an
    // earlier dialog left for another module, and only a flag raised by this dialog counts.
    frame.m_strNewRowText = {row[kColModule], row[kColAddressText], row[kColBaudrate],
                             row[kColChecksum], row[kColDescription]};
    for (int entry = kAddress; entry <= kFormat; ++entry) {
        frame.m_strNewParams[entry] = row[kColAddress + entry];
    }
    if (family.pChanged) frame.*family.pChanged = false;
    for (const SModuleDialogStep& step : family.ChooseDialogs(row)) {
        if (step.Fill) step.Fill(frame, row);
        if (std::unique_ptr<CDialog> dialog = CreateModuleDialog(step.pszClass)) dialog->DoModal();
    }
    if (family.pChanged && frame.*family.pChanged) {
        RewriteRow(nItem, family.bRewritesScript);
        frame.*family.pChanged = false;
    }
}

void CQueryDlg::RewriteRow(int nItem, bool bScript)
{
    const CMainFrame& frame = *m_pMainFrame;
    const int rowColumns[] = {kColModule, kColAddressText, kColBaudrate, kColChecksum,
                              kColDescription};
    for (int i = 0; i < 5; ++i)
        m_listResult.SetItemText(nItem, rowColumns[i], frame.m_strNewRowText[i]);
    for (int entry = kAddress; entry <= kFormat; ++entry) {
        if (entry == kScript && !bScript) continue;
        m_listResult.SetItemText(nItem, kColAddress + entry, frame.m_strNewParams[entry]);
    }
}
