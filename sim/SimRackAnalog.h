// The analog input slot modules of the ASCII rack: 1300 (3 RTD channels, code "80"), 1384 (8
// voltage/current channels, "84"), 1386 (7 thermocouple channels, "86") and the 1384H speed input
// module (8 channels, "4H"). Each channel has a value, a high and a low alarm (type "M"
// momentary, "L" latch or "D" disabled, a limit, a latched state) and an enable bit.
#pragma once

#include "SimRack.h"

#include <set>
#include <vector>

class CSimAnalogSlotBase : public CSimSlot {
public:
    struct SAlarm {
        char cType = 'M';
        double dLimit = 0.0;
        bool bLatched = false;
    };
    struct SChannel {
        double dValue = 0.0;
        char cRange = '0'; // 1384H: the channel's range code
        SAlarm high{'M', 80.0, false};
        SAlarm low{'M', -20.0, false};
    };
    SChannel& Channel(int n) { return m_channels.at(static_cast<size_t>(n)); }
    int Channels() const { return static_cast<int>(m_channels.size()); }
    BYTE EnableMask() const { return m_nEnableMask; }
    void SetEnableMask(BYTE mask) { m_nEnableMask = mask; }
    // Whether a channel's alarm is active now (momentary beyond its limit, or latched).
    bool HighActive(int n);
    bool LowActive(int n);

    std::string Command(char lead, std::string_view body, DWORD now) override;

    // Request bodies (after the slot) the module refuses, as a fault on demand.
    std::set<std::string, std::less<>> refused;

protected:
    CSimAnalogSlotBase(std::string code, int channels, const char* valueFormat);
    // The module's own "$" bodies (configuration, ranges); "" when the body is not one of them.
    virtual std::string Setting(std::string_view body) = 0;

private:
    std::string ChannelCommand(char lead, SChannel& ch, int n, std::string_view body);
    std::string Alarm(SChannel& ch, std::string_view body);

    std::vector<SChannel> m_channels;
    const char* m_pszValueFormat;
    BYTE m_nEnableMask = 0xFF;
};

// 1300, 1384, 1386: "$B" answers range code, integration digit and format digit; "$A" + code +
// integration + format sets them, refused while the module is locked (Init* not at GND).
class CSimAnalogInputSlot : public CSimAnalogSlotBase {
public:
    explicit CSimAnalogInputSlot(std::string code);
    std::string strRange;
    char cIntegration = '0';
    char cFormat = '0';
    bool bLocked = false;

protected:
    std::string Setting(std::string_view body) override;
};

// 1384H: "$B" answers "FF", "0" and the format digit ("0" engineer units, "2" two's complement);
// "$AFF0" + format digit sets it. "$C<n>B" answers "0" + the range code, "$C<n>A0<c>FF" sets it.
class CSimSpeedInputSlot : public CSimAnalogSlotBase {
public:
    CSimSpeedInputSlot();
    char cFormat = '0';

protected:
    std::string Setting(std::string_view body) override;
};
