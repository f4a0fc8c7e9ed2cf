#include "loggeddata/RecordDecoding.h"

#include "loggeddata/MemoryImage.h"
#include "loggeddata/SampleTable.h"

#include <vector>

using namespace MemoryGeometry;

namespace {

enum class BlockEnd { Done, TableFull };

struct BlockDecoder {
    std::span<const uint16_t> words;
    const std::vector<int>& pointCounts;
    SampleTable& table;

    // Records from `begin` up to the block's end; value words may reach up to `chipEnd`.
    BlockEnd decode(size_t begin, size_t blockEnd, size_t chipEnd) {
        size_t p = begin;
        while (p < blockEnd && words[p] != ErasedWord) {
            if (p + 3 > chipEnd) {
                return BlockEnd::Done;
            }
            const auto stamp = LoggerTimeStamp::fromRecordWords(words[p], words[p + 1]);
            if (!stamp) {
                return BlockEnd::Done;
            }
            const uint16_t command = words[p + 2];
            p += 3;
            std::span<const uint16_t> values;
            if (command < pointCounts.size()) {
                const size_t count = size_t(pointCounts[command]);
                if (p + count > chipEnd) {
                    return BlockEnd::Done;
                }
                values = words.subspan(p, count);
                p += count;
            } else if (!isMarker(command)) {
                return BlockEnd::Done;
            }
            if (!table.append(*stamp, command, values)) {
                return BlockEnd::TableFull;
            }
        }
        return BlockEnd::Done;
    }
};

}  // namespace

DecodeResult decodeImage(const MemoryImage& image, const CommandList& commands,
                         SampleTable& table) {
    std::vector<int> pointCounts;
    pointCounts.reserve(commands.size());
    for (const Comandi& command : commands) {
        pointCounts.push_back(command.PointCount);
    }
    table.clear();
    BlockDecoder decoder{image.words(), pointCounts, table};
    DecodeResult result;
    for (int chip = 0; chip < ChipCount && !result.truncated; ++chip) {
        const MemoryImage::ChipPages& pages = image.chip(chip);
        const size_t chipBegin = size_t(pages.firstImagePage) * WordsPerPage;
        const size_t chipEnd = chipBegin + size_t(pages.pageCount) * WordsPerPage;
        for (size_t block = chipBegin; block < chipEnd; block += WordsPerBlock) {
            const size_t blockEnd = std::min(block + WordsPerBlock, chipEnd);
            if (decoder.decode(block, blockEnd, chipEnd) == BlockEnd::TableFull) {
                result.truncated = true;
                break;
            }
        }
    }
    table.sortByDate();
    result.samples = table.size();
    return result;
}
