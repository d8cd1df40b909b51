// Turns the icon source into the files the platforms want: a PNG for the freedesktop icon
// theme, and an ICO (one PNG-compressed 32 x 32 entry) for the Windows program file.
#include <QBuffer>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

void putLittleEndian(QByteArray &bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

QByteArray icoWithPng(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    QByteArray ico;
    putLittleEndian(ico, 0, 2); // reserved
    putLittleEndian(ico, 1, 2); // type: icon
    putLittleEndian(ico, 1, 2); // one image
    putLittleEndian(ico, static_cast<quint32>(image.width()), 1);
    putLittleEndian(ico, static_cast<quint32>(image.height()), 1);
    putLittleEndian(ico, 0, 1);  // no palette
    putLittleEndian(ico, 0, 1);  // reserved
    putLittleEndian(ico, 1, 2);  // colour planes
    putLittleEndian(ico, 32, 2); // bits per pixel
    putLittleEndian(ico, static_cast<quint32>(png.size()), 4);
    putLittleEndian(ico, 6 + 16, 4); // offset of the image data
    return ico + png;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: icontool ICON.xpm OUT.png OUT.ico\n");
        return 2;
    }
    const QImage image = QImage(QString::fromLocal8Bit(argv[1]))
                             .convertToFormat(QImage::Format_ARGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "icontool: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile ico(QString::fromLocal8Bit(argv[3]));
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG") || !ico.open(QIODevice::WriteOnly)
        || ico.write(icoWithPng(image)) < 0) {
        std::fprintf(stderr, "icontool: cannot write the icons\n");
        return 1;
    }
    return 0;
}
