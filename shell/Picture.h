// A picture loaded from a file and drawn to fit a rectangle.
#pragma once

#include "Frame.h"

#include <QImage>
#include <cstdio>
#include <string>

class CPicture {
public:
    // False when the file cannot be opened; the picture loaded before then stays.
    BOOL LoadFromFile(const std::string& path);
    // Loads the whole open file; true when it held a picture.
    BOOL LoadFromBuffer(std::FILE* file);
    // Draws the whole picture into the largest rectangle of its proportions that fits rect,
    // centred; an empty rect stands for the picture's own size at the top-left corner.
    void DrawFitted(CDC* pDC, CRect rect, int mode);
    CSize GetSize() const;
    bool IsLoaded() const { return !m_image.isNull(); }

private:
    QImage m_image;
};
