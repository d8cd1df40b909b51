// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/frmhaupt.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A file-size limit (ulimit -f) makes a write fail like a full disk; its signal would
    // end the program before the save could say so.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    frmHaupt window;
    QObject::connect(&window, &frmHaupt::ended, &app, &QCoreApplication::quit);
    window.show();
    return QApplication::exec();
}
