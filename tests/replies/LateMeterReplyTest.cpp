// A power meter that answers just after the time-out: the ratio read's reply ("!AA" and four hex
// digits) then arrives as the answer to the request after it. It is not the acknowledgement of a
// Setting.
#include "EveryDialog.h"

#include "LateLine.h"
#include "ModuleDialogs.h"
#include "ModuleDlg.h"
#include "UiDriver.h"
#include "counter_power/CounterPowerIds.h"

#include <algorithm>

namespace {

class LateMeterReply : public CEveryDialogFixture {
protected:
    void SetUp() override
    {
        const std::vector<SDialogRow>& rows = EveryDialogRows();
        m_row = *std::find_if(rows.begin(), rows.end(),
                              [](const SDialogRow& row) { return row.name == "CM63508"; });
    }
    // Opens the dialog, makes the line late, clicks Read PT and lets that read go out.
    std::unique_ptr<CDialog> OpenWithPtReadOut()
    {
        std::unique_ptr<CDialog> dlg = Open(m_row);
        Tick(*dlg, 3);
        m_line.SetLate(true);
        ui::Click(*dlg, IDC_PM_READ_PT);
        Tick(*dlg); // sends "$013", whose reply comes with the next request
        return dlg;
    }

    CLateLine m_line;
    SDialogRow m_row;
};

TEST_F(LateMeterReply, ARatioReplyNeverConfirmsTheSetting)
{
    std::unique_ptr<CDialog> dlg = OpenWithPtReadOut();
    m_boxes.m_boxes.clear();
    ui::Click(*dlg, m_row.nSettingButton);
    Tick(*dlg, 3);
    EXPECT_FALSE(m_boxes.Texts().empty());
    for (const std::string& box : m_boxes.Texts()) EXPECT_NE(box, kConfigurationOk);
    if (dlg->IsRunning()) dlg->OnCancel();
}

// An output write answered by the late "!AA" and ratio of a read before it is not acknowledged.
TEST_F(LateMeterReply, ARatioReplyIsNoAcknowledgementOfTheOutputs)
{
    m_row.bus = "6539 1 9600 ascii";
    m_row.block[kModule] = "6539";
    std::unique_ptr<CDialog> dlg = Open(m_row);
    Tick(*dlg, 3);
    m_line.SetLate(true);
    Tick(*dlg, 2); // the first late request is missed; the cycle starts again
    ui::Click(*dlg, IDC_PM_READ_PT);
    ui::ClickAt(*dlg, ui::CentreOf(*dlg, IDC_PM_OUTPUT0));
    TakeRequests();
    // A reply out of step restarts the cycle; then "$013", then "@01O1", which gets its reply.
    Tick(*dlg, 3);
    ASSERT_EQ(TakeRequests(), (std::vector<std::string>{"#01A", "$013", "@01O1"}));
    Tick(*dlg);
    EXPECT_EQ(dlg->GetDlgItemText(IDC_PM_STATUS), "DIO Error!");
    dlg->OnCancel();
}

} // namespace
