// The document: it holds no data.
#pragma once

#include "Frame.h"

class COstraDoc : public CDocument {};
