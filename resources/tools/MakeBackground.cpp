// Draws the main window's background picture, talvik.bmp, at build time.
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QImage image(640, 400, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(18, 52, 96));
    sky.setColorAt(1, QColor(70, 130, 180));
    p.fillRect(image.rect(), sky);

    // A bus line with modules hanging on it.
    p.setPen(QPen(QColor(250, 210, 90), 4));
    p.drawLine(40, 250, 600, 250);
    for (int i = 0; i < 5; ++i) {
        int x = 60 + i * 110;
        p.setPen(QPen(QColor(250, 210, 90), 3));
        p.drawLine(x + 35, 250, x + 35, 270);
        p.setPen(QPen(QColor(30, 30, 30), 2));
        p.setBrush(QColor(225, 228, 232));
        p.drawRoundedRect(x, 270, 70, 90, 6, 6);
        p.setBrush(i % 2 ? QColor(220, 30, 30) : QColor(60, 190, 80));
        p.drawEllipse(x + 10, 282, 10, 10);
        p.setBrush(QColor(90, 90, 90));
        for (int k = 0; k < 4; ++k) p.drawRect(x + 8 + k * 15, 340, 10, 12);
    }
    p.setPen(Qt::white);
    QFont title("DejaVu Sans", 34, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 60, 640, 60), Qt::AlignCenter, "Talvik 4333");
    p.setFont(QFont("DejaVu Sans", 14));
    p.drawText(QRect(0, 130, 640, 40), Qt::AlignCenter, "I/O module search and configuration");
    p.end();
    return image.save(argv[1], "BMP") ? 0 : 1;
}
