#include "Drawings.h"

#include "base/PictureFiles.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

namespace {

// The wizard shows its pictures at this size; the tiles sit in the main window's left column.
constexpr QSize StepSize(480, 300);
constexpr QSize TileSize(160, 100);
// Drawn with twice the pixels, so that they stay sharp on screens scaled up to 200 %.
constexpr int PixelsPerPoint = 2;

const QColor Ink(0x33, 0x33, 0x33);
const QColor Paper(0xFF, 0xFF, 0xFF);
const QColor Body(0xE6, 0xE8, 0xEA);
const QColor BodyTop(0xD2, 0xD6, 0xDA);
const QColor BodySide(0xC2, 0xC7, 0xCC);
const QColor Metal(0xB9, 0xBF, 0xC5);
const QColor TerminalGreen(0x5C, 0xA5, 0x6E);
const QColor Gold(0xD9, 0xA4, 0x1E);
const QColor Warning(0xD0, 0x31, 0x2D);
const QColor Good(0x2A, 0x9D, 0x48);
const QColor LedOn(0x35, 0xD0, 0x5A);
const QColor Screen(0xCF, 0xE3, 0xF3);
const QColor Wire1(0x1F, 0x6F, 0xC9);
const QColor Wire2(0xE0, 0x7B, 0x16);

QFont font(int pixels, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QImage blank(QSize size) {
    QImage image(size * PixelsPerPoint, QImage::Format_RGB32);
    image.setDevicePixelRatio(PixelsPerPoint);
    image.fill(Paper);
    return image;
}

void begin(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QPen ink(qreal width = 2, const QColor& color = Ink) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void text(QPainter& p, const QRectF& box, const QString& words, int pixels, bool bold = false,
          const QColor& color = Ink, int flags = Qt::AlignCenter) {
    p.setFont(font(pixels, bold));
    p.setPen(color);
    p.drawText(box, flags, words);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, qreal width = 3) {
    const QLineF line(from, to);
    const qreal head = 6 + width * 2;
    QLineF shaft = line;
    shaft.setLength(line.length() - head * 0.8);
    p.setPen(ink(width, color));
    p.drawLine(shaft);
    const qreal angle = std::atan2(from.y() - to.y(), from.x() - to.x());
    const QPointF left = to + QPointF(std::cos(angle + 0.45), std::sin(angle + 0.45)) * head;
    const QPointF right = to + QPointF(std::cos(angle - 0.45), std::sin(angle - 0.45)) * head;
    p.setPen(ink(1, color));
    p.setBrush(color);
    p.drawPolygon(QPolygonF{to, left, right});
}

// A 9-pin D-sub socket seen from the front, centred on `c`; `s` scales the 70 × 32 shell.
void dsub9(QPainter& p, QPointF c, qreal s = 1) {
    auto shape = [&](qreal w, qreal h, qreal slant) {
        return QPolygonF{c + QPointF(-w / 2, -h / 2), c + QPointF(w / 2, -h / 2),
                         c + QPointF(w / 2 - slant, h / 2), c + QPointF(-w / 2 + slant, h / 2)};
    };
    p.setPen(ink(2));
    p.setBrush(Metal);
    p.drawRoundedRect(QRectF(c.x() - 44 * s, c.y() - 20 * s, 88 * s, 40 * s), 4, 4);
    p.setBrush(QColor(0x4A, 0x4F, 0x55));
    p.drawPolygon(shape(62 * s, 28 * s, 6 * s));
    p.setPen(Qt::NoPen);
    p.setBrush(Gold);
    for (int i = 0; i < 5; ++i) {
        p.drawEllipse(c + QPointF((i - 2) * 11 * s, -6 * s), 2.6 * s, 2.6 * s);
    }
    for (int i = 0; i < 4; ++i) {
        p.drawEllipse(c + QPointF((i - 1.5) * 11 * s, 6 * s), 2.6 * s, 2.6 * s);
    }
    p.setBrush(Ink);
    p.drawEllipse(c + QPointF(-38 * s, 0), 3 * s, 3 * s);
    p.drawEllipse(c + QPointF(38 * s, 0), 3 * s, 3 * s);
}

// A screw terminal block with `screws` clamps.
void terminalBlock(QPainter& p, const QRectF& r, int screws) {
    p.setPen(ink(2));
    p.setBrush(TerminalGreen);
    p.drawRoundedRect(r, 3, 3);
    const qreal step = r.width() / screws;
    for (int i = 0; i < screws; ++i) {
        const QPointF c(r.left() + step * (i + 0.5), r.center().y());
        p.setPen(ink(1.5));
        p.setBrush(Metal);
        p.drawEllipse(c, 8, 8);
        p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
    }
}

// The two pins of the boot jumper on their base.
void jumperPins(QPainter& p, QPointF c) {
    p.setPen(ink(2));
    p.setBrush(QColor(0x2E, 0x33, 0x38));
    p.drawRect(QRectF(c.x() - 20, c.y() - 8, 40, 16));
    p.setBrush(Gold);
    p.setPen(ink(1));
    p.drawRect(QRectF(c.x() - 13, c.y() - 5, 10, 10));
    p.drawRect(QRectF(c.x() + 3, c.y() - 5, 10, 10));
}

// The jumper itself, a small red block with two holes.
void jumperBlock(QPainter& p, QPointF c) {
    p.setPen(ink(2));
    p.setBrush(Warning);
    p.drawRoundedRect(QRectF(c.x() - 18, c.y() - 11, 36, 22), 3, 3);
    p.setBrush(QColor(0x5A, 0x10, 0x0E));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(c.x() - 11, c.y() - 4, 7, 8));
    p.drawRect(QRectF(c.x() + 4, c.y() - 4, 7, 8));
}

void led(QPainter& p, QPointF c, bool lit) {
    p.setPen(ink(2));
    p.setBrush(lit ? LedOn : QColor(0x9A, 0xA8, 0x9D));
    p.drawEllipse(c, 7, 7);
    if (lit) {
        p.setPen(ink(2.5, Good));
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * M_PI / 4;
            const QPointF d(std::cos(a), std::sin(a));
            p.drawLine(c + d * 12, c + d * 20);
        }
    }
}

// A box seen from the front, its top and right side drawn `depth` away.
void box(QPainter& p, const QRectF& f, QPointF depth) {
    p.setPen(ink(2));
    p.setBrush(BodyTop);
    p.drawPolygon(QPolygonF{f.topLeft(), f.topLeft() + depth, f.topRight() + depth, f.topRight()});
    p.setBrush(BodySide);
    p.drawPolygon(
        QPolygonF{f.topRight(), f.topRight() + depth, f.bottomRight() + depth, f.bottomRight()});
    p.setBrush(Body);
    p.drawRect(f);
}

// The datalogger as a box seen from the side that carries its connectors.
enum class Jumper { Insert, Inserted, Remove };

constexpr QRectF DeviceFace(24, 88, 400, 140);
constexpr QPointF PinsAt(376, 168);
constexpr QPointF LedAt(300, 112);

void device(QPainter& p, Jumper jumper, bool ledLit) {
    const QRectF f = DeviceFace;
    box(p, f, QPointF(24, -20));

    text(p, QRectF(f.left() + 14, f.top() + 10, 200, 20), QStringLiteral("QL40982 Datalogger"), 13,
         true, Ink, Qt::AlignLeft | Qt::AlignVCenter);
    led(p, LedAt, ledLit);
    text(p, QRectF(LedAt.x() + 24, LedAt.y() - 10, 40, 20), QStringLiteral("LED"), 12, true, Ink,
         Qt::AlignLeft | Qt::AlignVCenter);

    const qreal row = PinsAt.y();
    const qreal labels = f.bottom() - 30;
    dsub9(p, QPointF(84, row), 0.85);
    text(p, QRectF(34, labels, 100, 22), QStringLiteral("RS232"), 12, true);
    terminalBlock(p, QRectF(150, row - 17, 90, 34), 3);
    text(p, QRectF(135, labels, 120, 22), QStringLiteral("RS485 Modbus"), 12, true);
    terminalBlock(p, QRectF(262, row - 17, 60, 34), 2);
    text(p, QRectF(262, row - 36, 30, 16), QStringLiteral("+"), 13, true);
    text(p, QRectF(292, row - 36, 30, 16), QStringLiteral("\u2212"), 13, true);
    text(p, QRectF(247, labels, 90, 22), QStringLiteral("Power"), 12, true);
    jumperPins(p, PinsAt);
    text(p, QRectF(PinsAt.x() - 50, labels, 100, 22), QStringLiteral("Boot jumper"), 12, true);

    switch (jumper) {
        case Jumper::Inserted:
            jumperBlock(p, PinsAt);
            break;
        case Jumper::Insert:
            jumperBlock(p, QPointF(PinsAt.x(), 38));
            arrow(p, QPointF(PinsAt.x(), 54), PinsAt - QPointF(0, 14), Warning);
            text(p, QRectF(120, 26, 230, 24), QStringLiteral("Insert boot jumper"), 13, true,
                 Warning, Qt::AlignRight | Qt::AlignVCenter);
            break;
        case Jumper::Remove:
            arrow(p, PinsAt - QPointF(0, 14), QPointF(PinsAt.x(), 54), Warning);
            jumperBlock(p, QPointF(PinsAt.x(), 38));
            text(p, QRectF(120, 26, 230, 24), QStringLiteral("Remove boot jumper"), 13, true,
                 Warning, Qt::AlignRight | Qt::AlignVCenter);
            break;
    }
}

// The line under a step picture: the mode in its colour, then what it means.
void caption(QPainter& p, const QString& mode, const QColor& modeColor, const QString& rest) {
    const QRectF band(0, StepSize.height() - 48, StepSize.width(), 48);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF3, 0xF4, 0xF5));
    p.drawRect(band);
    p.setPen(ink(1, QColor(0xCC, 0xCF, 0xD2)));
    p.drawLine(band.topLeft(), band.topRight());
    const QFont modeFont = font(15, true);
    const QFont restFont = font(14);
    const qreal modeWidth = QFontMetricsF(modeFont).horizontalAdvance(mode);
    const qreal restWidth = QFontMetricsF(restFont).horizontalAdvance(rest);
    const qreal left = (band.width() - modeWidth - restWidth) / 2;
    p.setFont(modeFont);
    p.setPen(modeColor);
    p.drawText(QRectF(left, band.top(), modeWidth, band.height()), Qt::AlignVCenter, mode);
    p.setFont(restFont);
    p.setPen(Ink);
    p.drawText(QRectF(left + modeWidth, band.top(), restWidth + 2, band.height()), Qt::AlignVCenter,
               rest);
}

