// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own start-up, ending at its first paint: app/main.cpp plus FirstPaint.
#include "bench/firstpaint.h"
#include "windows/frmhaupt.h"
#include "windows/look.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("de.ratinor.Ratinor"));
    installGermanQtTexts();
    frmHaupt window;
    QObject::connect(&window, &frmHaupt::ended, &app, &QCoreApplication::quit);
    new FirstPaint(&window);
    window.show();
    return QApplication::exec();
}
