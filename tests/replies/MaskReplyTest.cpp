// The enable mask read when a dialog opens: only a reply of the mask's shape gives it; without it
// a click on a channel box writes nothing, and the mask is asked for again.
#include "ModuleFixture.h"

#include "ModuleDialogs.h"
#include "PerChannelIds.h"
#include "ScreenTexts.h"
#include "SimAnalogInput.h"
#include "analog_input/AnalogInputIds.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

struct SMaskCase {
    const char* cls;
    UINT idd;
    const char* sim;
    ModuleParamBlock CMainFrame::*pBlock;
    const char* listed;
    std::array<int, 8> checkIds;
    int channels;
};

const SMaskCase kMaskCases[] = {
    {"CM6384", IDD_M6384, "6384", &CMainFrame::m_strAnalogInputParams, "4384",
     std::to_array(kAiCheckIds), 8},
    {"CM6386", IDD_M6386, "6386", &CMainFrame::m_strThermocoupleInputParams, "6386",
     std::to_array(kTcCheckIds), 8},
    {"CM6386", IDD_M6386, "4386A", &CMainFrame::m_strThermocoupleInputParams, "4386A",
     std::to_array(kTcCheckIds), 8},
    {"CM6382p", IDD_M6382P, "6382", &CMainFrame::m_strSixChannelTempParams, "4382A", kPcCheckIds,
     6},
};

class MaskReply : public CModuleFixture {
protected:
    std::unique_ptr<CDialog> Open(const SMaskCase& c)
    {
        m_frame.*c.pBlock = {"01", "06", "0", "FF", "0", c.listed};
        std::unique_ptr<CDialog> dlg = CreateModuleDialog(c.cls);
        dlg->Create(c.idd);
        return dlg;
    }
    static std::string Checked(CDialog& dlg, const SMaskCase& c)
    {
        std::string marks;
        for (int ch = 0; ch < c.channels; ++ch)
            marks += dlg.IsDlgButtonChecked(c.checkIds[static_cast<size_t>(ch)]) ? '1' : '0';
        return marks;
    }
    // No request of the tick changed the mask.
    void ExpectNoMaskWrite()
    {
        for (const std::string& r : TakeRequests()) EXPECT_NE(r.substr(0, 4), "$015") << r;
    }
};

// Three stray bytes answer "$016"; the module then answers well again. A click while no mask is
// known writes nothing and says so; the mask is read again at a later tick, the module's channels
// are marked, and a click from then on adds to them.
TEST_F(MaskReply, AGarbledMaskReplyIsReadAgainAndAClickMeanwhileWritesNothing)
{
    for (const SMaskCase& c : kMaskCases) {
        for (bool clickFirst : {false, true}) {
            SCOPED_TRACE(std::string(c.cls) + " " + c.sim + (clickFirst ? " click first" : ""));
            CSimBus bus;
            auto& module = dynamic_cast<CSimAnalogInput8&>(bus.Add(c.sim, 1, 9600));
            module.SetEnableMask(0x0F);
            m_link.Attach(1, bus);
            module.Faults().nGarbage = 3;
            TakeRequests();
            std::unique_ptr<CDialog> dlg = Open(c);
            module.Faults().nGarbage = 0;
            if (clickFirst) ui::Click(*dlg, c.checkIds[5]);
            Tick(*dlg);
            EXPECT_EQ(Checked(*dlg, c), std::string(static_cast<size_t>(c.channels), '0'));
            ui::Click(*dlg, c.checkIds[4]);
            EXPECT_EQ(Checked(*dlg, c), std::string(static_cast<size_t>(c.channels), '0'));
            EXPECT_TRUE(std::ranges::count(ScreenTexts(*dlg), "Channel mask not read yet!"));
            // CM6384 reads its configuration and a channel type first.
            Tick(*dlg, 6);
            ExpectNoMaskWrite();
            EXPECT_EQ(Checked(*dlg, c).substr(0, 6), "111100");
            EXPECT_EQ(module.EnableMask(), 0x0F);
            ui::Click(*dlg, c.checkIds[4]);
            Tick(*dlg, 2);
            EXPECT_EQ(module.EnableMask(), 0x1F);
            dlg->OnCancel();
        }
    }
}

// A mask reply of its shape is taken as before: the module's channels are marked and a click adds
// to them.
TEST_F(MaskReply, AMaskReplyOfItsShapeMarksTheModulesChannels)
{
    for (const SMaskCase& c : kMaskCases) {
        SCOPED_TRACE(std::string(c.cls) + " " + c.sim);
        CSimBus bus;
        auto& module = dynamic_cast<CSimAnalogInput8&>(bus.Add(c.sim, 1, 9600));
        module.SetEnableMask(0x05);
        m_link.Attach(1, bus);
        std::unique_ptr<CDialog> dlg = Open(c);
        Tick(*dlg, 4);
        EXPECT_EQ(Checked(*dlg, c).substr(0, 4), "1010");
        ui::Click(*dlg, c.checkIds[1]);
        Tick(*dlg, 4);
        EXPECT_EQ(module.EnableMask(), 0x07);
        dlg->OnCancel();
    }
}

} // namespace
