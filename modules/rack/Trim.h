// The 4 mA and 20 mA trim dialogs of the 1359 slot module, one class with the two variants: the
// operator nudges the output with four step buttons while watching a meter, then saves the trim.
// A chosen step goes out on every tick until another button is pressed (a jog the operator stops).
#pragma once

#include "RackDlg.h"
#include "SlotAo.h"

class CTrim : public CRackDlg {
public:
    // The steps of m_nCommand and m_nLastCommand.
    enum : int { kDown10 = 1, kDown1 = 2, kUp1 = 3, kUp10 = 4, kSave = 5 };

    explicit CTrim(const STrimVariant& variant);

    BOOL OnInitDialog() override;

    template <int step> void OnStep() { m_nCommand = step; }

    std::string m_strChannel;

    DECLARE_MESSAGE_MAP()

private:
    bool ReadReply(int step) override;
    std::string StepRequest() override;

    const STrimVariant& m_variant;
};
