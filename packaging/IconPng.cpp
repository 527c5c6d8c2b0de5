// Writes an XPM icon of the programs as the PNG that desktop icon themes expect.
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon_png ICON.xpm ICON.png\n");
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull() || !icon.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "icon_png: cannot convert %s to %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
