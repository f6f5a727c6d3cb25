// Draws the program's toolbar and application icons. Run once by hand when an icon
// changes; the PNGs it writes are what the language packs hold:
//   g++ -std=c++20 -fPIC draw_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o draw_icons
//   QT_QPA_PLATFORM=offscreen ./draw_icons ../icons ../hicolor
// The application icon also goes into the desktop's icon theme folders at the usual sizes;
// ../hicolor/scalable/apps/velmora.svg is the same drawing on the same grid.
// Every icon is drawn on a 24 by 24 grid and scaled, so larger sizes stay sharp.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <QtMath>

#include <functional>
#include <initializer_list>

namespace {

using Drawing = std::function<void(QPainter&)>;

void save(const Drawing& draw, int size, const QString& file)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    draw(p);
    p.end();
    image.save(file);
}

QPen outline(const QColor& color, qreal width = 1.0)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A closed outline through `corners`, in order.
QPainterPath polygonPath(std::initializer_list<QPointF> corners)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(corners)));
    path.closeSubpath();
    return path;
}

void plusBadge(QPainter& p)
{
    p.setPen(outline(QColor(0x1b, 0x5e, 0x20)));
    p.setBrush(QColor(0x43, 0xa0, 0x47));
    p.drawEllipse(QRectF(14.5, 14.5, 9, 9));
    p.setPen(outline(Qt::white, 1.8));
    p.drawLine(QPointF(19, 16.6), QPointF(19, 21.4));
    p.drawLine(QPointF(16.6, 19), QPointF(21.4, 19));
}

void workshop(QPainter& p)
{
    // A garage: pitched roof, brick walls and a roll-up door.
    const QPainterPath roof = polygonPath({{1.5, 10}, {11, 2.5}, {20.5, 10}});
    p.setPen(outline(QColor(0x7f, 0x1d, 0x1d)));
    p.setBrush(QColor(0xc6, 0x28, 0x28));
    p.drawPath(roof);
    p.setPen(outline(QColor(0x5d, 0x40, 0x37)));
    p.setBrush(QColor(0xd7, 0xb8, 0x8e));
    p.drawRect(QRectF(3.5, 10, 15, 11));
    p.setPen(outline(QColor(0x45, 0x5a, 0x64)));
    p.setBrush(QColor(0x90, 0xa4, 0xae));
    p.drawRect(QRectF(6.5, 13, 9, 8));
    for (qreal y = 15; y < 21; y += 2)
        p.drawLine(QPointF(6.5, y), QPointF(15.5, y));
    plusBadge(p);
}

void truck(QPainter& p)
{
    // Cargo box, cab with window, two wheels.
    p.setPen(outline(QColor(0x0d, 0x47, 0xa1)));
    p.setBrush(QColor(0x42, 0x85, 0xf4));
    p.drawRoundedRect(QRectF(1, 5, 13, 10.5), 1, 1);
    const QPainterPath cab = polygonPath({{14, 8}, {19, 8}, {22.5, 12}, {22.5, 15.5}, {14, 15.5}});
    p.setBrush(QColor(0xff, 0xa0, 0x00));
    p.setPen(outline(QColor(0xe6, 0x51, 0x00)));
    p.drawPath(cab);
    p.setBrush(QColor(0xe3, 0xf2, 0xfd));
    const QPainterPath window = polygonPath({{16, 9.5}, {18.5, 9.5}, {20.8, 12}, {16, 12}});
    p.drawPath(window);
    p.setPen(outline(QColor(0x21, 0x21, 0x21)));
    p.setBrush(QColor(0x42, 0x42, 0x42));
    p.drawEllipse(QPointF(5, 16.5), 2.3, 2.3);
    p.drawEllipse(QPointF(18.5, 16.5), 2.3, 2.3);
    p.setBrush(QColor(0xbd, 0xbd, 0xbd));
    p.drawEllipse(QPointF(5, 16.5), 0.8, 0.8);
    p.drawEllipse(QPointF(18.5, 16.5), 0.8, 0.8);
}

void newVehicle(QPainter& p)
{
    p.save();
    p.translate(0, -2);
    truck(p);
    p.restore();
    plusBadge(p);
}

