#include "base/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, OpensWhollyOnTheScreenAtTheWantedSizeWhereItFits) {
    const QSize wanted(1000, 700);
    const QMargins frame(1, 30, 1, 1);
    struct Screen {
        const char* what;
        QRect available;
        QSize expected;
    };
    const Screen screens[] = {
        {"1920x1080 with a panel", {0, 0, 1920, 1040}, {1000, 700}},
        {"1024x768", {0, 0, 1024, 768}, {1000, 700}},
        {"1280x1024 at 200 %", {0, 0, 640, 512}, {638, 481}},
        {"1920x1080 at 175 % with a panel", {0, 27, 1097, 590}, {1000, 559}},
        {"a second screen on the left", {-1280, 0, 1280, 1024}, {1000, 700}},
    };
    for (const Screen& s : screens) {
        const QRect placed = openingGeometry(wanted, s.available, frame);
        const QRect framed = placed.marginsAdded(frame);
        EXPECT_EQ(placed.size(), s.expected) << s.what;
        EXPECT_TRUE(s.available.contains(framed)) << s.what;
        EXPECT_LE((framed.center() - s.available.center()).manhattanLength(), 16) << s.what;
    }
}