QImage bootJumperIn() {
    QImage image = blank(StepSize);
    QPainter p(&image);
    begin(p);
    device(p, Jumper::Insert, false);
    caption(p, QStringLiteral("BOOT MODE"), Warning,
            QStringLiteral(": jumper inserted at power-on"));
    return image;
}

QImage bootJumperOut() {
    QImage image = blank(StepSize);
    QPainter p(&image);
    begin(p);
    device(p, Jumper::Remove, false);
    caption(p, QStringLiteral("NORMAL MODE"), Good, QStringLiteral(": no jumper inserted"));
    return image;
}

QImage bootLed() {
    QImage image = blank(StepSize);
    QPainter p(&image);
    begin(p);
    device(p, Jumper::Inserted, true);
    // A quick square wave above the LED: on, off, on, off ...
    const QPointF start(LedAt.x() - 110, 40);
    QPolygonF wave;
    wave << start;
    for (int i = 0; i < 8; ++i) {
        const qreal x = start.x() + i * 12;
        const qreal y = i % 2 == 0 ? start.y() - 14 : start.y();
        wave << QPointF(x, y) << QPointF(x + 12, y);
    }
    wave << QPointF(start.x() + 96, start.y());
    p.setPen(ink(2.5, Good));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(wave);
    text(p, QRectF(start.x() - 10, 46, 140, 18), QStringLiteral("blinks quickly"), 12, true, Good);
    arrow(p, QPointF(LedAt.x() - 24, 60), LedAt + QPointF(-15, -17), Good, 2.5);
    caption(p, QStringLiteral("BOOT MODE"), Warning, QStringLiteral(": the LED blinks quickly"));
    return image;
}

