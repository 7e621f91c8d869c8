// The slot writes a module answers with ">": a digital output's switch, the 1359's output value
// and its drive to 4 mA or 20 mA before a trim. A module acknowledges them with ">" alone (and its
// checksum digits when the checksum is on), as the simulated modules do: the switch ends and the
// poll resumes, the Send succeeds, the trim dialog opens. "?" with the unit's address refuses the
// switch and the Send: the switch goes out no more, the Send shows its error. ">" with the unit's
// address, "!" with it, or a reading is no answer: the switch goes out again, the Send waits.
#include "RackFixture.h"
#include "ScriptedLine.h"
#include "rack/RackIds.h"
#include "rack/V1327.h"
#include "rack/V1359.h"

#include "UiDriver.h"

#include <optional>

namespace {

enum class EWrite { Switch, Send, Drive4mA, Drive20mA };

const char* WriteName(EWrite write)
{
    static const char* const names[] = {"switch", "send", "drive to 4 mA", "drive to 20 mA"};
    return names[static_cast<int>(write)];
}

// A rack at address 00 (where the trims are offered), a 1327 in slot 0 and a 1359 in slot 1.
class SlotWriteAck : public CRackFixture {
protected:
    SlotWriteAck() : CRackFixture("27,59,FF,FF,FF,FF,FF,FF", "00") { OpenLine(); }

    // How the write ended, its reply given in that form (none: the module's own): "heard",
    // "refused" or "not heard".
    std::string Outcome(EWrite write, const char* reply)
    {
        std::optional<CScriptedLine> line;
        if (reply)
            line.emplace(
                CScriptedLine::Answering(write == EWrite::Switch ? "#00S013" : "#00S1C0", reply));
        m_boxes.m_boxes.clear();
        return write == EWrite::Switch ? SwitchOutcome() : OutputOutcome(write);
    }
    // A click on DO3's lamp: the switch goes out; acknowledged, the poll follows at once; refused,
    // the poll follows on the next tick; else the switch goes out again.
    std::string SwitchOutcome()
    {
        m_pRack->SetSlot(0, "27"); // every output off
        m_frame.m_strSlotDioParams = {"00", "", "0", "", "", "1327"};
        CV1327 dlg;
        dlg.Create(IDD_RACK_DIO);
        Tick(dlg, 4);
        TakeRequests();
        ui::ClickAt(dlg, ui::CentreOf(dlg, rack_dio::kOutputLampIds[3]));
        Tick(dlg, 4);
        std::vector<std::string> requests = TakeRequests();
        dlg.OnCancel();
        if (requests == Wire({"#00S01301", "$00S06", "$00S06"})) return "heard";
        if (requests == Wire({"#00S01301", "$00S06"})) return "refused";
        EXPECT_EQ(requests, Wire({"#00S01301", "#00S01301"}));
        return "not heard";
    }
    // A Send of 5 on channel 0 shows its success or its error, or nothing while it waits; a
    // drive opens its trim dialog, or nothing.
    std::string OutputOutcome(EWrite write)
    {
        m_frame.m_strSlotAoParams = {"00", "", "1", "", "", "1359"};
        CV1359 dlg;
        dlg.Create(IDD_RACK_AO);
        Tick(dlg, 8);
        std::optional<UINT> trim;
        ui::CModalDriver driver([&trim](CDialog& opened) { trim = opened.GetTemplateID(); });
        if (write == EWrite::Send) {
            ui::Type(dlg, rack_ao::kChannelIds[0].nOutput, "5");
            ui::Click(dlg, rack_ao::kChannelIds[0].nSend);
        } else {
            ui::Click(dlg, write == EWrite::Drive4mA ? rack_ao::IDC_TRIM4 : rack_ao::IDC_TRIM20);
        }
        Tick(dlg, 2);
        dlg.OnCancel();
        if (write == EWrite::Send) {
            std::vector<std::string> boxes = m_boxes.Texts();
            if (boxes == std::vector<std::string>{"Update Output Value Succeeded!"}) return "heard";
            if (boxes == std::vector<std::string>{"Update Output Value Error!"}) return "refused";
            EXPECT_TRUE(boxes.empty()) << ::testing::PrintToString(boxes);
            return "not heard";
        }
        UINT expected = write == EWrite::Drive4mA ? IDD_RACK_TRIM4 : IDD_RACK_TRIM20;
        EXPECT_TRUE(!trim || *trim == expected);
        return trim ? "heard" : "not heard";
    }
};

TEST_F(SlotWriteAck, AWriteIsAcknowledgedByAGreaterThanSignAloneAndByNothingElse)
{
    struct Form {
        const char* reply; // none: the module's own, ">" alone
        bool checksum;
        const char* outcome; // of the switch and the Send; a drive opens its trim only when heard
    } forms[] = {
        {nullptr, false, "heard"},   {nullptr, true, "heard"},        {">00", false, "not heard"},
        {"!00", false, "not heard"}, {">04.000", false, "not heard"}, {"?00", false, "refused"},
        {">3F", true, "not heard"}, // with wrong checksum digits
    };
    for (EWrite write : {EWrite::Switch, EWrite::Send, EWrite::Drive4mA, EWrite::Drive20mA}) {
        for (const Form& form : forms) {
            SCOPED_TRACE(std::string(WriteName(write)) + " answered " +
                         (form.reply ? form.reply : "by the module") +
                         (form.checksum ? " with the checksum on" : ""));
            if (form.checksum) ChecksumOn();
            bool drive = write == EWrite::Drive4mA || write == EWrite::Drive20mA;
            std::string outcome = form.outcome;
            EXPECT_EQ(Outcome(write, form.reply),
                      drive && outcome == "refused" ? "not heard" : outcome);
            m_pRack->SetChecksum(false);
            m_frame.m_strRackParams[kCheck] = "0";
        }
    }
}

} // namespace
