// The eight-channel thermocouple dialog over Modbus RTU: the raw input registers as four hex
// digits, channel enable, and the module's slave address or the switch back to ASCII.
#pragma once

#include "PerChannelModbus.h"

class CM6386Modbus : public CPerChannelModbusDlg {
public:
    explicit CM6386Modbus(CWnd* pParent = nullptr);

    void OnSetting();

    DECLARE_MESSAGE_MAP()

protected:
    void EnableSettingsBoxes() override;
    void ShowReadings() override;
    std::string PollRequest() const override;

private:
    // 4388 and 6388: one channel; this dialog has no register read of its own for them.
    bool SingleChannel() const;
};
