// From a search over a pseudo-terminal to each RTD dialog over ASCII: modsim serves the module, the
// program talks through the real link libraries in real time. The two polls alternate, and each
// reply lands in its own fields: temperatures with their signs, resistances without.
#include "PollTimer.h"
#include "SearchedBus.h"
#include "rtd/RtdIds.h"

using namespace search_test;

namespace {

struct SRtdCase {
    const char* pszName;
    const char* pszBus;
    UINT nTemplate;
    std::vector<std::string> inputs; // CH0 and CH1
    std::vector<std::string> ohms;
};

void PrintTo(const SRtdCase& c, std::ostream* os)
{
    *os << c.pszName;
}

const SRtdCase kCases[] = {
    {"M6309x",
     "6309 1 9600 ascii type=20 input0=100 input1=-10\n",
     IDD_M6309X,
     {"+0100.00", "-0010.00"},
     {"0138.50", "0096.15"}},
    {"M6380",
     "6380 1 9600 ascii type=2C input0=25 input1=-10\n",
     IDD_M6380,
     {"+0025.00", "-0010.00"},
     {"0055.35", "0047.86"}},
};

class RtdAsciiEndToEnd : public ::testing::TestWithParam<SRtdCase> {};

} // namespace

TEST_P(RtdAsciiEndToEnd, ASearchedModuleShowsItsTemperaturesAndResistances)
{
    const SRtdCase& c = GetParam();
    CSearchedBus bus(c.pszBus);
    ASSERT_TRUE(bus.SearchBelow(2));
    ASSERT_EQ(bus.w.Rows().size(), 1u);

    std::vector<std::string> inputs;
    std::vector<std::string> ohms;
    ui::CModalDriver driver([&](CDialog& dlg) {
        ASSERT_EQ(dlg.GetTemplateID(), c.nTemplate);
        for (int i = 0; i < 3; ++i) dlg.FireTimer(kPollTimer);
        for (int ch = 0; ch < 2; ++ch) {
            inputs.push_back(dlg.GetDlgItemText(kRtdInputIds[ch]));
            ohms.push_back(dlg.GetDlgItemText(kRtdOhmIds[ch]));
        }
        dlg.EndDialog(IDCANCEL);
    });
    ASSERT_TRUE(ui::DoubleClickRow(bus.w.Dlg(), IDC_RESULT_LIST, 0));

    EXPECT_EQ(inputs, c.inputs);
    EXPECT_EQ(ohms, c.ohms);
    EXPECT_NE(bus.sim.Log().find("req ascii \"$01A\\r\""), std::string::npos) << bus.sim.Log();
}

INSTANTIATE_TEST_SUITE_P(, RtdAsciiEndToEnd, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.pszName); });
