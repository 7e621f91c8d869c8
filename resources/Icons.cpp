// The program's icons, drawn here: the lamps of the module dialogs and the application icon.
#include "Resource.h"
#include "Resources.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

// A round lamp: 32 pixels with a highlight, so it reads as round, for the lamps of the module
// dialogs; 16 pixels for the small flag dots of the alarm lamps.
QIcon Round(int side, QColor fill, bool highlight)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    int edge = side / 8;
    p.setPen(QPen(QColor(64, 64, 64), side / 16));
    p.setBrush(fill);
    p.drawEllipse(edge, edge, side - 2 * edge, side - 2 * edge);
    if (highlight) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawEllipse(10, 8, 8, 6);
    }
    return QIcon(pixmap);
}

QIcon Lamp(QColor fill)
{
    return Round(32, fill, true);
}

QIcon Dot(QColor fill)
{
    return Round(16, fill, false);
}

QIcon AppIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 90, 160));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(2, 6, 28, 20, 4, 4);
    p.setPen(QPen(Qt::white, 2));
    for (int x = 8; x <= 24; x += 8) p.drawLine(x, 12, x, 20);
    return QIcon(pixmap);
}

const bool g_registered = [] {
    RegisterIcon(IDI_LAMP_ON, [] { return Lamp(QColor(220, 30, 30)); });
    RegisterIcon(IDI_LAMP_OFF, [] { return Lamp(Qt::white); });
    RegisterIcon(IDI_LAMP_UNUSED, [] { return Lamp(QColor(160, 160, 160)); });
    RegisterIcon(IDI_DOT_SET, [] { return Dot(QColor(220, 30, 30)); });
    RegisterIcon(IDI_DOT_CLEAR, [] { return Dot(QColor(160, 160, 160)); });
    RegisterIcon(static_cast<int>(IDR_MAINFRAME), AppIcon);
    return true;
}();

} // namespace
