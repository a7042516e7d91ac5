#include "geography/ui/RouteMapPicture.h"

#include "geography/ui/RouteMapPainter.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace
{

// Larger pictures are refused rather than tried: 16384 pixels a side is what a PNG writer and
// the memory of a desktop take without trouble (a 16384 by 8192 picture is 512 MB).
constexpr int kMaxSide = 16384;

QString writeError(const QString &path, const QString &why)
{
    return QStringLiteral("The picture \"%1\" could not be written: %2").arg(path, why);
}

} // namespace

bool IsRouteMapPictureName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("png") || suffix == QLatin1String("svg");
}

QString SaveRouteMapPicture(const RouteMapPainter &painter, QSize size, const RouteMapView &view,
                            const QString &path)
{
    if (!IsRouteMapPictureName(path))
        return writeError(path, QStringLiteral("a picture is a .png or an .svg file."));
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxSide ||
        size.height() > kMaxSide)
        return writeError(path, QStringLiteral("a side of %1 by %2 pixels is not between 1 and %3.")
                                    .arg(size.width())
                                    .arg(size.height())
                                    .arg(kMaxSide));
    // Written beside the target and renamed over it, so a failed write leaves an old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeError(path, file.errorString());
    if (QFileInfo(path).suffix().toLower() == QLatin1String("svg")) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Route map"));
        QPainter p(&svg);
        painter.paint(p, size, view);
    } else {
        QImage image(size, QImage::Format_RGB32);
        if (image.isNull())
            return writeError(path, QStringLiteral("there is not enough memory for it."));
        {
            QPainter p(&image);
            painter.paint(p, size, view);
        }
        if (!image.save(&file, "PNG"))
            return writeError(path, file.errorString());
    }
    if (!file.commit())
        return writeError(path, file.errorString());
    return {};
}
