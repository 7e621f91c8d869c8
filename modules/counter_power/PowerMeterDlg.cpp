#include "PowerMeterDlg.h"

#include "CounterPowerIds.h"
#include "ModelName.h"
#include "PowerMeterReadings.h"
#include "Resource.h"

CPowerMeterDlg::CPowerMeterDlg(const SModuleDescriptor& descriptor) : CModuleDlg(descriptor) {}

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
    return ModelHas(m_strModuleName, "6539");
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
