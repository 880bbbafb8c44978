// Writes each picture of a Windows .ico as <dir>/<W>x<H>/<name>.png, the
// layout of an icon theme. Used by the build for the desktop icons.
#include <QCoreApplication>
#include <QDir>
#include <QImageReader>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv); // for the image-format plugins
    if (argc != 4) {
        std::fprintf(stderr, "usage: lumivar_icon_export ICON.ico OUTPUT_DIR NAME\n");
        return 2;
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    const int count = reader.imageCount();
    int written = 0;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.isNull())
            continue;
        const QString dir = QStringLiteral("%1/%2x%3")
                                .arg(QString::fromLocal8Bit(argv[2]))
                                .arg(image.width())
                                .arg(image.height());
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + name + ".png")) {
            std::fprintf(stderr, "lumivar_icon_export: cannot write %s\n", qPrintable(dir));
            return 1;
        }
        ++written;
    }
    if (written == 0) {
        std::fprintf(stderr, "lumivar_icon_export: no pictures in %s: %s\n", argv[1],
                     qPrintable(reader.errorString()));
        return 1;
    }
    return 0;
}
