// The acknowledged steps of the rack dialogs.
#include "AckSteps.h"

std::vector<SAckStep> RackAckSteps()
{
    return {};
}
