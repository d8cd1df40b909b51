// SPDX-License-Identifier: GPL-3.0-or-later
// A bare Qt window with the main window's 17 controls at the same places, and nothing
// else: no face of its own, no icon, no entries file, no calculation.
#include "bench/firstpaint.h"
#include "windows/design.h"
#include "windows/qt/controls.h"
#include "windows/qt/place.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(qt::clientSize(design::frmHaupt));
    qt::createControls(&window, design::frmHaupt, qt::Dress::Bare);
    new FirstPaint(&window);
    window.show();
    return QApplication::exec();
}
