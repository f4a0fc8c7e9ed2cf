// A damaged flash: any image, in any page layout the download can leave, with any command
// list, decodes into samples that fit the list, sorted by time.
#include "FuzzFiles.h"
#include "loggeddata/MemoryImage.h"
#include "loggeddata/RecordDecoding.h"
#include "loggeddata/SampleTable.h"

#include <algorithm>

using namespace MemoryGeometry;

namespace {

// Header: chip order and command count, the page counts of the two chips, one point count
// per command; the rest are the image's first words, low byte first.
struct Layout {
    int firstChip = 0;
    int pageCounts[ChipCount] = {};
    CommandList commands;
};

size_t readLayout(const uint8_t* data, size_t size, Layout& layout) {
    if (size < 5) {
        return 0;
    }
    layout.firstChip = data[0] & 1;
    layout.pageCounts[0] = (data[1] | data[2] << 8) % (PagesPerChip + 1);
    layout.pageCounts[1] = (data[3] | data[4] << 8) % (PagesPerChip + 1);
    const size_t commandCount = std::min<size_t>((data[0] >> 1) & 7, size - 5);
    for (size_t i = 0; i < commandCount; ++i) {
        Comandi command;
        command.PointCount = data[5 + i];
        layout.commands.push_back(command);
    }
    return 5 + commandCount;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryImage image;
    static SampleTable table;
    Layout layout;
    const size_t headerSize = readLayout(data, size, layout);
    if (headerSize == 0) {
        return 0;
    }
    image.reset();
    for (int i = 0; i < ChipCount; ++i) {
        const int chip = (layout.firstChip + i) % ChipCount;
        for (int page = 0; page < layout.pageCounts[chip]; ++page) {
            image.appendPage(chip);
        }
    }
    const auto words = image.words();
    const size_t wordCount = std::min((size - headerSize) / 2, words.size());
    for (size_t i = 0; i < wordCount; ++i) {
        words[i] = uint16_t(data[headerSize + 2 * i] | data[headerSize + 2 * i + 1] << 8);
    }

    const DecodeResult result = decodeImage(image, layout.commands, table);
    FUZZ_CHECK(result.samples == table.size());
    for (int i = 0; i < table.size(); ++i) {
        const int32_t command = table[i].command;
        if (isMarker(command)) {
            FUZZ_CHECK(table.datas(i).empty());
        } else {
            FUZZ_CHECK(command >= 0 && size_t(command) < layout.commands.size());
            FUZZ_CHECK(table.datas(i).size() == layout.commands[size_t(command)].PointCount);
        }
        FUZZ_CHECK(i == 0 || table[i - 1].date <= table[i].date);
    }
    return 0;
}
