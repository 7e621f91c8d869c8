// The acknowledged steps of the per-channel and RTD dialogs.
#include "AckSteps.h"

std::vector<SAckStep> PerChannelAndRtdAckSteps()
{
    return {};
}
