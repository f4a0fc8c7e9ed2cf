#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// Where a window opens: at the size it wants where that fits, else fitted into the screen's
// free area, always with its frame (title bar, borders) wholly on the screen, centred there.
// `frame` is what the window manager draws around the client area.
QRect openingGeometry(QSize wanted, QRect available, QMargins frame);
