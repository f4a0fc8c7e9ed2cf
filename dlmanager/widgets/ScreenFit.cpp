#include "widgets/ScreenFit.h"

#include "base/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

QRect openingGeometryOnScreen(const QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        return QRect(window.pos(), wanted);
    }
    const int border = 4;
    const int title = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
    return openingGeometry(wanted, screen->availableGeometry(),
                           QMargins(border, title + border, border, border));
}
