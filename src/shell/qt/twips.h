#pragma once
// Twips (1/1440 inch) are the unit of every design measure of the window and
// of the saved geometry; widgets want pixels at the screen's logical DPI.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QtMath>

namespace veltra {

inline constexpr double kTwipsPerInch = 1440.0;

// The logical DPI of the primary screen; 96 when there is no screen yet.
inline double ScreenLogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr && screen->logicalDotsPerInch() > 0 ? screen->logicalDotsPerInch()
                                                                 : 96.0;
}

inline int TwipsToPixels(double twips, double logicalDpi) {
    return qRound(twips * logicalDpi / kTwipsPerInch);
}

inline double PixelsToTwips(double pixels, double logicalDpi) {
    return pixels * kTwipsPerInch / logicalDpi;
}

// The same at the screen's logical DPI.
inline int TwipsToPx(double twips) {
    return TwipsToPixels(twips, ScreenLogicalDpi());
}
inline double PxToTwips(double pixels) {
    return PixelsToTwips(pixels, ScreenLogicalDpi());
}

// Each measure is converted on its own, as the design tables give them.
inline QRect TwipsRect(double left, double top, double width, double height, double logicalDpi) {
    return QRect(TwipsToPixels(left, logicalDpi), TwipsToPixels(top, logicalDpi),
                 TwipsToPixels(width, logicalDpi), TwipsToPixels(height, logicalDpi));
}

inline QSize TwipsSize(double width, double height, double logicalDpi) {
    return QSize(TwipsToPixels(width, logicalDpi), TwipsToPixels(height, logicalDpi));
}

}  // namespace veltra
