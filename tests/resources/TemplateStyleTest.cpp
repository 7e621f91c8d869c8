// The control styles the templates ask for beyond the defaults: frameless unit columns, a value
// field that does not scroll, a box that takes digits only.
#include "DialogTemplate.h"
#include "PerChannelIds.h"
#include "counter_power/CounterPowerIds.h"
#include "rack/RackModbusIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

unsigned StyleOf(int nTemplate, int nID)
{
    const DialogTemplate* tmpl = FindDialogTemplate(nTemplate);
    if (!tmpl) return ~0u;
    auto found = std::find_if(tmpl->controls.begin(), tmpl->controls.end(),
                              [nID](const ControlTemplate& c) { return c.nID == nID; });
    return found == tmpl->controls.end() ? ~0u : found->style;
}

} // namespace

TEST(TemplateStyle, EditsCarryTheStylesTheirTemplatesAskFor)
{
    struct Case {
        int nTemplate;
        int nID;
        unsigned style;
        bool has;
    };
    std::vector<Case> cases = {
        {IDD_V1384HM, kRackAiValueIds[0], CS_NOBORDER, false},
        {IDD_M6381P, IDC_PC_VALUE0, CS_NOAUTOHSCROLL, true},
        {IDD_M6381P, IDC_PC_VALUE0 + 1, CS_NOAUTOHSCROLL, false},
        {IDD_M6386P, IDC_PC_VALUE0, CS_NOAUTOHSCROLL, false},
        {IDD_M63508, IDC_PM_V1, CS_NUMBER, true},
        {IDD_M6530RTU, IDC_PM_V1, CS_NUMBER, true},
        {IDD_M63508, IDC_PM_V2, CS_NUMBER, false},
    };
    for (int id : kRackAiUnitIds) cases.push_back({IDD_V1384HM, id, CS_NOBORDER, true});
    for (int id : kRackAoUnitIds) cases.push_back({IDD_V1384HM, id, CS_NOBORDER, true});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "template " << c.nTemplate << " control " << c.nID);
        unsigned style = StyleOf(c.nTemplate, c.nID);
        ASSERT_NE(style, ~0u);
        EXPECT_EQ((style & c.style) != 0, c.has);
    }
}
