#pragma once

#include <QString>
#include <chrono>

// "120 of 4096 pages, about 6 min 10 s left": how far a download is and how long the rest takes
// at the pace so far. Nothing is told of the time left before the first page is in.
QString downloadPaceText(int pagesRead, int pagesToRead, std::chrono::milliseconds elapsed);
