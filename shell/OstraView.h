// The view: paints the background picture from the program folder.
#pragma once

#include "Frame.h"
#include "Picture.h"

class COstraView : public CView {
public:
    void OnDraw(CDC* pDC) override;
    const CPicture& GetPicture() const { return m_picture; }

private:
    CPicture m_picture;
};
