#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Two flash chips of 2048 pages × 264 bytes, kept as 16-bit words as the page buffer serves
// them. Records are appended block by block (64 pages): a record that does not fit in the rest
// of a block starts the next one, and chip 1 fills before chip 2. A block is erased when the
// first record goes into it. In cyclical mode a full memory goes on at chip 1's first block,
// and a chip whose first block is written again is no longer full: the flash status runs
// 0, 1, 3, 2, 3, 1, 3, 2 ...
class FlashMemory {
public:
    static constexpr int ChipCount = 2;
    static constexpr int PagesPerChip = 2048;
    static constexpr int WordsPerPage = 132;
    static constexpr int PagesPerBlock = 64;
    static constexpr int WordsPerBlock = WordsPerPage * PagesPerBlock;  // 8448
    static constexpr int BlocksPerChip = PagesPerChip / PagesPerBlock;  // 32
    static constexpr size_t WordsPerChip = size_t{PagesPerChip} * WordsPerPage;
    static constexpr size_t ImageWords = WordsPerChip * ChipCount;  // 540,672
    static constexpr uint16_t Erased = 0xFFFF;

    FlashMemory();

    void erase();
    void setCyclical(bool cyclical) { cyclical_ = cyclical; }
    bool cyclical() const { return cyclical_; }

    // Takes a whole image (chip 1's pages, then chip 2's); writing goes on after its last word
    // that is not erased, the chips before that full.
    void load(std::span<const uint16_t> image);

    // False when no block has room left for the record: the memory is full.
    bool append(std::span<const uint16_t> record);

    uint16_t word(int chip, int page, int wordInPage) const;

    // The next word to be written: chip (0 or 1), page in that chip, byte in that page.
    int writeChip() const { return chip_; }
    int writePage() const;
    int writeByte() const;
    // Bit 0: chip 1 is full; bit 1: chip 2 is full.
    uint16_t flashStatus() const { return status_; }
    // No room for another record: both chips full and not cyclical.
    bool full() const { return status_ == 3 && !cyclical_; }

    // Both chips, every page in order, chip 1 first: what a complete download produces.
    const std::vector<uint16_t>& image() const { return words_; }

private:
    void closeBlock();
    void enterBlock();
    size_t writeIndex() const;

    std::vector<uint16_t> words_;
    int chip_ = 0;
    int block_ = 0;   // in the chip
    int offset_ = 0;  // words used in the block
    uint16_t status_ = 0;
    bool cyclical_ = false;
};
