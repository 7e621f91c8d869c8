// The ASCII dialog of the eight-channel universal-input module: fifteen input types per channel.
#pragma once

#include "PerChannelAscii.h"

class CM6381p : public CPerChannelAsciiDlg {
public:
    explicit CM6381p(CWnd* pParent = nullptr);

    DECLARE_MESSAGE_MAP()
};
