#include "RtdRangeModbus.h"

#include "ModelName.h"
#include "Strings.h"
#include "rtd/RtdIds.h"
#include "rtd/RtdModbusTables.h"

namespace {

inline constexpr int kCrcRow = 2;
inline constexpr int kDisableRow = 1;

// The block keeps the model name first, the address in hex without leading zeros, the baud code,
// the format digit and the checksum digit.
inline constexpr SBlockLayout kLayout = {.address = ParamEntry(1),
                                         .brate = ParamEntry(2),
                                         .check = ParamEntry(4),
                                         .script = ParamEntry(5),
                                         .format = ParamEntry(3),
                                         .module = ParamEntry(0)};

SPerChannelModbusSetup SetupOf(const SRtdRangeModbusModel& model)
{
    return {
        .descriptor =
            {
                .nTemplate = model.nTemplate,
                .pBlock = model.pBlock,
                .pChanged = &CMainFrame::m_bRtdInputChanged,
                .eLink = ELinkKind::Rtu,
                .boxes = {IDC_PC_ADDRESS, IDC_PC_BAUD, IDC_PC_CHECKSUM, IDC_RTDM_RANGE,
                          IDC_PC_FORMAT, IDC_PC_PROTOCOL},
                .pRangeCodes = &Rtd6307Ranges().codes,
                .pFormatCodes = &FormatDigitTable,
                .layout = kLayout,
            },
        .typeCodes = Rtd6307Ranges().codes,
        .scales = kRtdModbusRangeScales,
        .rows = {model.nChannels, {}, kRtdmValueIds},
        .ids = {.nList = IDC_PC_LIST, .nProtocol = IDC_PC_PROTOCOL},
        .startReads = {EStartRead::Range},
        .nPeriod = model.nPeriod,
        .nMinData = model.nMinData,
        .nBlanksAfterReference = 9,
        .nBlanksAfterChannel = 13,
        .nRangeBox = IDC_RTDM_RANGE,
        .bKeepOnShortData = true,
        // The switch to ASCII writes nothing back.
        .setting = {.bSwitchWritesBack = false, .bBoxBehindPolling = true},
    };
}

} // namespace

BEGIN_MESSAGE_MAP(CRtdRangeModbusDlg, CPerChannelModbusDlg)
ON_BN_CLICKED(IDC_PC_UPDATE, OnUpdate)
ON_BN_CLICKED(IDC_PC_CANCEL, OnCancel)
END_MESSAGE_MAP()

CRtdRangeModbusDlg::CRtdRangeModbusDlg(const SRtdRangeModbusModel& model)
    : CPerChannelModbusDlg(SetupOf(model)), m_pszModel(model.pszModel)
{
}

void CRtdRangeModbusDlg::EnableSettingsBoxes()
{
    SetDlgItemText(IDC_RTDM_MODEL, m_strModuleName);
    // The module's checksum is its CRC here.
    GetDlgItemAs<CComboBox>(IDC_PC_CHECKSUM)->SetCurSel(kCrcRow);
    if (!ModelHas(m_strModuleName, m_pszModel)) return;
    for (int id : {int{IDC_PC_CHECKSUM}, int{IDC_PC_BAUD}, int{IDC_RTDM_RANGE}, int{IDC_PC_FORMAT}})
        GetDlgItem(id)->EnableWindow(FALSE);
    for (size_t k = static_cast<size_t>(Channels()); k < 6; ++k)
        GetDlgItem(kRtdmValueIds[k])->EnableWindow(FALSE);
}

void CRtdRangeModbusDlg::OnUpdate()
{
    UpdateData(TRUE);
    std::optional<SSettingsChoice> choice = ReadSettings({});
    if (!choice) return;
    Texts params = ParamsOf(*choice);
    params[3] = std::nullopt;
    // "CRC" leaves the module's checksum setting as it is.
    int checksumRow = GetDlgItemAs<CComboBox>(IDC_PC_CHECKSUM)->GetCurSel();
    if (checksumRow != 0 && checksumRow != kDisableRow) params[2] = Entry(kCheck);
    QueueSetting(!choice->bModbus, choice->strAddress, RowTextsOf(*choice), params);
}
