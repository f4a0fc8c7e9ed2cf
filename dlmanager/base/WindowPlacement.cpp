#include "base/WindowPlacement.h"

#include <algorithm>

QRect openingGeometry(QSize wanted, QRect available, QMargins frame) {
    const QRect room = available.marginsRemoved(frame);
    const QSize size(std::clamp(wanted.width(), 1, std::max(1, room.width())),
                     std::clamp(wanted.height(), 1, std::max(1, room.height())));
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(room.center());
    // A room of odd size may round the centre one pixel off the room.
    placed.moveLeft(std::max(placed.left(), room.left()));
    placed.moveTop(std::max(placed.top(), room.top()));
    return placed;
}
