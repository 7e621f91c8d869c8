#include "RawScaling.h"

#include "Strings.h"

std::optional<float> RawToEngineering(int raw, int row, const RawScaleTable& table)
{
    if (row < 0 || row >= static_cast<int>(table.size())) return std::nullopt;
    const SRawScale& scale = table[static_cast<size_t>(row)];
    double factor = scale.dSpan / 65535.0;
    return static_cast<float>(raw * factor + scale.dLow);
}

std::string EngineeringText(std::optional<float> value)
{
    return value ? Format("%f", static_cast<double>(*value)) : std::string();
}
