// What every registered module dialog does with a setting it cannot make: a list without a row is
// refused by the list's own name and nothing goes out, and a typed address that is no number, or a
// number above 255, gets that dialog's own box.
#include "EveryDialog.h"

#include "ModuleDialogs.h"
#include "PerChannelIds.h"
#include "UiDriver.h"
#include "WireRequests.h"
#include "analog_input/AnalogInputIds.h"
#include "analog_output/AnalogOutputIds.h"
#include "analog_output/OutputDiIds.h"
#include "counter_power/CounterPowerIds.h"
#include "digital_io/DigitalIoIds.h"
#include "rack/RackIds.h"
#include "rtd/RtdIds.h"
#include "thermocouple/ThermocoupleIds.h"

#include <map>
#include <optional>

namespace {

// A list a dialog's setting takes a code from, left without a row: the block entry that would
// otherwise stand in for it (-1: none), the refusal, and a piece of the request that must not go
// out.
struct SUnchosenList {
    int nList;
    int nBlockEntry;
    const char* pszRefusal;
    const char* pszNotSent;
    bool bAtAddress00 = false; // the lists take a choice only while the module answers at 00
};

// None: the dialog's setting takes no code from a list the operator can leave without a row (it
// has no setting, or its lists are fixed at the address it opens with).
const std::map<std::string, std::optional<SUnchosenList>>& UnchosenLists()
{
    static const std::map<std::string, std::optional<SUnchosenList>> lists = {
        {"CM6530rtu", std::nullopt},
        {"CM63508", SUnchosenList{IDC_PM_BAUD, kBrate, "Choose the Baudrate!", "%"}},
        {"CM6363", SUnchosenList{IDC_CNT_TYPE, kScript, "Choose the Gate Mode!", "%"}},
        {"CM6380", SUnchosenList{IDC_RTD3_RANGE, kScript, "Choose the Input Range!", "%"}},
        {"CM6309x", SUnchosenList{IDC_RTD_RANGE6, kScript, "Choose the Input Range!", "%"}},
        {"CM6307p", SUnchosenList{IDC_PC_FORMAT, kFormat, "Choose the Data Format!", "%"}},
        {"CM6382p", SUnchosenList{IDC_PC_FORMAT, kFormat, "Choose the Data Format!", "%"}},
        {"CM63828p", SUnchosenList{IDC_PC_FORMAT, kFormat, "Choose the Data Format!", "%"}},
        {"CM6307pModbus", std::nullopt},
        {"CM6300Modbus", std::nullopt},
        {"CM6382pModbus", std::nullopt},
        {"CM6382TModbus", std::nullopt},
        {"CM6384", SUnchosenList{IDC_AI_RANGE, kScript, "Choose the Input Range!", "%"}},
        {"CM6384Modbus", std::nullopt},
        {"CM6387", SUnchosenList{IDC_AI_RANGE, kScript, "Choose the Input Range!", "%"}},
        {"CM6384P", SUnchosenList{IDC_PC_FORMAT, kFormat, "Choose the Data Format!", "%"}},
        {"CM6384pModbus", std::nullopt},
        {"C6385pModbus", std::nullopt},
        {"CM6386", SUnchosenList{IDC_TC_RANGE, kScript, "Choose the Input Range!", "%"}},
        {"CM6386Modbus", std::nullopt},
        {"CM6386P", SUnchosenList{IDC_PC_FORMAT, kFormat, "Choose the Data Format!", "%"}},
        {"CM6386PModbus", std::nullopt},
        {"CM6381p", SUnchosenList{IDC_PC_FORMAT, kFormat, "Choose the Data Format!", "%"}},
        {"CM6359", SUnchosenList{IDC_AO_RANGE4, kScript, "Choose the Output Range!", "%"}},
        {"CM6359Modbus", std::nullopt},
        {"CM6359p", SUnchosenList{IDC_ODI_BAUD, kBrate, "Choose the Baudrate!", "%", true}},
        {"CM6359pModbus", std::nullopt},
        {"CM6373", SUnchosenList{IDC_DIO_BAUD, kBrate, "Choose the Baudrate!", "%"}},
        {"CM6373Modbus", std::nullopt},
        {"CV1333E", SUnchosenList{rack_main::IDC_PROTOCOL, -1, "Choose the Protocol!", "%", true}},
        {"CV1333M", std::nullopt},
        {"CV1327", std::nullopt},
        {"CV1359", SUnchosenList{rack_ao::IDC_SLEW, -1, "Choose the Slew Rate!", "A3"}},
        {"CV1300",
         SUnchosenList{rack_ai::IDC_VOLTAGE_RANGE, -1, "Choose the Input Range!", "S1A", true}},
        {"CV1384H",
         SUnchosenList{rack_speed::IDC_FORMAT, -1, "Choose the Data Format!", "AFF", true}},
    };
    return lists;
}

// What a dialog shows for a typed address it refuses: a number out of 0 to 255 always gets
// "Address must be 0 to 255!" with an empty caption; a text that is no number gets the dialog's own
// box where it has one (a null caption: the application's title).
struct SNonNumberBox {
    const char* pszText = "Address must be 0 to 255!";
    const char* pszCaption = "";
};

// The box a typed text that is no number gets; none: the operator types no address (the dialog
// has no address box, no setting that reads it, or a box that is disabled).
const std::map<std::string, std::optional<SNonNumberBox>>& NonNumberBoxes()
{
    constexpr SNonNumberBox kPattern;
    // The dialogs that refuse address 0, and a text that is no number, in their own words under
    // the application's title.
    constexpr SNonNumberBox kOwnText = {"地址不可设置为0", nullptr};
    static const std::map<std::string, std::optional<SNonNumberBox>> boxes = {
        {"CM6530rtu", kPattern},
        {"CM63508", kPattern},
        {"CM6363", kPattern},
        {"CM6380", kPattern},
        {"CM6309x", kPattern},
        {"CM6307p", kOwnText},
        {"CM6382p", kOwnText},
        {"CM63828p", kOwnText},
        {"CM6307pModbus", kPattern},
        {"CM6300Modbus", kPattern},
        {"CM6382pModbus", std::nullopt},
        {"CM6382TModbus", kOwnText},
        {"CM6384", kPattern},
        {"CM6384Modbus", kPattern},
        {"CM6387", kPattern},
        {"CM6384P", kOwnText},
        {"CM6384pModbus", std::nullopt},
        {"C6385pModbus", std::nullopt},
        {"CM6386", kPattern},
        {"CM6386Modbus", kPattern},
        {"CM6386P", kOwnText},
        {"CM6386PModbus", std::nullopt},
        {"CM6381p", kOwnText},
        {"CM6359", kPattern},
        {"CM6359Modbus", kPattern},
        {"CM6359p", kOwnText},
        {"CM6359pModbus", std::nullopt},
        {"CM6373", kOwnText},
        {"CM6373Modbus", kPattern},
        {"CV1333E", std::nullopt},
        {"CV1333M", std::nullopt},
        {"CV1327", std::nullopt},
        {"CV1359", std::nullopt},
        {"CV1300", std::nullopt},
        {"CV1384H", std::nullopt},
    };
    return boxes;
}

TEST(EveryListTable, HasOneEntryPerDialog)
{
    ExpectOneEntryPerRow(UnchosenLists());
    ExpectOneEntryPerRow(NonNumberBoxes());
}

template <class T> bool Declared(const std::optional<T>& entry)
{
    return entry.has_value();
}

class EveryList : public CEveryDialogTest {};

TEST_P(EveryList, AListWithoutARowIsRefusedByItsNameAndNothingGoesOut)
{
    const SUnchosenList& list = *UnchosenLists().at(GetParam().name);
    SDialogRow row = list.bAtAddress00 ? AtAddress00(GetParam()) : GetParam();
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    Tick(*dlg, kStartupTicks);
    ASSERT_TRUE(dlg->GetDlgItem(list.nList)->IsWindowEnabled());
    dlg->GetDlgItemAs<CComboBox>(list.nList)->SetCurSel(-1);
    // A module at 00 takes a new address with its settings.
    CWnd* address = row.nAddressBox ? dlg->GetDlgItem(row.nAddressBox) : nullptr;
    if (list.bAtAddress00 && address && address->IsWindowEnabled())
        ui::Type(*dlg, row.nAddressBox, "1");
    if (list.nBlockEntry >= 0) (m_frame.*row.pBlock)[static_cast<size_t>(list.nBlockEntry)] = "XX";
    m_boxes.m_boxes.clear();
    m_link.ClearTraffic();
    ASSERT_TRUE(ui::Click(*dlg, row.nSettingButton));
    EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{list.pszRefusal});
    Tick(*dlg, 4);
    for (const std::string& r : m_link.Requests())
        EXPECT_EQ(r.find(list.pszNotSent), std::string::npos) << r;
    EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
    EXPECT_TRUE(dlg->IsRunning());
}

