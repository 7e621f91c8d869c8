// The search settings file "talvik4333.ini" in the program folder: a short text read at fixed
// character positions. Parity is not stored.
#pragma once

#include <array>
#include <optional>
#include <string>

// The rates the search can try (BaudRateTable, ascending): the file and the search list them in
// this order.
inline constexpr int kBaudRateCount = 8;
// The TimeOut entries in ms, by position.
inline constexpr std::array<int, 4> kTimeoutChoices = {50, 100, 200, 500};
inline constexpr const char* kSettingsFileName = "talvik4333.ini";

struct SSearchSettings {
    int nComEntry = 0;                          // position of the COM entry, 0 for COM1
    std::array<bool, kBaudRateCount> bTicked{}; // by rate, ascending
    int nTimeoutEntry = 0;                      // 0 to 3; a larger position selects no entry
    int nChecksum = 0; // 1 Enable, 0 Disable; any other digit chooses neither
};

// The settings file's full path.
std::string SearchSettingsPath();
// Reads the file; nothing when it cannot be opened or read.
std::optional<SSearchSettings> ReadSearchSettings(const std::string& path);
// The settings in a text as the file holds it. Missing or unreadable positions read as 0.
SSearchSettings ParseSearchSettings(const std::string& text);
// The file's 52 bytes. A COM entry above COM16 does not fit the one hex digit: it is stored as
// COM1.
std::string FormatSearchSettings(const SSearchSettings& settings);
// Writes the bytes over the start of the existing file, which is neither created nor truncated.
// False when it cannot be opened or written.
bool WriteSearchSettings(const std::string& path, const std::string& bytes);
