// Renders the program's SVG icon to a square PNG at build time, so the
// icon theme gets the fixed sizes that some desktops and the software centre
// look for. Usage: veltra-render-icon SVG SIZE PNG

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: veltra-render-icon SVG SIZE PNG\n", stderr);
        return 2;
    }
    const int size = std::atoi(argv[2]);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid() || size < 1 || size > 4096) {
        std::fprintf(stderr, "veltra-render-icon: cannot render %s at %s pixels\n", argv[1],
                     argv[2]);
        return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "veltra-render-icon: cannot write %s\n", argv[3]);
        return 2;
    }
    return 0;
}