INSTANTIATE_TEST_SUITE_P(, EveryList,
                         ::testing::ValuesIn(RowsWhere(UnchosenLists(), Declared<SUnchosenList>)),
                         DialogRowName);

bool IsNumber(const std::string& typed)
{
    std::string digits = typed.substr(typed.rfind('-') == 0 ? 1 : 0);
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
}

class EveryTypedAddress : public CEveryDialogTest {
protected:
    // A refused typed address gets its box at the setting button, and nothing is written back
    // or sent.
    void CheckAddressRefused(CDialog& dlg, const char* typed, int addressBox, int settingButton,
                             const SNonNumberBox& box)
    {
        m_boxes.m_boxes.clear();
        m_link.ClearTraffic();
        ui::Type(dlg, addressBox, typed);
        ui::Click(dlg, settingButton);
        EXPECT_EQ(m_boxes.Texts(), std::vector<std::string>{box.pszText});
        if (!m_boxes.m_boxes.empty()) {
            EXPECT_EQ(m_boxes.m_boxes[0].caption, box.pszCaption ? box.pszCaption : kAppTitle);
        }
        EXPECT_EQ(m_frame.m_strNewParams, ModuleParamBlock{});
        Tick(dlg, 4);
        for (const std::string& r : m_link.Requests()) EXPECT_FALSE(IsConfiguration(r)) << r;
    }
    static constexpr const char* kAppTitle = "talvik4333";
};

TEST_P(EveryTypedAddress, ThatIsNoNumberOrAbove255GetsTheDialogsBox)
{
    const SNonNumberBox& box = *NonNumberBoxes().at(GetParam().name);
    const SDialogRow& row = GetParam();
    std::unique_ptr<CDialog> dlg = Open(row);
    ASSERT_NE(dlg, nullptr);
    Tick(*dlg, kStartupTicks);
    // "1A" is an address where the box takes hex digits.
    bool hex = row.name == "CM6380";
    for (const char* typed : {"xyz", "256", "-1", "1000", "1A", "", "3 4", "1.5"}) {
        SCOPED_TRACE(typed);
        if (hex && std::string(typed) == "1A") continue;
        CheckAddressRefused(*dlg, typed, row.nAddressBox, row.nSettingButton,
                            IsNumber(typed) ? SNonNumberBox{} : box);
    }
    EXPECT_TRUE(dlg->IsRunning());
}

INSTANTIATE_TEST_SUITE_P(, EveryTypedAddress,
                         ::testing::ValuesIn(RowsWhere(NonNumberBoxes(), Declared<SNonNumberBox>)),
                         DialogRowName);

} // namespace
