#pragma once

#include "projects/Comandi.h"

class MemoryImage;
class SampleTable;

// Turns a downloaded image into time-sorted samples. Blocks are the device's own: every
// 64 pages of each chip, counted from where that chip's pages lie in the image, and a block
// ends with what was read of its chip. A block's records end at erased flash, an invalid time
// stamp, an unknown command (whose record is dropped) or the block's end; a record whose value
// words run past what was read of its chip is dropped.
struct DecodeResult {
    int samples = 0;
    // The table filled up before the image's records ended.
    bool truncated = false;
};

DecodeResult decodeImage(const MemoryImage& image, const CommandList& commands, SampleTable& table);
