// SPDX-License-Identifier: GPL-3.0-or-later
// A bare Qt window with the main window's 17 controls at the same places, and nothing
// else: no face of its own, no icon, no entries file, no calculation.
#include "bench/firstpaint.h"
#include "windows/twips.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace {

template <typename Control>
Control *place(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *control = new Control(text, parent);
    control->setGeometry(geometry);
    return control;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(twipsSize(3150, 3000));
    place<QLabel>(&window, QStringLiteral("\"K\" festlegen"), twipsRect(120, 120, 1095, 255));
    place<QLineEdit>(&window, QStringLiteral("30"), twipsRect(1320, 120, 495, 375));
    place<QPushButton>(&window, QStringLiteral("Hilfe"), twipsRect(1920, 120, 1095, 375));
    place<QLabel>(&window, QStringLiteral("Eigene ELO"), twipsRect(120, 600, 1215, 255));
    place<QLineEdit>(&window, QStringLiteral("0"), twipsRect(1320, 600, 495, 375));
    place<QLineEdit>(&window, QString(), twipsRect(1920, 600, 495, 375));
    place<QLineEdit>(&window, QString(), twipsRect(2520, 600, 495, 375));
    place<QLabel>(&window, QStringLiteral("Gegner ELO"), twipsRect(120, 1080, 1095, 255));
    place<QLineEdit>(&window, QStringLiteral("0"), twipsRect(1320, 1080, 495, 375));
    place<QLineEdit>(&window, QString(), twipsRect(1920, 1080, 495, 375));
    place<QLineEdit>(&window, QString(), twipsRect(2520, 1080, 495, 375));
    auto *frame = place<QGroupBox>(&window, QStringLiteral("Ergebnis"),
                                   twipsRect(120, 1560, 1695, 1335));
    place<QRadioButton>(frame, QStringLiteral("Gewonnen"), twipsRect(120, 240, 1515, 255))
        ->setChecked(true);
    place<QRadioButton>(frame, QStringLiteral("Unentschieden"), twipsRect(120, 600, 1515, 255));
    place<QRadioButton>(frame, QStringLiteral("Verloren"), twipsRect(120, 960, 1515, 255));
    place<QPushButton>(&window, QStringLiteral("Neue ELO\nBerechnen"),
                       twipsRect(1920, 1560, 1095, 615));
    place<QPushButton>(&window, QStringLiteral("Ende"), twipsRect(1920, 2280, 1095, 615));
    new FirstPaint(&window);
    window.show();
    return QApplication::exec();
}
