// The digital I/O dialog over Modbus RTU: the module's input and output coils as lamps and as rows
// of a list, output switching by clicks on the output lamps, and the change of the module's
// address or its switch to ASCII.
#pragma once

#include "DioDlg.h"

class CM6373Modbus : public CDioDlg {
public:
    enum : int {
        kCmdToAscii = 1,        // register 0x080D := 1
        kCmdChangeAddress = 10, // register 0x0812 := the new address
        kCmdWriteCoil0 = 20,    // + channel: each output's coil is written on its own
    };

    explicit CM6373Modbus(CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void PollStep() override;
    // A plain left click on an output lamp switches that output.
    void OnLButtonDown(UINT nFlags, CPoint point) override;

    void OnSetting();

    bool m_bReadOutputs = false;  // two-read rows: whether the next read is the outputs'
    std::string m_strCoilRequest; // the last coil write as it went out, whose echo is awaited
    int m_nCoilChannel = -1;      // the output of the last lamp hit

    DECLARE_MESSAGE_MAP()

protected:
    bool OutputPending(int channel) const override;

private:
    static bool IsCoilWrite(int command)
    {
        return command >= kCmdWriteCoil0 && command < kCmdWriteCoil0 + 16;
    }
    std::optional<WORD> ReadCoils(int count) const;
    void ReadStatus();
    void ShowStatusRows(WORD inputs, WORD outputs);
    std::string RequestOf(int step) const;
    std::string ReadRequest(bool outputs) const;

    const SDioCoilRead* m_pRead = nullptr;
    std::optional<WORD> m_nSavedInputs; // the inputs' read, kept until the outputs' has come
};
