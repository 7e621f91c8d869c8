// The model groups both eight-channel analog-input dialogs (ASCII and Modbus RTU) tell apart.
#pragma once

#include "ModelName.h"

// The single-channel models with alarm limits and two outputs.
inline bool IsSingleChannelAi(const std::string& name)
{
    return ModelHasAny(name, {"4385", "6385", "4389", "6389"});
}
// The eight-channel models.
inline bool IsEightChannelAi(const std::string& name)
{
    return ModelHasAny(name, {"4384", "6384"});
}
// The models whose input range is fixed: their Input Range list cannot be changed.
inline bool HasFixedAiRange(const std::string& name)
{
    return ModelHasAny(name, {"4384C", "6384C", "4384c", "6384c"});
}
// The eight-channel models with a conversion mode (Normal 16 bits or Fast 12 bits).
inline bool HasConversionMode(const std::string& name)
{
    return ModelHasAny(name, {"4384F", "6384F", "6384CF"});
}
