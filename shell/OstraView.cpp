#include "OstraView.h"

#include "Shell.h"

void COstraView::OnDraw(CDC* pDC)
{
    // Read on every paint, so a picture put in place while the program runs shows at once.
    m_picture.LoadFromFile(GetProgramFolder() + "talvik.bmp");
    m_picture.DrawFitted(pDC, CRect{}, 1);
}
