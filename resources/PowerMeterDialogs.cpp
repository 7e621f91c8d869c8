// Templates 198 "Module" (power meter over ASCII) and 232 "Module Modbus" (over Modbus RTU): the
// same reading boxes, lamps and calibration group, with each protocol's setting block.
#include "DialogTemplate.h"
#include "Shell.h"
#include "TemplateRows.h"
#include "counter_power/CounterPowerIds.h"

namespace {

using Controls = std::vector<ControlTemplate>;

// The reading boxes, one row per quantity kind, each box with its label to its left.
void AddReadings(Controls& c)
{
    struct Box {
        const char* label;
        int id;
    };
    const Box rows[7][4] = {
        {{"V1", IDC_PM_V1}, {"V2", IDC_PM_V2}, {"V3", IDC_PM_V3}, {nullptr, 0}},
        {{"I1", IDC_PM_I1}, {"I2", IDC_PM_I2}, {"I3", IDC_PM_I3}, {"In", IDC_PM_IN}},
        {{"P1", IDC_PM_P1}, {"P2", IDC_PM_P2}, {"P3", IDC_PM_P3}, {"P", IDC_PM_P}},
        {{"Q1", IDC_PM_Q1}, {"Q2", IDC_PM_Q2}, {"Q3", IDC_PM_Q3}, {"Q", IDC_PM_Q}},
        {{"S1", IDC_PM_S1}, {"S2", IDC_PM_S2}, {"S3", IDC_PM_S3}, {"S", IDC_PM_S}},
        {{"PF1", IDC_PM_PF1}, {"PF2", IDC_PM_PF2}, {"PF3", IDC_PM_PF3}, {"F", IDC_PM_F}},
        {{"Epi", IDC_PM_EPI},
         {"Epo", IDC_PM_EPO},
         {"EQind", IDC_PM_EQIND},
         {"EQcap", IDC_PM_EQCAP}},
    };
    c.push_back({-1, CtlKind::GroupBox, "", 6, 18, 262, 124});
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 4; ++col) {
            const Box& box = rows[row][col];
            if (!box.label) continue;
            int x = 10 + col * 64;
            int y = 28 + row * 16;
            c.push_back({-1, CtlKind::Static, box.label, x, y + 2, 21, 9});
            // The V1 box takes digits only.
            c.push_back({box.id, CtlKind::Edit, "", x + 22, y, 40, 12,
                         box.id == IDC_PM_V1 ? CS_NUMBER : CS_NONE});
        }
    }
}

// The 6539's input and output lamps.
void AddLamps(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "DIO", 274, 146, 70, 48});
    c.push_back({-1, CtlKind::Static, "Input", 278, 160, 25, 9});
    c.push_back({IDC_PM_INPUT_LEFT, CtlKind::Icon, "144", 304, 156, 16, 16});
    c.push_back({IDC_PM_INPUT, CtlKind::Icon, "144", 324, 156, 16, 16});
    c.push_back({-1, CtlKind::Static, "Output", 278, 178, 25, 9});
    c.push_back({IDC_PM_OUTPUT1, CtlKind::Icon, "144", 304, 174, 16, 16});
    c.push_back({IDC_PM_OUTPUT0, CtlKind::Icon, "144", 324, 174, 16, 16});
}

// Calibration and housekeeping: in the template for its layout, never in use.
void AddCalibration(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "Calibration", 350, 18, 118, 176});
    struct Button {
        int id;
        const char* text;
        unsigned style;
    };
    const Button buttons[] = {
        {IDC_PM_CLEAR, "Clear", CS_DISABLED},
        {IDC_PM_STEP1, " Step1 (20V,0.5A,PF=1)", CS_NONE},
        {IDC_PM_STEP2, "Step2 (200V,5A,PF=1)", CS_NONE},
        {IDC_PM_STEP3, "  Step3 (200V,5A,PF=0.5)", CS_NONE},
        {IDC_PM_STEP4, "   Step4 (200V,0.5A,PF=0.5)", CS_NONE},
        {IDC_PM_STEP5, " Step5 (200V,5A,PF=0.5)", CS_NONE},
        {IDC_PM_SAVE, "Save", CS_DISABLED},
        {IDC_PM_RESET, "Reset", CS_DISABLED},
        {IDC_PM_DEFAULT, "Default Setting", CS_DISABLED},
        {IDC_PM_SAVE2, "Save", CS_DISABLED},
    };
    int y = 28;
    for (const Button& b : buttons) {
        c.push_back({b.id, CtlKind::Button, b.text, 356, y, 106, 14, b.style});
        y += 16;
    }
}

