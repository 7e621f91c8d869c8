// The one-, two- and four-channel analog-output dialog over Modbus RTU: the output registers as
// the module reports them, outputs set with a slider (or typed on CH1 of the two-channel models),
// and one configuration change: a new slave address or the switch to ASCII.
#pragma once

#include "AnalogOutputDlg.h"

class CM6359Modbus : public CAnalogOutputDlg {
public:
    explicit CM6359Modbus(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void PollStep() override;

    void OnSetting();

    // What the next tick sends (m_nCommand) and whose reply it reads (m_nLastCommand); writes are
    // kCmdWriteCh0 + channel, their echo read on the next tick whatever m_nLastCommand says.
    enum : int {
        kCmdRead = 0,
        kCmdConfigure = 1,
        kCmdRestart = 2, // the value cycle starts again at channel 0
        kCmdReadCh1Range = 3,
        kLastNone = 0, // nothing read yet: the two-channel models read CH1's range first
        kLastCycle = 1,
        kLastCh1Range = 3,
        kLastConfigure = 100,
    };

    int m_nOutputKind = -1; // not set until a range code is read

    DECLARE_MESSAGE_MAP()

protected:
    std::string SliderText(int position) const override;

private:
    // A range code for the range lists and the output kind, and (but on the four-channel models)
    // every channel's labels and the given sliders; other codes change nothing.
    void ApplyRangeCode(const std::string& code, int sliders);
    void RawSetUp();
    std::string ValueRead() const;
    std::string FourChannelStep();
    std::string CycleStep();
    void ShowFourValues();
    void ShowCycleValue();
    std::string OutputWrite(int channel) const;
    bool SettleLastWrite();
    void Send(const std::string& request);

    int m_nWriteSent = 0; // the output write whose echo the next tick reads
    std::string m_strWriteRequest;
};