void floppy(QPainter& p)
{
    const QPainterPath body = polygonPath({{3, 3}, {18, 3}, {21, 6}, {21, 21}, {3, 21}});
    p.setPen(outline(QColor(0x0d, 0x2a, 0x5c)));
    p.setBrush(QColor(0x2f, 0x5d, 0x9e));
    p.drawPath(body);
    p.setBrush(QColor(0xcf, 0xd8, 0xdc));
    p.setPen(outline(QColor(0x45, 0x5a, 0x64)));
    p.drawRect(QRectF(7, 3, 9, 6));
    p.setBrush(QColor(0x45, 0x5a, 0x64));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(12.5, 4, 2, 4));
    p.setBrush(Qt::white);
    p.setPen(outline(QColor(0x90, 0xa4, 0xae)));
    p.drawRect(QRectF(6, 12, 12, 9));
    p.drawLine(QPointF(8, 15), QPointF(16, 15));
    p.drawLine(QPointF(8, 18), QPointF(16, 18));
}

void deleteMark(QPainter& p)
{
    p.setPen(QPen(QColor(0x8e, 0x00, 0x00), 5.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(19, 19));
    p.drawLine(QPointF(19, 5), QPointF(5, 19));
    p.setPen(QPen(QColor(0xe5, 0x39, 0x35), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(19, 19));
    p.drawLine(QPointF(19, 5), QPointF(5, 19));
}

void drive(QPainter& p)
{
    // A removable drive: metal plug on the left, body with a busy light.
    p.setPen(outline(QColor(0x61, 0x61, 0x61)));
    p.setBrush(QColor(0xbd, 0xbd, 0xbd));
    p.drawRect(QRectF(1.5, 16, 4, 5));
    p.setPen(outline(QColor(0x26, 0x32, 0x38)));
    p.setBrush(QColor(0x45, 0x5a, 0x64));
    p.drawRoundedRect(QRectF(5.5, 14.5, 17, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x76, 0xff, 0x03));
    p.drawEllipse(QPointF(19.5, 18.5), 1.2, 1.2);
}

void arrow(QPainter& p, bool down, const QColor& fill, const QColor& edge)
{
    const QPainterPath path =
        down
            ? polygonPath({{11, 1.5}, {17, 1.5}, {17, 7}, {20.5, 7}, {14, 13.5}, {7.5, 7}, {11, 7}})
            : polygonPath(
                  {{11, 13.5}, {17, 13.5}, {17, 8}, {20.5, 8}, {14, 1.5}, {7.5, 8}, {11, 8}});
    p.setPen(outline(edge));
    p.setBrush(fill);
    p.drawPath(path);
}

void exportIcon(QPainter& p)
{
    drive(p);
    arrow(p, true, QColor(0x1e, 0x88, 0xe5), QColor(0x0d, 0x47, 0xa1));
}

void importIcon(QPainter& p)
{
    drive(p);
    arrow(p, false, QColor(0x43, 0xa0, 0x47), QColor(0x1b, 0x5e, 0x20));
}

void printer(QPainter& p, bool ticket)
{
    // Paper in the feed, the printer's body, the printout in front.
    p.setPen(outline(QColor(0x75, 0x75, 0x75)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 1.5, 12, 8));
    p.setPen(outline(QColor(0x37, 0x47, 0x4f)));
    p.setBrush(QColor(0x78, 0x90, 0x9c));
    p.drawRoundedRect(QRectF(1.5, 8, 21, 9), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x66, 0xbb, 0x6a));
    p.drawEllipse(QPointF(19, 10.8), 1, 1);
    if (ticket) {
        p.setPen(outline(QColor(0xf5, 0x7f, 0x17)));
        p.setBrush(QColor(0xff, 0xeb, 0x3b));
        p.drawRect(QRectF(8, 13.5, 8, 9));
        p.drawLine(QPointF(9.5, 16.5), QPointF(14.5, 16.5));
        p.drawLine(QPointF(9.5, 19), QPointF(13, 19));
    } else {
        p.setPen(outline(QColor(0x75, 0x75, 0x75)));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 13.5, 14, 9));
        p.setPen(outline(QColor(0x42, 0x85, 0xf4)));
        p.drawLine(QPointF(7, 16), QPointF(17, 16));
        p.drawLine(QPointF(7, 18.2), QPointF(17, 18.2));
        p.drawLine(QPointF(7, 20.4), QPointF(13, 20.4));
    }
}

