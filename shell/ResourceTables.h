// The frame's menu, toolbar, status-bar panes and accelerator keys.
#pragma once

#include "Frame.h"

#include <vector>

extern const std::vector<MenuTemplate> kMainMenu;
extern const std::vector<UINT> kToolBarButtons;
extern const std::vector<UINT> kStatusIndicators;
extern const std::vector<AcceleratorTemplate> kAccelerators;
