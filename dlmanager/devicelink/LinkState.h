#pragma once

#include <cstdint>

// The link as the rest of the program sees it; other parts only ask whether it is Connected.
enum class LinkState : uint8_t { Closed = 0, Lost = 1, Connected = 2, Connecting = 3 };

// The colours of the status bar's lamps. The windows map them to the screen's colours; White
// stands for "no state read yet".
enum class LampColour { White, Red, Yellow, Green };