void printRecord(QPainter& p)
{
    printer(p, false);
}
void printTicket(QPainter& p)
{
    printer(p, true);
}

void help(QPainter& p)
{
    QRadialGradient shade(QPointF(9, 8), 13);
    shade.setColorAt(0, QColor(0x64, 0xb5, 0xf6));
    shade.setColorAt(1, QColor(0x15, 0x65, 0xc0));
    p.setPen(outline(QColor(0x0d, 0x47, 0xa1)));
    p.setBrush(shade);
    p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(8.3, 9);
    hook.cubicTo(8.3, 5.2, 15.7, 5.2, 15.7, 9);
    hook.cubicTo(15.7, 11.5, 12, 11.5, 12, 14.5);
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 18.3), 1.6, 1.6);
}

void page(QPainter& p)
{
    const QPainterPath sheet =
        polygonPath({{3.5, 1.5}, {13.5, 1.5}, {17.5, 5.5}, {17.5, 21}, {3.5, 21}});
    p.setPen(outline(QColor(0x75, 0x75, 0x75)));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setPen(outline(QColor(0x90, 0xa4, 0xae)));
    for (qreal y = 6; y < 19; y += 2.5)
        p.drawLine(QPointF(6, y), QPointF(12, y));
}

void preview(QPainter& p)
{
    page(p);
    p.setPen(QPen(QColor(0x5d, 0x40, 0x37), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17.5, 17.5), QPointF(22, 22));
    p.setPen(outline(QColor(0x37, 0x47, 0x4f), 1.6));
    p.setBrush(QColor(0xb3, 0xe5, 0xfc, 200));
    p.drawEllipse(QPointF(14, 14), 4.8, 4.8);
}

void savePdf(QPainter& p)
{
    // A page with a red PDF band and a green arrow down into it.
    page(p);
    p.setPen(outline(QColor(0x8e, 0x00, 0x00)));
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawRoundedRect(QRectF(1.5, 12.5, 14, 7), 1.5, 1.5);
    p.setPen(QPen(Qt::white, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    // "P", "D", "F" drawn as strokes, so the icon needs no font.
    p.drawLine(QPointF(3.8, 18), QPointF(3.8, 14.2));
    p.drawArc(QRectF(2.6, 14.2, 3, 2), -90 * 16, 180 * 16);
    p.drawLine(QPointF(7.6, 14.2), QPointF(7.6, 18));
    p.drawArc(QRectF(5.6, 14.2, 4, 3.8), -90 * 16, 180 * 16);
    p.drawLine(QPointF(11.4, 18), QPointF(11.4, 14.2));
    p.drawLine(QPointF(11.4, 14.2), QPointF(13.8, 14.2));
    p.drawLine(QPointF(11.4, 16), QPointF(13.4, 16));
    // The download arrow of the import icon, narrowed to the page's right edge.
    p.save();
    p.translate(12.2, 5);
    p.scale(0.55, 0.9);
    arrow(p, true, QColor(0x43, 0xa0, 0x47), QColor(0x1b, 0x5e, 0x20));
    p.restore();
}

void closeIcon(QPainter& p)
{
    p.setPen(outline(QColor(0x8e, 0x00, 0x00)));
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 4, 4);
    p.setPen(QPen(Qt::white, 2.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(16, 16));
    p.drawLine(QPointF(16, 8), QPointF(8, 16));
}

void dueList(QPainter& p)
{
    // A calendar page with a red header and rings, one day marked, and a clock for the date
    // an inspection falls due.
    p.setPen(outline(QColor(0x54, 0x6e, 0x7a)));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(1.5, 3.5, 17, 17), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawRect(QRectF(2, 4, 16, 4));
    p.setPen(outline(QColor(0x37, 0x47, 0x4f), 1.4));
    p.drawLine(QPointF(6, 2), QPointF(6, 5.5));
    p.drawLine(QPointF(14, 2), QPointF(14, 5.5));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col) {
            p.setBrush(row == 1 && col == 2 ? QColor(0xe5, 0x39, 0x35) : QColor(0x90, 0xa4, 0xae));
            p.drawRect(QRectF(3.5 + col * 3.6, 10 + row * 3.3, 2.2, 2));
        }
    }
    p.setPen(outline(QColor(0x0d, 0x47, 0xa1)));
    p.setBrush(QColor(0xe3, 0xf2, 0xfd));
    p.drawEllipse(QRectF(13, 13, 10, 10));
    p.setPen(outline(QColor(0x0d, 0x47, 0xa1), 1.3));
    p.drawLine(QPointF(18, 18), QPointF(18, 15));
    p.drawLine(QPointF(18, 18), QPointF(20.2, 19.3));
}

