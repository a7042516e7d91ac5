#include "app/AppIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace
{

const char *themeName(AppIcon which)
{
    switch (which) {
    case AppIcon::New:
        return "document-new";
    case AppIcon::Open:
        return "document-open";
    case AppIcon::Save:
        return "document-save";
    case AppIcon::SaveAs:
        return "document-save-as";
    case AppIcon::Import:
        return "document-import";
    case AppIcon::Export:
        return "document-export";
    case AppIcon::Find:
        return "edit-find";
    case AppIcon::Add:
        return "list-add";
    case AppIcon::Statistics:
        return "x-office-spreadsheet";
    case AppIcon::Options:
        return "preferences-system";
    case AppIcon::About:
        return "help-about";
    case AppIcon::Exit:
        return "application-exit";
    case AppIcon::Flight:
    case AppIcon::Airline:
    case AppIcon::Airport:
    case AppIcon::Distance:
    case AppIcon::Application:
        break;
    }
    return nullptr;
}

// All drawing is on a 32 by 32 grid.
void drawPage(QPainter &p)
{
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(20, 3);
    page.lineTo(26, 9);
    page.lineTo(26, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
}

void drawFloppy(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(0x1f, 0x3f, 0x7f), 1.5));
    p.setBrush(QColor(0x3a, 0x6e, 0xc8));
    p.drawRoundedRect(r, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + 1, r.width() * 0.6, r.height() * 0.35));
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawRect(QRectF(r.left() + r.width() * 0.25, r.top() + r.height() * 0.6, r.width() * 0.5,
                      r.height() * 0.4 - 1));
}

void drawArrow(QPainter &p, bool down, const QColor &colour)
{
    QPainterPath arrow;
    if (down) {
        arrow.moveTo(13, 3);
        arrow.lineTo(19, 3);
        arrow.lineTo(19, 12);
        arrow.lineTo(24, 12);
        arrow.lineTo(16, 21);
        arrow.lineTo(8, 12);
        arrow.lineTo(13, 12);
    } else {
        arrow.moveTo(13, 21);
        arrow.lineTo(19, 21);
        arrow.lineTo(19, 12);
        arrow.lineTo(24, 12);
        arrow.lineTo(16, 3);
        arrow.lineTo(8, 12);
        arrow.lineTo(13, 12);
    }
    arrow.closeSubpath();
    p.setPen(QPen(colour.darker(140), 1.2));
    p.setBrush(colour);
    p.drawPath(arrow);
    // The tray the arrow goes into or comes out of.
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{5, 20}, {5, 28}, {27, 28}, {27, 20}}));
}

void drawPlane(QPainter &p, const QColor &colour)
{
    QPainterPath plane;
    plane.moveTo(16, 2);
    plane.cubicTo(18, 2, 18.5, 5, 18.5, 8);
    plane.lineTo(18.5, 12);
    plane.lineTo(30, 19);
    plane.lineTo(30, 22);
    plane.lineTo(18.5, 18);
    plane.lineTo(18, 25);
    plane.lineTo(22, 28);
    plane.lineTo(22, 30);
    plane.lineTo(16, 28.5);
    plane.lineTo(10, 30);
    plane.lineTo(10, 28);
    plane.lineTo(14, 25);
    plane.lineTo(13.5, 18);
    plane.lineTo(2, 22);
    plane.lineTo(2, 19);
    plane.lineTo(13.5, 12);
    plane.lineTo(13.5, 8);
    plane.cubicTo(13.5, 5, 14, 2, 16, 2);
    p.setPen(QPen(colour.darker(150), 1));
    p.setBrush(colour);
    p.drawPath(plane);
}

