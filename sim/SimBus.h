// Modules on one serial line. A request reaches the modules that listen in its protocol at the
// line's baud rate, data bits and parity; each answers or stays silent as a real module would.
//
// Bus file: one module a line, "#" starts a comment:
//   MODEL ADDRESS BAUD PROTOCOL [KEY=VALUE ...]
//   6384  1       9600 ascii    type=08 format=00 checksum=off
// ADDRESS is decimal or 0x-hex (0 to 255); PROTOCOL is ascii or rtu. Keys:
//   checksum=on|off  parity=none|even|odd  format=HH (data-format byte)  type=HH
//   types=HH,HH,...  (one per channel, models with a type per channel)  init=on|off (INIT* to GND)
//   probe=2710|00D2|both  (model probes answered)  inputN=VALUE (channel N held at VALUE;
//   an output module drives it)
//   delay=MS  cut=N  garbage=N  long=N  silent_after=N  hangup=on|off  blank=on|off
//   (faults, see SSimFaults)
//   and a family's own keys (the rack: slots=CC,CC,... the codes of slots 0 onwards, FF empty;
//   the power meters: pt=N ct=N, the ratios 0 to 65535)
#pragma once

#include "SimModule.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class CSimBus {
public:
    // Adds a module of a known model; throws std::invalid_argument for an unknown model or a
    // setting it does not take.
    CSimModule& Add(std::string_view model, int address, DWORD baud,
                    ESimProtocol protocol = ESimProtocol::Ascii);
    CSimModule& Add(std::unique_ptr<CSimModule> module);
    // Adds the modules of bus-file text; throws std::runtime_error naming the line at fault.
    void Load(std::string_view text);
    void LoadFile(const std::string& path);

    size_t Count() const { return m_vecModules.size(); }
    CSimModule& Module(size_t index) { return *m_vecModules.at(index); }
    // The module of a family, e.g. ModuleAs<CSimAnalogInput8>(0); throws std::bad_cast.
    template <class T> T& ModuleAs(size_t index) { return dynamic_cast<T&>(Module(index)); }

    // One request on the line (ASCII text without its CR, or an RTU frame with its CRC). nullopt
    // when no module answers; when several answer at once their bytes collide.
    std::optional<SSimAnswer> Exchange(ESimProtocol protocol, const SSimLine& line,
                                       std::string_view request, DWORD now);

private:
    std::vector<std::unique_ptr<CSimModule>> m_vecModules;
};

// One module from a bus-file line (without comment); throws std::invalid_argument.
std::unique_ptr<CSimModule> SimParseModuleLine(std::string_view line);
