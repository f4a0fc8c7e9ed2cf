#pragma once

#include <QRect>
#include <QSize>

class QWidget;

// Where a top-level window opens at the size it wants, fitted and wholly on its screen (see
// openingGeometry); the window manager's frame, known only once shown, is estimated from the
// style's title bar.
QRect openingGeometryOnScreen(const QWidget& window, QSize wanted);
