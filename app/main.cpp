#include "windows/frmhaupt.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmHaupt window;
    QObject::connect(&window, &frmHaupt::ended, &app, &QCoreApplication::quit);
    window.show();
    return QApplication::exec();
}
