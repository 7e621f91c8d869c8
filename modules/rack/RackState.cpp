#include "RackState.h"

CRackState& RackState()
{
    static CRackState state;
    return state;
}
