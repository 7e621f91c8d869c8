// The application object.
#pragma once

#include "Frame.h"

class COstraApp : public CWinApp {
public:
    BOOL InitInstance() override;
    void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};
