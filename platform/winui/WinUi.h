// The class-library layer: everything the program's windows and dialogs use.
#pragma once

#include "Clock.h"
#include "Controls.h"
#include "Dialog.h"
#include "DialogTemplate.h"
#include "Frame.h"
#include "Resources.h"
#include "Shell.h"
#include "Strings.h"
#include "Wnd.h"