constexpr QPointF PcPort(45, 178);
constexpr QPointF DevicePort(408, 178);

void pc(QPainter& p) {
    // Tower with its serial port, monitor and keyboard.
    p.setPen(ink(2));
    p.setBrush(Body);
    p.drawRoundedRect(QRectF(16, 56, 58, 156), 4, 4);
    p.drawLine(QPointF(26, 76), QPointF(64, 76));
    p.drawLine(QPointF(26, 86), QPointF(64, 86));
    p.setBrush(Metal);
    p.drawEllipse(QPointF(45, 108), 6, 6);
    dsub9(p, PcPort, 0.5);

    p.setBrush(QColor(0x4A, 0x4F, 0x55));
    p.drawRoundedRect(QRectF(86, 56, 102, 78), 5, 5);
    p.setBrush(Screen);
    p.drawRect(QRectF(93, 63, 88, 64));
    p.setBrush(Body);
    p.drawRect(QRectF(131, 134, 12, 16));
    p.drawRoundedRect(QRectF(109, 150, 56, 7), 3, 3);
    p.drawRoundedRect(QRectF(86, 168, 102, 16), 3, 3);
    p.setPen(ink(1, QColor(0x88, 0x8D, 0x92)));
    for (int i = 1; i < 9; ++i) {
        p.drawLine(QPointF(86 + i * 11.3, 171), QPointF(86 + i * 11.3, 181));
    }
    text(p, QRectF(16, 24, 172, 22), QStringLiteral("PC (COM port)"), 13, true);
}

