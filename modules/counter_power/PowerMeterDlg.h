// What the two power-meter dialogs share: the reading boxes filled from a reading group, the
// 6539's lamps, the disabled calibration steps, and Enter taking the close path.
#pragma once

#include "Lamps.h"
#include "ModuleDlg.h"

#include <array>

class CPowerMeterDlg : public CModuleDlg {
public:
    explicit CPowerMeterDlg(const SModuleDescriptor& descriptor);

    // Writes the boxes of a reading group ("0" to "5"; anything else writes nothing) from the
    // register digits of its reply.
    void ShowReadingGroup(const std::string& group, const std::string& data);
    // The input lamp, the output lamps and the output bits from a "!AAio" reply.
    void ShowDioState(const std::string& reply);

    // Output bit 0 (lamp 1208) and bit 1 (lamp 1207).
    std::array<int, 2> m_bDoState{};

protected:
    // The model with digital I/O.
    bool Is6539() const;
    // The steps of the calibration group stay disabled; the template disables the rest.
    void DisableCalibrationSteps();
    // Lamps that show the digital I/O start grey and their outputs take clicks; otherwise all
    // four are disabled.
    void InitLamps(bool bDigitalIo);
    // Red for each output bit that is 1, white for 0.
    void ShowOutputLamps();

    CLamps m_outputLamps; // 1208 (bit 0), 1207 (bit 1)
};
