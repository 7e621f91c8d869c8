#include "Picture.h"

#include <QPainter>
#include <vector>

BOOL CPicture::LoadFromFile(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return FALSE;
    BOOL loaded = LoadFromBuffer(file);
    std::fclose(file);
    return loaded;
}

BOOL CPicture::LoadFromBuffer(std::FILE* file)
{
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    // The current picture goes before the new one is read, whatever the file holds.
    m_image = QImage();
    m_image.loadFromData(bytes.data(), static_cast<int>(bytes.size()));
    return !m_image.isNull();
}

CSize CPicture::GetSize() const
{
    return {m_image.width(), m_image.height()};
}

void CPicture::DrawFitted(CDC* pDC, CRect rect, int)
{
    if (m_image.isNull() || !pDC || !pDC->GetPainter()) return;
    CSize size = GetSize();
    if (rect.IsRectEmpty()) rect = {0, 0, size.cx, size.cy};
    double scale = std::min(static_cast<double>(rect.Width()) / size.cx,
                            static_cast<double>(rect.Height()) / size.cy);
    int cx = static_cast<int>(size.cx * scale);
    int cy = static_cast<int>(size.cy * scale);
    QRect target(rect.left + (rect.Width() - cx) / 2, rect.top + (rect.Height() - cy) / 2, cx, cy);
    pDC->GetPainter()->drawImage(target, m_image);
}
