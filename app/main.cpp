#include "windows/frmhaupt.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmHaupt window;
    window.show();
    return app.exec();
}
