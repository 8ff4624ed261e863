#pragma once

#include "platform/screenmetrics.h"
#include "ui/kit/windowframe.h"

#include <QMargins>
#include <QSize>
#include <QString>
#include <array>

namespace kugelfon {

// Left, top, width, height in twips, as the toolkit receives them (32-bit floats).
struct TwipRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

// The screen as measured at start, in pixels and in twips.
struct ScreenSize {
    qint32 widthPx = 0;
    qint32 heightPx = 0;
    qint32 widthTwips = 0;
    qint32 heightTwips = 0;
};

// The main window's controls, in the order of the placement table; the
// status row comes first, left to right.
enum class MainControl {
    PoolCaption,
    PoolValue,
    SteppingCaption,
    SteppingValue,
    CountCaption,
    CountValue,
    CountOf, // "von"
    PoolSize,
    VoiceCaption,
    VoiceValue,
    NumberFrame,
    NumberDisplay, // relative to the number frame
    BingoButton,
    StepButton,
    SheetButton,
    Count
};

inline constexpr int kMainControlCount = static_cast<int>(MainControl::Count);

const char *mainControlName(MainControl c);

// The main window's geometry as designed for 1280 x 1024.
TwipRect designRect(MainControl c);

struct ScreenLayout {
    ScreenSize screen;
    int level = 0;       // 1 = 640 x 480 ... 4 = 1280 x 1024, 0 when not supported
    int fontSize = 0;    // status row and buttons, points
    std::array<TwipRect, kMainControlCount> rects{};

    const TwipRect &rect(MainControl c) const { return rects[static_cast<int>(c)]; }
};

// Measures and classifies the screen and scales the design geometry to it.
// For an unsupported size only the measurements and level 0 are filled.
ScreenLayout computeScreenLayout(const ScreenMeasure &screen);

// The screen of a level: 1 = 640 x 480, 2 = 800 x 600, 3 = 1024 x 768,
// 4 = 1280 x 1024; empty for anything else.
QSize levelScreenSize(int level);

// The largest level whose main window, frame included, fits the area; 0
// when not even 640 x 480 does.
int levelFittingWindow(const QSize &available);

// With --fenster on a screen whose free area is too small even for the
// 640 x 480 window: that layout drawn smaller, by the factor at which its
// window with frame fits. Below kSmallestScale its 8 pt type would turn
// unreadable, and the result is 0.
inline constexpr double kSmallestScale = 0.8;
double scaleFittingWindow(const QSize &available);

// "Diese Auflösung  1152 x 864 wird nicht unterstützt."
QString unsupportedScreenText(const ScreenSize &screen);

} // namespace kugelfon
