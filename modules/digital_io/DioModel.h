// What the digital I/O dialogs know per model, as tables: the channel counts, Clear buttons, DO
// text width, disabled controls and polling rules of each model row, which status bit drives which
// lamp, the coil reads over Modbus RTU, and the controls of each channel. Free of Qt, so the
// tables can be tested alone.
#pragma once

#include "wintypes.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// The dialog a lookup serves: the Modbus dialog knows fewer names (see DioFindRow).
enum class EDioDialog { Ascii, Modbus };

// How a row's names are tested against a model name. Every test takes a number's listed twin
// ("4328" for 6328) as that number too, since the result list shows the listed names.
enum class EDioMatch {
    Equal,     // the name is a number, or a number followed by "D"
    EqualBare, // the name is a number
    Contains,  // the name contains a number
};

// Controls a row disables.
enum : unsigned { kDioSafe = 1, kDioPowerOn = 2, kDioLatch = 4 };

struct SDioModelRow {
    int nRow; // 1 to 15
    std::vector<const char*> names;
    int nDi;
    int nDo;
    int nClearButtons; // Clear buttons of channels 0 to n-1 enabled, the others disabled
    int nDoDigits;     // hex digits of the DO text; 0: the DO text is empty
    unsigned nDisabled;
    bool bStatusOnly;  // the idle poll reads only the status, never a counter
    bool bOwnRequests; // outputs by "#AA00", safe value by "$AAX1" / "$AAX00000"
    EDioMatch eCounts; // the test of the DI and DO counts
    EDioMatch eLamps;  // the test of the lamps and the Clear buttons
};

extern const std::vector<SDioModelRow> DioModelTable;

// Which test a lookup makes: the counts, the lamps and Clear buttons, or the rules (DO text width,
// disabled controls, polling and requests), which every row applies to each name containing one of
// its numbers.
enum class EDioTest { Counts, Lamps, Rules };

// The row of the model for a test; null when none applies. The Modbus dialog knows neither 6371
// nor the 93xx names.
const SDioModelRow* DioFindRow(const std::string& model, EDioTest test,
                               EDioDialog dialog = EDioDialog::Ascii);

// Which status bit drives which lamp: DI lamp k shows bit nDiFirstBit + k for k below the row's
// DI count, DO lamp k bit nDoFirstBit + k below its DO count.
struct SDioLampMap {
    int nRow;
    int nDiFirstBit;
    int nDoFirstBit;
};
extern const std::vector<SDioLampMap> DioLampMap;

enum class EDioLamp { Unchanged, On, Off, Absent };

struct SDioLampStates {
    std::array<EDioLamp, 16> di{};
    std::array<EDioLamp, 16> dout{};
};

// The lamps one status value shows for a model: the lamps its row drives on or off, every other
// lamp absent; all unchanged for a name without a lamp row.
SDioLampStates DioLampStates(const std::string& model, WORD status,
                             EDioDialog dialog = EDioDialog::Ascii);

// The status in the data of an ASCII status reply (what follows its lead "!", which no address
// follows): four upper-case hex digits, followed by nothing but the module's "00". Nothing for any
// other character or a longer reply (a counter's reply that came late), so that no lamp and no
// output state is ever taken from a reply that carries none.
std::optional<WORD> DioParseStatus(const std::string& data);
// The count in the data of a counter reply (what follows "!" and the address): five decimal digits
// and nothing more; nothing otherwise.
std::optional<std::string> DioParseCounter(const std::string& data);

// The DO value as the row's DO text: the last 1, 2 or 4 of its four hex digits; empty for a row
// without a width and for a name of no row.
std::string BuildDoHexString(const std::string& model, int value);

// The Modbus RTU reads of a model: function 01 from coil 0x0000 (inputs) and 0x0010 (outputs).
struct SDioCoilRead {
    std::vector<const char*> names; // a name containing one of them
    int nInputCoils;                // 0: no read
    int nOutputCoils;
    bool bOutputsFirst; // the opening read is the outputs'
};
extern const std::vector<SDioCoilRead> DioCoilReadTable;

const SDioCoilRead* DioFindCoilRead(const std::string& model);
// "01", the first coil and the count, four hex digits each.
std::string DioCoilReadText(bool outputs, int count);
// The coil bits of a read reply (bit k = coil k of the read); nothing unless it is the whole
// function-01 answer of that slave to a read of count coils, with its CRC right.
std::optional<WORD> DioCoilBits(const std::vector<BYTE>& reply, BYTE slave, int count);
// The status value of a model from its input and output coils, in its lamp layout; nothing for a
// name without a lamp row.
std::optional<WORD> DioComposeStatus(const std::string& model, WORD inputs, WORD outputs);

// A row of the Modbus dialog's list: the reference (10001 + channel for an input, 10017 +
// channel for an output), nine blanks, "CH" and the channel left-aligned in a field of width, and
// "1" or "0".
std::string DioListRow(bool output, int channel, bool on, int width);
// The field width of a row's list rows; 0 for the rows that add none.
int DioListFieldWidth(int row);

// The names that switch to Modbus RTU by a configuration command and keep the Protocol box only
// at address 0.
bool DioSwitchesByConfiguration(const std::string& model);

// The controls of one channel in the digital I/O templates.
struct SDioChannelControls {
    int nDiLamp;
    int nCounter;
    int nClear;
    int nDoLamp;
};
// clang-format off
inline constexpr std::array<SDioChannelControls, 16> DioChannelControls = {{
    {1054, 1070, 1078, 1062}, {1055, 1071, 1028, 1063}, {1056, 1072, 1029, 1064},
    {1057, 1073, 1030, 1065}, {1058, 1074, 1031, 1066}, {1059, 1075, 1032, 1067},
    {1060, 1076, 1033, 1068}, {1061, 1077, 1034, 1069}, {1079, 1087, 1088, 1109},
    {1084, 1089, 1035, 1110}, {1085, 1090, 1036, 1111}, {1086, 1091, 1037, 1112},
    {1092, 1096, 1097, 1113}, {1093, 1098, 1038, 1114}, {1094, 1099, 1039, 1115},
    {1095, 1100, 1040, 1116},
}};
// clang-format on