void smallDevice(QPainter& p) {
    const QRectF f(356, 100, 104, 112);
    box(p, f, QPointF(14, -12));
    text(p, QRectF(f.left(), f.top() + 8, f.width(), 20), QStringLiteral("QL40982"), 13, true);
    dsub9(p, DevicePort, 0.6);
    text(p, QRectF(f.left(), 140, f.width(), 18), QStringLiteral("RS232"), 12, true);
    text(p, QRectF(f.left() - 10, 62, f.width() + 34, 22), QStringLiteral("Datalogger"), 13, true);
}

// Where the cable's plug covers a port: a shell with the cable leaving downwards.
void plug(QPainter& p, QPointF c) {
    p.setPen(ink(2));
    p.setBrush(QColor(0x6B, 0x72, 0x7A));
    p.drawRoundedRect(QRectF(c.x() - 20, c.y() - 10, 40, 22), 4, 4);
    p.drawRect(QRectF(c.x() - 8, c.y() + 12, 16, 10));
}

QImage crossCable() {
    QImage image = blank(StepSize);
    QPainter p(&image);
    begin(p);
    pc(p);
    smallDevice(p);

    const qreal run = 236;
    QPainterPath cable(PcPort + QPointF(0, 22));
    cable.lineTo(PcPort.x(), run - 12);
    cable.quadTo(PcPort.x(), run, PcPort.x() + 12, run);
    cable.lineTo(DevicePort.x() - 12, run);
    cable.quadTo(DevicePort.x(), run, DevicePort.x(), run - 12);
    cable.lineTo(DevicePort + QPointF(0, 22));
    p.setBrush(Qt::NoBrush);
    p.setPen(ink(5, QColor(0x4A, 0x4F, 0x55)));
    p.drawPath(cable);
    plug(p, PcPort);
    plug(p, DevicePort);

    // What the cable does inside: transmit of one end goes to receive of the other.
    const QRectF inset(200, 50, 146, 124);
    const QPointF cableMiddle(inset.center().x(), run);
    QPen dashed = ink(1.5, QColor(0x88, 0x8D, 0x92));
    dashed.setStyle(Qt::DashLine);
    p.setPen(dashed);
    p.drawLine(cableMiddle, QPointF(cableMiddle.x(), inset.bottom()));
    p.setPen(ink(2));
    p.setBrush(Paper);
    p.drawRoundedRect(inset, 6, 6);
    text(p, QRectF(inset.left(), inset.top() + 6, inset.width(), 18),
         QStringLiteral("crossed wires"), 12, true);
    const qreal rows[] = {inset.top() + 46, inset.top() + 72, inset.top() + 98};
    const QString names[] = {QStringLiteral("2 RX"), QStringLiteral("3 TX"),
                             QStringLiteral("5 GND")};
    const qreal l = inset.left() + 52;
    const qreal r = inset.right() - 52;
    for (int i = 0; i < 3; ++i) {
        text(p, QRectF(inset.left() + 4, rows[i] - 9, l - inset.left() - 10, 18), names[i], 11,
             false, Ink, Qt::AlignRight | Qt::AlignVCenter);
        text(p, QRectF(r + 6, rows[i] - 9, inset.right() - r - 8, 18), names[i], 11, false, Ink,
             Qt::AlignLeft | Qt::AlignVCenter);
        p.setPen(ink(1));
        p.setBrush(Ink);
        p.drawEllipse(QPointF(l, rows[i]), 3, 3);
        p.drawEllipse(QPointF(r, rows[i]), 3, 3);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(ink(2.5, Wire1));
    p.drawLine(QPointF(l, rows[0]), QPointF(r, rows[1]));
    p.setPen(ink(2.5, Wire2));
    p.drawLine(QPointF(l, rows[1]), QPointF(r, rows[0]));
    p.setPen(ink(2.5, QColor(0x88, 0x8D, 0x92)));
    p.drawLine(QPointF(l, rows[2]), QPointF(r, rows[2]));

    caption(p, QStringLiteral("Crossed RS232 cable"), Wire1,
            QStringLiteral(" (null modem): PC to datalogger"));
    return image;
}

// Tiles: one symbol each, centred, in the same ink.

QImage connectTile() {
    QImage image = blank(TileSize);
    QPainter p(&image);
    begin(p);
    // Cable from the left into a plug that points at a socket on the right.
    QPainterPath cable(QPointF(8, 78));
    cable.cubicTo(QPointF(30, 84), QPointF(28, 50), QPointF(52, 50));
    p.setPen(ink(5, QColor(0x4A, 0x4F, 0x55)));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);
    p.setPen(ink(2));
    p.setBrush(QColor(0x6B, 0x72, 0x7A));
    p.drawRoundedRect(QRectF(50, 34, 34, 32), 5, 5);
    p.setBrush(Gold);
    p.drawRect(QRectF(84, 39, 16, 6));
    p.drawRect(QRectF(84, 55, 16, 6));
    p.setBrush(Body);
    p.drawRoundedRect(QRectF(118, 22, 32, 56), 5, 5);
    p.setBrush(Ink);
    p.drawRect(QRectF(124, 39, 12, 6));
    p.drawRect(QRectF(124, 55, 12, 6));
    arrow(p, QPointF(88, 22), QPointF(114, 22), Good, 2.5);
    return image;
}

