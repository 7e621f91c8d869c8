#include "PerChannelTypes.h"

BEGIN_MESSAGE_MAP(CPerChannelTypeDlg, CModuleDlg)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 0, OnSelchangeType<0>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 1, OnSelchangeType<1>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 2, OnSelchangeType<2>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 3, OnSelchangeType<3>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 4, OnSelchangeType<4>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 5, OnSelchangeType<5>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 6, OnSelchangeType<6>)
ON_CBN_SELCHANGE(IDC_PC_TYPE0 + 7, OnSelchangeType<7>)
END_MESSAGE_MAP()

CPerChannelTypeDlg::CPerChannelTypeDlg(const SModuleDescriptor& descriptor, SChannelRows rows,
                                       CodeTable typeCodes)
    : CModuleDlg(descriptor), m_rows(rows), m_typeCodes(std::move(typeCodes))
{
}

void CPerChannelTypeDlg::DoDataExchange(CDataExchange* pDX)
{
    for (int k = 0; k < Channels(); ++k) {
        int id = m_rows.checkIds[static_cast<size_t>(k)];
        if (id) DDX_Check(pDX, id, m_bChannelEnabled[static_cast<size_t>(k)]);
    }
    DDX_Text(pDX, IDC_PC_RESPOND, m_strRespond);
}

void CPerChannelTypeDlg::ToggleChannel(int k)
{
    auto i = static_cast<size_t>(k);
    if (!m_mask.Toggle(k)) {
        CheckDlgButton(m_rows.checkIds[i], static_cast<UINT>(m_bChannelEnabled[i]));
        SetDlgItemText(m_nMaskStatus, kMaskNotRead);
        return;
    }
    BuildEnableMask();
}

void CPerChannelTypeDlg::ParseEnableMask(char low, char high)
{
    ShowEnableMask(ChannelMaskBits(low, high));
}

void CPerChannelTypeDlg::ReadMaskAnswer(const std::optional<std::array<bool, 8>>& bits,
                                        bool bRefused)
{
    if (bits || bRefused) {
        ShowEnableMask(bits.value_or(std::array<bool, 8>{}));
        return;
    }
    ForgetEnableMask();
}

void CPerChannelTypeDlg::ForgetEnableMask()
{
    bool dropped = QueuedCommand() == kCmdWriteMask;
    if (dropped) DropQueuedCommand();
    m_mask.Forget(dropped);
    if (dropped) {
        UpdateData(FALSE);
        SetDlgItemText(m_nMaskStatus, kMaskNotRead);
    }
}

void CPerChannelTypeDlg::ShowEnableMask(const std::array<bool, 8>& bits)
{
    m_mask.Read(bits, Channels());
    UpdateData(FALSE);
    SetDlgItemText(IDC_PC_ADDRESS, m_strAddressDecimal);
    // The boxes are usable now: a refused click's excuse no longer holds.
    if (GetDlgItemText(m_nMaskStatus) == kMaskNotRead) SetDlgItemText(m_nMaskStatus, "");
}

void CPerChannelTypeDlg::BuildEnableMask()
{
    m_strEnableMask = m_mask.Text();
    QueueWrite(kCmdWriteMask);
}

std::string CPerChannelTypeDlg::MaskWriteGoesOut()
{
    m_strEnableMask = m_mask.Send();
    return m_strEnableMask;
}

EWriteAnswer CPerChannelTypeDlg::SettleMaskWrite(EWriteAnswer answer)
{
    answer = SettleWrite(kCmdWriteMask, answer);
    if (answer == EWriteAnswer::Heard) {
        m_mask.Heard();
    } else if (answer == EWriteAnswer::Refused && !WritePending(kCmdWriteMask)) {
        m_mask.Refused();
        UpdateData(FALSE);
    }
    return answer;
}

void CPerChannelTypeDlg::ShowChannelValue(int channel, int row, const std::string& text)
{
    if (row == 0) SetDlgItemText(m_rows.valueIds[static_cast<size_t>(channel)], text);
}

bool CPerChannelTypeDlg::ChannelShown(int channel) const
{
    auto k = static_cast<size_t>(channel);
    return m_rows.checkIds[k] == 0 || m_bChannelEnabled[k] == 1;
}

int CPerChannelTypeDlg::TypeRow(int channel) const
{
    return GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + channel)->GetCurSel();
}

std::string CPerChannelTypeDlg::TypeCode(int channel) const
{
    return CodeOfRow(m_typeCodes, TypeRow(channel));
}

void CPerChannelTypeDlg::SelectTypeRow(int channel, int row)
{
    GetDlgItemAs<CComboBox>(IDC_PC_TYPE0 + channel)->SetCurSel(row);
}

void CPerChannelTypeDlg::PrepareTypeWrite(int channel)
{
    m_nTypeChannel = channel;
    m_strTypeCode = TypeCode(channel);
}

void CPerChannelTypeDlg::QueueTypeWrite(int channel)
{
    if (channel >= Channels() || TypeCode(channel).empty()) return;
    QueueWrite(TypeWriteCommand(channel));
}

int CPerChannelTypeDlg::TypeWriteChannel(int nCommand) const
{
    int channel = nCommand - kCmdWriteType;
    return channel >= 0 && channel < Channels() ? channel : -1;
}

void CPerChannelTypeDlg::ShowModuleType(int channel, const std::string& code)
{
    int row = RowOfCode(m_typeCodes, code);
    m_nModuleTypeRow[static_cast<size_t>(channel)] = row;
    if (row >= 0 && !WritePending(TypeWriteCommand(channel))) SelectTypeRow(channel, row);
}

EWriteAnswer CPerChannelTypeDlg::SettleTypeWrite(EWriteAnswer answer)
{
    int channel = m_nTypeChannel;
    answer = SettleWrite(TypeWriteCommand(channel), answer);
    if (answer == EWriteAnswer::Heard)
        m_nModuleTypeRow[static_cast<size_t>(channel)] = RowOfCode(m_typeCodes, m_strTypeCode);
    else if (answer == EWriteAnswer::Refused && !WritePending(TypeWriteCommand(channel)))
        SelectTypeRow(channel, ModuleTypeRow(channel));
    return answer;
}
