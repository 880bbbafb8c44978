#include "ResourceImages.h"

#include "ResourceIds.h"

#include <QImageReader>
#include <QString>

#include <algorithm>

namespace lumivar::qt {
namespace {

// The pictures are compiled in as Qt resources from res/ (see CMakeLists.txt).
QString ResourcePath(int id) {
    switch (id) {
    case IDI_LUMIVAR:
        return QStringLiteral(":/lumivar/Lumivar.ico");
    case IDB_NOTICE:
        return QStringLiteral(":/lumivar/Notice.bmp");
    default:
        return {};
    }
}

} // namespace

QIcon LoadIconResource(int id) {
    const QString path = ResourcePath(id);
    if (path.isEmpty())
        return {};
    // QIcon(path) would load lazily and hide a missing file; read every
    // picture of the .ico now.
    QIcon icon;
    QImageReader reader(path);
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QPixmap LoadIconPixmap(int id, QSize size) {
    const QIcon icon = LoadIconResource(id);
    if (icon.isNull())
        return {};
    QPixmap pixmap = icon.pixmap(size, 1.0);
    if (pixmap.size() != size)
        pixmap = pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return pixmap;
}

QPixmap LoadBitmapResource(int id) {
    const QString path = ResourcePath(id);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

} // namespace lumivar::qt
