// Paints Kugelfon's logo and icons into the folder given on the command line.
// Run with QT_QPA_PLATFORM=offscreen; tools/make-artwork.sh does all of it.

#include <QDir>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const QColor kCyan(0, 255, 255);
const QColor kWave(0x0d, 0x3b, 0x66);
const QColor kInk(0x1a, 0x1a, 0x1a);
const QString kFamily = QStringLiteral("Liberation Sans");

struct Ball {
    QColor colour;
    QString number;
};

// Digits are laid out as outlines so no font hinting or pixel snapping can
// shift them between machines; centring uses the ink, not the font metrics.
QPainterPath digitsPath(const QString &text, QPointF centre, qreal inkHeight, qreal maxWidth)
{
    QFont font(kFamily);
    font.setBold(true);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);

    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF ink = path.boundingRect();
    const qreal scale = std::min(inkHeight / ink.height(), maxWidth / ink.width());

    QTransform t;
    t.translate(centre.x(), centre.y());
    t.scale(scale, scale);
    t.translate(-ink.center().x(), -ink.center().y());
    return t.map(path);
}

// Below about 32 pixels a number is unreadable and every extra ring turns
// into mush, so tiny balls keep only the body and a plain white disc.
void paintBall(QPainter &p, QPointF c, qreal r, const Ball &ball, bool tiny)
{
    p.save();
    p.setPen(Qt::NoPen);

    // Body: light falls from the upper left, the rim darkens for roundness.
    QRadialGradient body(c, r, c + QPointF(-0.38 * r, -0.42 * r));
    body.setColorAt(0.0, ball.colour.lighter(165));
    body.setColorAt(0.5, ball.colour);
    body.setColorAt(0.88, ball.colour.darker(135));
    body.setColorAt(1.0, ball.colour.darker(175));
    p.setBrush(body);
    p.drawEllipse(c, r, r);

    // Soft gloss spot, kept clear of the number disc; on tiny balls it would
    // only blur the disc, and the body gradient already shows the light.
    if (!tiny) {
        const QPointF glossCentre = c + QPointF(-0.42 * r, -0.52 * r);
        QRadialGradient gloss(glossCentre, 0.34 * r);
        gloss.setColorAt(0.0, QColor(255, 255, 255, 200));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(gloss);
        p.drawEllipse(glossCentre, 0.34 * r, 0.34 * r);
    }

    // White number disc with a faint inner shade so it reads as printed on a sphere.
    // Tiny discs get a whole-pixel radius so their edge stays crisp.
    const qreal d = tiny ? std::round(0.5 * r) : 0.58 * r;
    QRadialGradient disc(c + QPointF(-0.2 * d, -0.25 * d), 1.15 * d);
    disc.setColorAt(0.0, Qt::white);
    disc.setColorAt(0.75, QColor(0xf4, 0xf4, 0xf4));
    disc.setColorAt(1.0, QColor(0xd8, 0xd8, 0xd8));
    p.setBrush(disc);
    if (tiny)
        p.setPen(Qt::NoPen);
    else
        p.setPen(QPen(ball.colour.darker(150), 0.045 * r));
    p.drawEllipse(c, d, d);

    if (!tiny && !ball.number.isEmpty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawPath(digitsPath(ball.number, c, 0.92 * d, 1.45 * d));
    }
    p.restore();
}

// Sound waves radiating from both sides of a ball: the caller's voice.
// When scaled down, three thin arcs merge into one smear; two bolder ones stay apart.
void paintWaves(QPainter &p, QPointF c, qreal r, bool small)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const qreal lineWidth = small ? 6.0 : 4.0;
    const std::vector<qreal> gaps = small ? std::vector<qreal>{0.32, 0.68}
                                          : std::vector<qreal>{0.26, 0.50, 0.74};
    for (std::size_t i = 0; i < gaps.size(); ++i) {
        const qreal radius = r * (1.0 + gaps[i]);
        QColor colour = kWave;
        colour.setAlphaF(1.0 - 0.25 * static_cast<qreal>(i));
        QPen pen(colour, lineWidth, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
        const int span = static_cast<int>((70 - 10 * static_cast<int>(i)) * 16);
        p.drawArc(box, -span / 2, span);           // right side
        p.drawArc(box, 180 * 16 - span / 2, span); // left side
    }
    p.restore();
}

// The logo is designed on a 133 x 305 canvas and scaled for smaller uses.
void paintLogo(QPainter &p, QSizeF size)
{
    const QSizeF design(133, 305);
    const qreal scale = std::min(size.width() / design.width(), size.height() / design.height());
    p.translate((size.width() - design.width() * scale) / 2,
                (size.height() - design.height() * scale) / 2);
    p.scale(scale, scale);

    const std::array<Ball, 4> balls{{
        {QColor(0xd6, 0x1f, 0x26), QStringLiteral("7")},
        {QColor(0x1e, 0x5b, 0xc6), QStringLiteral("23")},
        {QColor(0x1f, 0x9a, 0x3a), QStringLiteral("42")},
        {QColor(0xf2, 0xb6, 0x00), QStringLiteral("75")},
    }};
    const qreal r = 33;
    const qreal step = 2 * r + 5;
    const qreal firstY = (design.height() - (3 * step + 2 * r)) / 2 + r;
    const QPointF top(design.width() / 2, firstY);

    paintWaves(p, top, r, scale < 0.6);
    for (std::size_t i = 0; i < balls.size(); ++i)
        paintBall(p, QPointF(top.x(), firstY + step * static_cast<qreal>(i)), r, balls[i], false);
}

QImage logoImage(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(kCyan);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintLogo(p, QSizeF(size));
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Keep half a pixel free so the antialiased rim is not clipped.
    const qreal r = size / 2.0 - std::max(0.5, size / 64.0);
    const Ball ball{QColor(0xd6, 0x1f, 0x26), QStringLiteral("75")};
    paintBall(p, QPointF(size / 2.0, size / 2.0), r, ball, size < 32);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool save(const QImage &image, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kugelfon-artwork OUTPUT-FOLDER\n");
        return 2;
    }

    // A substitute font would silently change the look, so refuse instead.
    QFont probe(kFamily);
    probe.setBold(true);
    if (QFontInfo(probe).family() != kFamily) {
        QTextStream(stderr) << "font \"" << kFamily << "\" not found (install fonts-liberation2)\n";
        return 1;
    }

    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << dir.path() << '\n';
        return 1;
    }

    bool ok = save(logoImage(QSize(133, 305)), dir, QStringLiteral("splash-logo.png"));
    ok = save(logoImage(QSize(62, 141)), dir, QStringLiteral("product.png")) && ok;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        ok = save(iconImage(size), dir, QStringLiteral("icon-%1.png").arg(size)) && ok;
    return ok ? 0 : 1;
}