void draw(QPainter &p, AppIcon which)
{
    switch (which) {
    case AppIcon::New:
        drawPage(p);
        break;
    case AppIcon::Open:
        p.setPen(QPen(QColor(0x9a, 0x6b, 0x00), 1.5));
        p.setBrush(QColor(0xf2, 0xc0, 0x4a));
        p.drawPolygon(QPolygonF({{3, 8}, {12, 8}, {14, 11}, {29, 11}, {29, 27}, {3, 27}}));
        p.setBrush(QColor(0xfa, 0xd7, 0x7a));
        p.drawPolygon(QPolygonF({{6, 15}, {31, 15}, {28, 27}, {3, 27}}));
        break;
    case AppIcon::Save:
        drawFloppy(p, QRectF(4, 4, 24, 24));
        break;
    case AppIcon::SaveAs:
        drawFloppy(p, QRectF(2, 2, 22, 22));
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1));
        p.setBrush(QColor(0xf0, 0xa8, 0x30));
        p.drawPolygon(QPolygonF({{27, 15}, {30, 18}, {20, 28}, {16, 29}, {17, 25}}));
        break;
    case AppIcon::Import:
        drawArrow(p, true, QColor(0x3c, 0xa0, 0x3c));
        break;
    case AppIcon::Export:
        drawArrow(p, false, QColor(0x3a, 0x6e, 0xc8));
        break;
    case AppIcon::Find:
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 19), QPointF(28, 28));
        p.setPen(QPen(QColor(0x33, 0x33, 0x33), 2.5));
        p.setBrush(QColor(0xcf, 0xe6, 0xff));
        p.drawEllipse(QPointF(13, 13), 9, 9);
        break;
    case AppIcon::Add:
        p.setPen(QPen(QColor(0x1e, 0x7a, 0x1e), 1.2));
        p.setBrush(QColor(0x3c, 0xb0, 0x3c));
        p.drawPolygon(QPolygonF({{12, 4},
                                 {20, 4},
                                 {20, 12},
                                 {28, 12},
                                 {28, 20},
                                 {20, 20},
                                 {20, 28},
                                 {12, 28},
                                 {12, 20},
                                 {4, 20},
                                 {4, 12},
                                 {12, 12}}));
        break;
    case AppIcon::Statistics:
        p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1.2));
        p.setBrush(QColor(0x3a, 0x6e, 0xc8));
        p.drawRect(QRectF(5, 16, 6, 12));
        p.setBrush(QColor(0x3c, 0xb0, 0x3c));
        p.drawRect(QRectF(13, 8, 6, 20));
        p.setBrush(QColor(0xe0, 0x8a, 0x20));
        p.drawRect(QRectF(21, 12, 6, 16));
        p.drawLine(QPointF(3, 28.5), QPointF(29, 28.5));
        break;
    case AppIcon::Options: {
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 5, Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 4; ++i) {
            p.save();
            p.translate(16, 16);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -13), QPointF(0, 13));
            p.restore();
        }
        p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1.5));
        p.setBrush(QColor(0x99, 0x99, 0x99));
        p.drawEllipse(QPointF(16, 16), 9, 9);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 16), 3.5, 3.5);
        break;
    }
    case AppIcon::About:
        p.setPen(QPen(QColor(0x1f, 0x3f, 0x7f), 1.5));
        p.setBrush(QColor(0x3a, 0x6e, 0xc8));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
        p.drawRect(QRectF(14, 14, 4, 11));
        break;
    case AppIcon::Exit:
        p.setPen(QPen(QColor(0x8a, 0x1a, 0x1a), 1.5));
        p.setBrush(QColor(0xd0, 0x30, 0x30));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 11), QPointF(21, 21));
        p.drawLine(QPointF(21, 11), QPointF(11, 21));
        break;
    case AppIcon::Flight:
        drawPlane(p, QColor(0x3a, 0x6e, 0xc8));
        break;
    case AppIcon::Airline:
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x00), 1.5));
        p.setBrush(QColor(0xf0, 0xb8, 0x40));
        p.drawPolygon(QPolygonF({{3, 9}, {20, 9}, {29, 16}, {20, 23}, {3, 23}}));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(20, 16), 2.5, 2.5);
        break;
    case AppIcon::Airport:
        p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1.5));
        p.setBrush(QColor(0xaa, 0xaa, 0xaa));
        p.drawPolygon(QPolygonF({{13, 12}, {19, 12}, {21, 29}, {11, 29}}));
        p.setBrush(QColor(0x5a, 0xa0, 0xe0));
        p.drawPolygon(QPolygonF({{8, 5}, {24, 5}, {21, 12}, {11, 12}}));
        break;
    case AppIcon::Distance:
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2, Qt::DashLine));
        p.drawLine(QPointF(7, 24), QPointF(25, 8));
        p.setPen(QPen(QColor(0x8a, 0x1a, 0x1a), 1.2));
        p.setBrush(QColor(0xd0, 0x30, 0x30));
        p.drawEllipse(QPointF(7, 24), 4, 4);
        p.setBrush(QColor(0x3c, 0xb0, 0x3c));
        p.drawEllipse(QPointF(25, 8), 4, 4);
        break;
    case AppIcon::Application:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2a, 0x5d, 0xb0));
        p.drawEllipse(QPointF(16, 16), 15.5, 15.5);
        p.save();
        p.translate(16, 16);
        p.rotate(45);
        p.scale(0.8, 0.8);
        p.translate(-16, -16);
        drawPlane(p, Qt::white);
        p.restore();
        break;
    }
}

QPixmap drawnPixmap(AppIcon which, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p, which);
    return pixmap;
}

} // namespace

QIcon drawnIcon(AppIcon which)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(drawnPixmap(which, size));
    return icon;
}

QIcon appIcon(AppIcon which)
{
    if (const char *name = themeName(which)) {
        const QIcon themed = QIcon::fromTheme(QString::fromLatin1(name));
        if (!themed.isNull() && !themed.availableSizes().isEmpty())
            return themed;
    }
    return drawnIcon(which);
}
