// The single-channel analog-input module with one digital input and two digital outputs, over
// Modbus RTU: the value scaled by the module's input range, three lamps, the four Modbus
// references with their raw values, output switching by clicks on the output lamps, and the
// switch of the module to ASCII. It writes nothing back to the result list.
#pragma once

#include "AnalogInputIds.h"
#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>

class C6385pModbus : public CModuleDlg {
public:
    explicit C6385pModbus(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void PollStep() override;
    // Every way of closing ends here (the Cancel button, Esc, the close box, the switch to ASCII).
    // A plain left click on an output lamp switches that output.
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnAsciiBox();
    void OnUpdata();
    void OnRefresh();

    // The engineering value of the input register by the row of the range list; nothing when the
    // list shows no range.
    std::optional<float> RawToEngineering(int raw, int row) const;

    int m_nPollPhase = 0; // the next request of the poll cycle: 0 value, 1 input, 2 outputs
    // The switch state of DIO0 and DIO1: as the module reported it, or as the operator's click
    // asked while its write is pending.
    std::array<int, 2> m_bOutputOn{};
    std::string m_strCoilWrite; // the body of the last coil write that went out
    std::string m_strReplyData;
    std::string m_strRawValue;
    std::string m_strInputState;
    std::array<std::string, 2> m_strOutputState;
    std::string m_strValue;
    bool m_bAscii = false; // the box "ASCII" arms "&Updata"
    std::string m_strRespond;

    DECLARE_MESSAGE_MAP()

private:
    // kCmdWriteCoil0 + output: each output's coil is written on its own.
    enum : int { kCmdStart = -1, kCmdPoll = 0, kCmdToAscii = 3, kCmdWriteCoil0 = 10 };
    // m_nLastCommand: whose reply the next step checks (a coil write: its command).
    enum : int { kNothing = 0, kPolled = 2, kSwitched = 3, kRangeRead = 4 };

    static bool IsCoilWrite(int command)
    {
        return command == kCmdWriteCoil0 || command == kCmdWriteCoil0 + 1;
    }
    void CheckReply();
    // The output's lamp and state as the module last reported them.
    void ShowReportedOutput(int output);
    void ReadRange();
    void ReadPollReply();
    void ShowReferences();
    std::string NextPollRequest();
    // Register 0x080D set to 1: the module goes over to ASCII.
    std::string AsciiSwitch() const;

    CLamps m_outputLamps; // DIO0, DIO1
    CLamps m_inputLamp;
};
