#include "Ostra.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    COstraApp app;
    if (!app.InitInstance()) return 1;
    return app.Run();
}