void AddHeader(Controls& c)
{
    c.push_back({IDC_PM_MODEL, CtlKind::Static, "", 8, 6, 40, 9});
    c.push_back({-1, CtlKind::Static, "Module", 50, 6, 40, 9});
}

// Address, baud rate, checksum, the protocol box and Setting; then the command-set radios.
void AddSettings(Controls& c, CtlKind checksumKind, std::vector<std::string> checksumRows,
                 const char* switchText, const char* asciiRadio, const char* modbusRadio)
{
    c.push_back({-1, CtlKind::GroupBox, "Setting", 274, 18, 70, 124});
    // Each label stands above its box.
    AddSettingRows(c,
                   {{"Address", IDC_PM_ADDRESS, CtlKind::Edit},
                    {"Baudrate", IDC_PM_BAUD, CtlKind::DropList, BaudRows()},
                    {"CheckSum", IDC_PM_CHECKSUM, checksumKind, checksumRows, CS_NONE, 0, 60}},
                   {.nLabelX = 278,
                    .nLabelWidth = 60,
                    .nBoxX = 278,
                    .nBoxWidth = 60,
                    .nPitch = 24,
                    .nLabelDy = -10},
                   38);
    c.push_back({IDC_PM_PROTOCOL_SWITCH, CtlKind::AutoCheckBox, switchText, 278, 102, 62, 10});
    c.push_back({IDC_PM_SETTING, CtlKind::Button, "Setting", 282, 120, 52, 14});
    c.push_back({IDC_PM_COMMAND_ASCII, CtlKind::Radio, asciiRadio, 278, 198, 60, 10,
                 CS_GROUP | CS_DISABLED});
    c.push_back(
        {IDC_PM_COMMAND_MODBUS, CtlKind::Radio, modbusRadio, 278, 210, 66, 10, CS_DISABLED});
}

void AddStatusAndClose(Controls& c)
{
    c.push_back({IDC_PM_STATUS, CtlKind::Edit, "", 6, 226, 262, 12, CS_READONLY});
    c.push_back({IDOK, CtlKind::Button, "OK", 356, 208, 50, 14, CS_HIDDEN | CS_DEFAULT});
    c.push_back({IDCANCEL, CtlKind::Button, "Cancel", 412, 224, 56, 14});
}

// PT and CT: a read button with the ratio read, a set button with the ratio to write.
void AddRatios(Controls& c)
{
    c.push_back({-1, CtlKind::GroupBox, "PT / CT", 6, 146, 262, 76});
    struct Row {
        int read;
        const char* readText;
        int readBox;
        int set;
        const char* setText;
        int setBox;
    };
    const Row rows[] = {
        {IDC_PM_READ_PT, "&Read PT", IDC_PM_PT_READ, IDC_PM_SET_PT, "&Set PT", IDC_PM_PT_SET},
        {IDC_PM_READ_CT, "&Read CT", IDC_PM_CT_READ, IDC_PM_SET_CT, "&Set CT", IDC_PM_CT_SET},
    };
    int y = 158;
    for (const Row& r : rows) {
        c.push_back({r.read, CtlKind::Button, r.readText, 12, y, 50, 14});
        c.push_back({-1, CtlKind::Static, "Read:", 68, y + 3, 22, 9});
        c.push_back({r.readBox, CtlKind::Edit, "", 92, y + 1, 40, 12});
        c.push_back({r.set, CtlKind::Button, r.setText, 140, y, 50, 14});
        c.push_back({-1, CtlKind::Static, "Set:", 196, y + 3, 18, 9});
        c.push_back({r.setBox, CtlKind::Edit, "", 216, y + 1, 40, 12});
        y += 30;
    }
}

Controls AsciiControls()
{
    Controls c;
    AddHeader(c);
    AddReadings(c);
    AddSettings(c, CtlKind::DropDown, {"Enable", "Disable"}, "MODBUS/RTU", "ASCII", "MODBUS/ASCII");
    AddRatios(c);
    AddLamps(c);
    AddCalibration(c);
    AddStatusAndClose(c);
    return c;
}

Controls ModbusControls()
{
    Controls c;
    AddHeader(c);
    AddReadings(c);
    AddSettings(c, CtlKind::DropList, {"Enable", "Disable", "CRC"}, "ASCII", "ASCII", "MODBUS_RTU");
    AddLamps(c);
    AddCalibration(c);
    AddStatusAndClose(c);
    return c;
}

const bool g_registered =
    RegisterDialogTemplate({IDD_M63508, "Module", 474, 244, AsciiControls()}) &&
    RegisterDialogTemplate({IDD_M6530RTU, "Module Modbus", 474, 244, ModbusControls()});

} // namespace