void tachograph(QPainter& p)
{
    // A speedometer dial with its red needle and the tachograph's odometer window.
    QRadialGradient bezel(QPointF(12, 12), 12);
    bezel.setColorAt(0.85, QColor(0x90, 0xa4, 0xae));
    bezel.setColorAt(1.0, QColor(0x37, 0x47, 0x4f));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(QRectF(0.5, 0.5, 23, 23));
    p.setBrush(QColor(0x1c, 0x26, 0x2b));
    p.drawEllipse(QRectF(2.2, 2.2, 19.6, 19.6));
    // Scale from 225 degrees (bottom left) clockwise to -45 degrees (bottom right).
    for (int i = 0; i <= 12; ++i) {
        const qreal angle = qDegreesToRadians(225.0 - i * 22.5);
        const bool major = i % 3 == 0;
        const qreal inner = major ? 6.6 : 7.6;
        p.setPen(QPen(i >= 10 ? QColor(0xff, 0x52, 0x52) : Qt::white, major ? 1.1 : 0.6,
                      Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(12 + inner * qCos(angle), 12 - inner * qSin(angle)),
                   QPointF(12 + 8.8 * qCos(angle), 12 - 8.8 * qSin(angle)));
    }
    p.setPen(outline(QColor(0x80, 0xde, 0xea), 0.4));
    p.setBrush(QColor(0x00, 0x60, 0x64));
    p.drawRect(QRectF(8.5, 15.3, 7, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xb2, 0xeb, 0xf2));
    for (int digit = 0; digit < 4; ++digit)
        p.drawRect(QRectF(9.2 + digit * 1.6, 16, 1, 1.6));
    const qreal needle = qDegreesToRadians(225.0 - 7.5 * 22.5);
    p.setPen(QPen(QColor(0xff, 0x17, 0x44), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12 - 1.5 * qCos(needle), 12 + 1.5 * qSin(needle)),
               QPointF(12 + 7.6 * qCos(needle), 12 - 7.6 * qSin(needle)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xec, 0xef, 0xf1));
    p.drawEllipse(QPointF(12, 12), 1.4, 1.4);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString icons = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const QString hicolor = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(".");
    const struct {
        const char* name;
        void (*draw)(QPainter&);
    } toolbar[] = {
        {"new_workshop", workshop},    {"new_vehicle", newVehicle},   {"save", floppy},
        {"delete", deleteMark},        {"export", exportIcon},        {"import", importIcon},
        {"print_record", printRecord}, {"print_ticket", printTicket}, {"help", help},
        {"preview", preview},          {"close", closeIcon},          {"save_pdf", savePdf},
        {"due_list", dueList}};
    for (const auto& icon : toolbar)
        save(icon.draw, 24,
             icons + QLatin1Char('/') + QLatin1String(icon.name) + QStringLiteral(".png"));
    save(tachograph, 24, icons + QStringLiteral("/velmora-24.png"));
    save(tachograph, 48, icons + QStringLiteral("/velmora.png"));
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        save(tachograph, size, hicolor + QStringLiteral("/%1x%1/apps/velmora.png").arg(size));
    return 0;
}