QImage editProjectTile() {
    QImage image = blank(TileSize);
    QPainter p(&image);
    begin(p);
    const QColor back(0xE8, 0xB4, 0x3C);
    const QColor front(0xF6, 0xCC, 0x5E);
    p.setPen(ink(2));
    p.setBrush(back);
    QPainterPath rear(QPointF(36, 22));
    rear.lineTo(66, 22);
    rear.lineTo(74, 30);
    rear.lineTo(124, 30);
    rear.lineTo(124, 84);
    rear.lineTo(36, 84);
    rear.closeSubpath();
    p.drawPath(rear);
    // A sheet of the project sticking out.
    p.setBrush(Paper);
    p.drawRect(QRectF(46, 20, 66, 44));
    p.setPen(ink(1.5, QColor(0x88, 0x8D, 0x92)));
    for (int i = 0; i < 4; ++i) {
        p.drawLine(QPointF(54, 29 + i * 8), QPointF(i == 3 ? 86 : 104, 29 + i * 8));
    }
    p.setPen(ink(2));
    p.setBrush(front);
    p.drawPolygon(QPolygonF{QPointF(32, 44), QPointF(128, 44), QPointF(124, 84), QPointF(36, 84)});
    return image;
}

QImage downloadDataTile() {
    QImage image = blank(TileSize);
    QPainter p(&image);
    begin(p);
    const QRectF plot(34, 14, 112, 70);
    p.setPen(ink(1, QColor(0xDD, 0xDF, 0xE2)));
    for (int i = 1; i <= 3; ++i) {
        p.drawLine(QPointF(plot.left(), plot.top() + i * plot.height() / 4),
                   QPointF(plot.right(), plot.top() + i * plot.height() / 4));
    }
    p.setPen(ink(2));
    p.drawLine(plot.topLeft(), plot.bottomLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    const qreal first[] = {0.30, 0.45, 0.40, 0.62, 0.55, 0.78, 0.70, 0.88};
    const qreal second[] = {0.70, 0.52, 0.60, 0.38, 0.46, 0.25, 0.34, 0.20};
    auto series = [&](const qreal* values, const QColor& color) {
        QPolygonF line;
        for (int i = 0; i < 8; ++i) {
            line << QPointF(plot.left() + 6 + i * (plot.width() - 12) / 7,
                            plot.bottom() - values[i] * plot.height());
        }
        p.setPen(ink(2.5, color));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        for (const QPointF& point : line) {
            p.drawEllipse(point, 2.5, 2.5);
        }
    };
    series(first, Wire1);
    series(second, Warning);
    // Downloaded from the device: an arrow into the chart.
    arrow(p, QPointF(16, 16), QPointF(16, 60), Good, 3);
    p.setPen(ink(3, Good));
    p.drawLine(QPointF(8, 70), QPointF(24, 70));
    return image;
}

}  // namespace

std::vector<Drawing> allDrawings() {
    return {
        {PictureFiles::BootJumperIn, bootJumperIn},
        {PictureFiles::CrossCable, crossCable},
        {PictureFiles::BootLed, bootLed},
        {PictureFiles::BootJumperOut, bootJumperOut},
        {PictureFiles::ConnectTile, connectTile},
        {PictureFiles::EditProjectTile, editProjectTile},
        {PictureFiles::DownloadDataTile, downloadDataTile},
    };
}
