// The three-channel RTD dialog over ASCII, for the 6380 and 4380, with Chinese texts. Each tick
// reads the input values or the resistances of the three channels, in turn. It writes a new
// configuration with one "%" request and closes on the tick after, and runs the module's
// three-step calibration (enable, zero, span).
#pragma once

#include "ModuleDlg.h"
#include "rtd/RtdIds.h"

#include <optional>

class CM6380 : public CModuleDlg {
public:
    explicit CM6380(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;

    void OnSetting();
    void OnCalibrationEnable();
    void OnZeroCalibration();
    void OnSpanCalibration();
    // Kind is the ERtdRead of the reading.
    void ShowChannelValue(int channel, int kind, const std::string& text);

    // Request kinds (m_nCommand) and the one whose reply is outstanding (m_nLastCommand).
    enum : int {
        kLastNone = 0, // no one-shot reply outstanding
        kPoll = 0,
        kConfigure = 1,
        kResume = 2,
        kCalibrationEnable = 3,
        kZeroCalibration = 4,
        kSpanCalibration = 5,
        kLastConfigure = 100,
    };
    int m_nReadPhase = kInputRead; // which poll request is outstanding

    DECLARE_MESSAGE_MAP()

private:
    // False when the reply was the configuration's and the dialog has closed.
    bool ReadLastCommand();
    void ReadCalibrationReply(int last);
    std::string NextRequest();
    void ShowReadings();
    std::string SendConfiguration();

    std::string m_strModelText;
};
