// make_icon_png.cpp -- build tool: writes the icon as a PNG for installation.
// Usage: make_icon_png <output.png> <size>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

#include "sim/resources/vitrion_icon.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon_png <output.png> <size>\n");
        return 2;
    }
    // Painting needs no screen; the offscreen platform keeps the tool usable
    // on build machines without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = std::atoi(argv[2]);
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "make_icon_png: size must be 16..1024\n");
        return 2;
    }
    if (!vitrion_icon_image(size).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "make_icon_png: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
