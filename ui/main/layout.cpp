#include "ui/main/layout.h"

#include "platform/rounding.h"

#include <algorithm>

namespace kugelfon {

namespace {

struct Design {
    const char *name;
    TwipRect rect;
};

constexpr std::array<Design, kMainControlCount> kDesign{{
    {"lblZahlModus", {240, 120, 1755, 361}},
    {"lblModusZahl", {2040, 120, 1215, 361}},
    {"lblSchaltmodus", {3480, 120, 1755, 361}},
    {"lblModusSchalten", {5280, 120, 1635, 361}},
    {"lblGezZahlen", {7140, 120, 2055, 361}},
    {"lblAnzahlZahlen", {9240, 120, 375, 361}},
    {"lblvon", {9660, 120, 495, 361}},
    {"lblletzteModusZahl", {10200, 120, 375, 361}},
    {"lblStimme", {10800, 120, 1035, 361}},
    {"lblStimmenModus", {11880, 120, 1155, 361}},
    {"frmZahl", {180, 540, 18855, 11955}},
    {"lblZahlenfeld", {180, 300, 12075, 7575}},
    {"cmdBingo", {1020, 13800, 4125, 375}},
    {"cmdWeiter", {6540, 13800, 4125, 375}},
    {"cmdZahlenTafel", {12420, 13800, 4125, 375}},
}};

// How each level stretches the design beyond the plain ratio of the screens.
struct Level {
    int font;
    double displayHeight;
    double displayWidth;
    double statusLeftButtonWidth;
    double statusWidthButtonHeight;
    double frameTopWidth;
    double buttonTop;
    double frameHeight;
    double displayOffset; // the display's left and top inside its frame
};

constexpr std::array<Level, 4> kLevels{{
    {8, 1.2, 1.5, 1.42, 1.71, 1.065, 0.89, 0.42, 0.95},
    {12, 1.28, 1.38, 1.3, 1.4, 1.03, 0.92, 0.56, 2.0},
    {14, 1.25, 1.35, 1.3, 1.6, 1.065, 0.96, 0.77, 4.0},
    {16, 1.3, 1.38, 1.1, 1.1, 1.0, 1.0, 1.09, 3.0},
}};

qint32 toInt32(double v)
{
    const long long r = roundHalfEven(v);
    if (r > 2147483647LL)
        return 2147483647;
    if (r < -2147483647LL)
        return -2147483647;
    return static_cast<qint32>(r);
}

} // namespace

const char *mainControlName(MainControl c) { return kDesign[static_cast<int>(c)].name; }

TwipRect designRect(MainControl c) { return kDesign[static_cast<int>(c)].rect; }

ScreenLayout computeScreenLayout(const ScreenMeasure &screen)
{
    ScreenLayout out;
    const double tppX = screen.twipsPerPixelX > 0 ? screen.twipsPerPixelX : 15;
    const double tppY = screen.twipsPerPixelY > 0 ? screen.twipsPerPixelY : 15;
    ScreenSize &size = out.screen;
    size.widthPx = toInt32(screen.twipsWidth / tppX);
    size.heightPx = toInt32(screen.twipsHeight / tppY);
    size.widthTwips = toInt32(screen.twipsWidth);
    size.heightTwips = toInt32(screen.twipsHeight);

    for (int level = 1; level <= 4; ++level)
        if (QSize(size.widthPx, size.heightPx) == levelScreenSize(level))
            out.level = level;
    if (out.level == 0)
        return out;

    const double px = size.widthPx / 1280.0;
    const double py = size.heightPx / 1024.0;
    const double tx = size.widthTwips / 19200.0;
    const double ty = size.heightTwips / 15360.0;
    const Level &k = kLevels[out.level - 1];
    out.fontSize = k.font;

    for (int i = 0; i < kMainControlCount; ++i) {
        const auto control = static_cast<MainControl>(i);
        const TwipRect d = kDesign[i].rect;
        double left = d.left, top = d.top, width = d.width, height = d.height;
        if (control <= MainControl::VoiceValue) {
            left = left * tx * k.statusLeftButtonWidth;
            width = width * ty * k.statusWidthButtonHeight;
        } else if (control == MainControl::NumberFrame) {
            height = height * k.frameHeight;
            left = left * px;
            top = top * k.frameTopWidth;
            width = width * ty * k.frameTopWidth;
        } else if (control == MainControl::NumberDisplay) {
            // The shift of 0.2 is taken in twips, the unit of the design data.
            height = height * tx * k.displayHeight;
            left = left * px * k.displayOffset + 0.2;
            top = top * py * k.displayOffset - 0.2;
            width = width * ty * k.displayWidth;
        } else {
            height = height * tx * k.statusWidthButtonHeight;
            left = left * px;
            top = top * py * k.buttonTop;
            width = width * ty * k.statusLeftButtonWidth;
        }
        out.rects[i] = TwipRect{static_cast<float>(left), static_cast<float>(top),
                                static_cast<float>(width), static_cast<float>(height)};
    }
    return out;
}

QSize levelScreenSize(int level)
{
    static constexpr int kSizes[4][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};
    if (level < 1 || level > 4)
        return {};
    return QSize(kSizes[level - 1][0], kSizes[level - 1][1]);
}

int levelFittingWindow(const QSize &available)
{
    const QSize frame(kWindowFrameAllowance.left() + kWindowFrameAllowance.right(),
                      kWindowFrameAllowance.top() + kWindowFrameAllowance.bottom());
    for (int level = 4; level >= 1; --level) {
        const QSize needed = levelScreenSize(level) + frame;
        if (needed.width() <= available.width() && needed.height() <= available.height())
            return level;
    }
    return 0;
}

double scaleFittingWindow(const QSize &available)
{
    const QSize frame(kWindowFrameAllowance.left() + kWindowFrameAllowance.right(),
                      kWindowFrameAllowance.top() + kWindowFrameAllowance.bottom());
    const QSize smallest = levelScreenSize(1);
    const double scale =
        std::min({1.0, double(available.width() - frame.width()) / smallest.width(),
                  double(available.height() - frame.height()) / smallest.height()});
    return scale >= kSmallestScale ? scale : 0;
}

QString unsupportedScreenText(const ScreenSize &screen)
{
    // Numbers carry a blank where a minus sign would go.
    auto number = [](int v) {
        return v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v);
    };
    return QStringLiteral("Diese Auflösung ") + number(screen.widthPx) + QStringLiteral(" x")
        + number(screen.heightPx) + QStringLiteral(" wird nicht unterstützt.");
}

} // namespace kugelfon
