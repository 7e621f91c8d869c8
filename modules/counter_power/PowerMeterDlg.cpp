#include "PowerMeterDlg.h"

#include "CounterPowerIds.h"
#include "ModelName.h"
#include "PowerMeterReadings.h"
#include "Resource.h"

#include <algorithm>

CPowerMeterDlg::CPowerMeterDlg(const SModuleDescriptor& descriptor, WORD pollTimeout,
                               std::vector<SPmSettingCommand> settings)
    : CModuleDlg(descriptor), m_nPollTimeout(pollTimeout), m_settings(std::move(settings))
{
}

void CPowerMeterDlg::PollStep()
{
    TakeReply();
    if (AwaitsSettingReply()) {
        ReadSettingReply();
        return;
    }
    // Heard, refused or not heard, the cycle starts again after a write.
    if (SettleLastWrite()) {
        m_nLastCommand = kLastCycle;
        m_nCommand = kCmdRestartCycle;
    }
    // A reply to the cycle that is not the meter's own or does not fit its step (a refusal, an
    // exception, a reply of another group's length) is a missed exchange; any other reply, even a
    // spoilt one, goes to its reader (a write has been settled already).
    bool answered = AwaitsCycleReply() ? ModuleReplied() && CycleReplyFits() : !NothingCame();
    std::string request;
    if (answered) {
        ReadLastReply();
        ApplyQueuedCommand();
        request = RunCommand();
    } else if (std::optional<int> queued = QueuedCommand(); queued && SettingCommandOf(*queued)) {
        // A Setting made after a missed reply still goes out on the next tick.
        ApplyQueuedCommand();
        request = RunCommand();
    } else {
        // The cycle starts again; any other pending request waits for an answered tick.
        request = m_nCommand == kCmdRestartCycle ? RestartCycle() : CycleFromStart();
    }
    SendPoll(request);
}

std::string CPowerMeterDlg::RunCommand()
{
    if (const SPmSettingCommand* setting = SettingCommandOf(m_nCommand)) {
        m_nLastCommand = setting->nLastCommand;
        m_nCommand = kCmdRestartCycle;
        return ConfigurationGoesOut();
    }
    if (m_nCommand == kCmdRestartCycle) return RestartCycle();
    return RunOtherCommand();
}

std::string CPowerMeterDlg::RestartCycle()
{
    m_nCommand = kCmdCycle;
    return CycleFromStart();
}

std::string CPowerMeterDlg::CycleFromStart()
{
    m_nPollStep = 0;
    return GroupRequest(0);
}

std::string CPowerMeterDlg::GroupRequest(int group) const
{
    const SPmGroup& request = kPmGroups[static_cast<size_t>(group)];
    if (Descriptor().eLink == ELinkKind::Rtu) return m_strAddress + request.pszRtu;
    return Request('#', request.pszAscii);
}

void CPowerMeterDlg::SendPoll(const std::string& request)
{
    if (Descriptor().eLink == ELinkKind::Rtu)
        SendRtu(request, m_nPollTimeout);
    else
        SendAscii(request, m_nPollTimeout);
}

const SPmSettingCommand* CPowerMeterDlg::SettingCommandOf(int nCommand) const
{
    auto found = std::ranges::find(m_settings, nCommand, &SPmSettingCommand::nCommand);
    return found == m_settings.end() ? nullptr : &*found;
}

bool CPowerMeterDlg::AwaitsSettingReply() const
{
    return std::ranges::find(m_settings, m_nLastCommand, &SPmSettingCommand::nLastCommand) !=
           m_settings.end();
}

void CPowerMeterDlg::ShowReadingGroup(const std::string& group, const std::string& data)
{
    for (const SPmBoxText& box : ParseReadingGroup(group, data))
        SetDlgItemText(box.nBox, box.strText);
}

void CPowerMeterDlg::ShowDioState(const std::string& data)
{
    SPmDioState state = DecodeDioState(data);
    if (state.bInputLit) {
        GetDlgItemAs<CStatic>(IDC_PM_INPUT)->SetIcon(*state.bInputLit ? IDI_LAMP_ON : IDI_LAMP_OFF);
    }
    if (state.outputs) {
        m_reportedOutputs = *state.outputs;
        ShowReportedOutputs();
    }
}

void CPowerMeterDlg::ShowReportedOutputs()
{
    if (!m_reportedOutputs || OutputsPending()) return;
    m_bDoState = *m_reportedOutputs;
    ShowOutputLamps();
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
