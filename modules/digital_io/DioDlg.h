// What the two digital I/O dialogs share: the model's counts from the model table, the lamps and
// the believed output states they show, the Clear buttons and the input latch, and the settings
// read from the family's block.
#pragma once

#include "DioModel.h"
#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>
#include <optional>

class CDioDlg : public CModuleDlg {
public:
    // The steps both dialogs have; each adds its own.
    enum : int {
        kCmdNone = -100,      // nothing went out whose reply is to be read
        kCmdPoll = -1,        // the idle poll
        kCmdWriteOutputs = 0, // after a click: the outputs (ASCII), written whole
        kCmdClearCounter = 2, // a Clear button that has no request of its own (Modbus)
    };

    // The input latch level a configuration writes into the Check digit's bit 3.
    enum : int {
        kLatchKept = 0, // the models without a latch keep the bit as it is
        kLatchLow = 1,
        kLatchHigh = 2,
    };

    CDioDlg(const SModuleDescriptor& descriptor, EDioDialog dialog);

    template <int k> void OnClearCounter() { ClearCounter(k); }
    void OnLatchLow() { m_nLatchLevel = kLatchLow; }
    void OnLatchHigh() { m_nLatchLevel = kLatchHigh; }

    int m_nDiCount = 0;
    int m_nDoCount = 0;
    // The on (1) or off (0) state of each output as the module last reported it, changed by a
    // click on its lamp; while the output's write is pending, the state the operator asked for.
    std::array<int, 16> m_bDoState{};
    // Whether a status has shown the outputs since the dialog opened: until then no output state
    // is known. A model without a lamp row never shows them.
    bool m_bOutputsShown = false;
    int m_nLatchLevel = kLatchKept;
    int m_nClearChannel = 0;

    DECLARE_MESSAGE_MAP()

protected:
    // The opening steps both dialogs share, after InitFromBlock and FillSettingsBoxes: the model
    // text, the latch level from the block, the Clear buttons, the lamp rectangles and the counts.
    void InitModel();
    // Shows a status: the lamps the row drives red or white, the others grey, and the output
    // states; an output whose write is pending keeps the operator's state. Returns the lamps of
    // the status as the module reported it.
    SDioLampStates ShowStatus(WORD status);
    // A write to this output waits, awaits its answer or waits to go out again.
    virtual bool OutputPending(int /*channel*/) const { return false; }
    // After a refused write: the outputs show the state the module last reported.
    void ShowReportedOutputs();
    // The output channel whose lamp a plain left click at point hits; -1 for none.
    int HitOutputLamp(UINT nFlags, CPoint point) const;
    // The write-back of a configuration: the Description column keeps the model name; the Check
    // digit takes bit 3 from the latch level (kept for level 0), type "40" and format "0".
    Texts DioRowTexts(const SSettingsChoice& choice) const;
    Texts DioParams(const SSettingsChoice& choice) const;
    std::string CheckDigitWithLatch(const SSettingsChoice& choice) const;

    EDioDialog m_eDialog;

    // A Clear button: by default a step with no request of its own.
    virtual void ClearCounter(int channel);

private:
    void EnableCounterClearButtons();

    CLamps m_doLamps;
    CLamps m_diLamps;
    std::optional<WORD> m_nReportedStatus; // the last status the module reported
};

// Message-map entries of the sixteen Clear buttons of DioChannelControls.
#define ON_DIO_CLEAR_BUTTON(k)                                                                     \
    ON_BN_CLICKED(static_cast<UINT>(DioChannelControls[k].nClear), OnClearCounter<k>)
