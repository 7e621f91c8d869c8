// The acknowledged steps of the output, digital I/O, counter and power-meter dialogs.
#include "AckSteps.h"

std::vector<SAckStep> OutputCounterAckSteps()
{
    return {};
}
