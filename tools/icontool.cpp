// SPDX-License-Identifier: GPL-3.0-or-later
// Turns the windows' 32 x 32 icon into the Windows program file's ICO, with Qt's own ICO
// writer, and fails loudly rather than leave an empty file behind.
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: icontool ICON.xpm OUT.ico\n");
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1]))
                             .convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "icontool: cannot read %s\n", argv[1]);
        return 1;
    }
    QImageWriter ico(QString::fromLocal8Bit(argv[2]), "ico");
    if (!ico.write(image)) {
        std::fprintf(stderr, "icontool: cannot write %s: %s\n", argv[2],
                     qPrintable(ico.errorString()));
        return 1;
    }
    return 0;
}
