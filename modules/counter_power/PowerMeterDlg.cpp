#include "PowerMeterDlg.h"

#include "ModelName.h"
#include "PowerMeterIds.h"
#include "PowerMeterReadings.h"
#include "Resource.h"

namespace {

inline constexpr int kFactoryBaudRow = 3; // 9600

} // namespace

CPowerMeterDlg::CPowerMeterDlg(UINT nIDTemplate, ELinkKind link)
    : CModuleDlg(nIDTemplate, &CMainFrame::m_strPowerMeterParams, link)
{
}

void CPowerMeterDlg::OnOK()
{
    OnCancel();
}

void CPowerMeterDlg::ShowReadingGroup(const std::string& group, const std::string& data)
{
    for (const SPmBoxText& box : ParseReadingGroup(group, data))
        SetDlgItemText(box.nBox, box.strText);
}

void CPowerMeterDlg::ShowDioState(const std::string& reply)
{
    SPmDioState state = DecodeDioState(reply);
    if (state.bInputLit) {
        GetDlgItemAs<CStatic>(IDC_PM_INPUT)->SetIcon(*state.bInputLit ? IDI_LAMP_ON : IDI_LAMP_OFF);
    }
    if (state.outputs) {
        m_bDoState = *state.outputs;
        ShowOutputLamps();
    }
}

bool CPowerMeterDlg::Is6539() const
{
    return ModelHasAny(m_strModuleName, {"6539", "4539"});
}

void CPowerMeterDlg::DisableCalibrationSteps()
{
    for (int id : kPmStepIds) GetDlgItem(id)->EnableWindow(FALSE);
}

void CPowerMeterDlg::InitLamps(bool bDigitalIo)
{
    for (int id : kPmLampIds) {
        if (bDigitalIo)
            GetDlgItemAs<CStatic>(id)->SetIcon(IDI_LAMP_UNUSED);
        else
            GetDlgItem(id)->EnableWindow(FALSE);
    }
    if (bDigitalIo) m_outputLamps.Attach(*this, {IDC_PM_OUTPUT0, IDC_PM_OUTPUT1});
}

void CPowerMeterDlg::ShowOutputLamps()
{
    for (int bit = 0; bit < 2; ++bit)
        m_outputLamps.Show(bit, m_bDoState[static_cast<size_t>(bit)] != 0);
}

DWORD CPowerMeterDlg::SelectBaudRow(int row)
{
    if (BaudRateOfRow(row) == 0) row = kFactoryBaudRow;
    GetDlgItemAs<CComboBox>(IDC_PM_BAUD)->SetCurSel(row);
    return BaudRateOfRow(row);
}
