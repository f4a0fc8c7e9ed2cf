#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Two flash chips of 2048 pages × 264 bytes, kept as 16-bit words as the page buffer serves
// them. Records are appended block by block (64 pages): a record that does not fit in the rest
// of a block starts the next one, and chip 1 fills before chip 2.
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

    // False when no block has room left for the record: the memory is full.
    bool append(std::span<const uint16_t> record);

    uint16_t word(int chip, int page, int wordInPage) const;

    // The next word to be written: chip (0 or 1), page in that chip, byte in that page.
    int writeChip() const { return chip_; }
    int writePage() const;
    int writeByte() const;
    // Bit 0: chip 1 is full; bit 1: chip 2 is full.
    uint16_t flashStatus() const { return status_; }
    bool full() const { return status_ == 3; }

    // Both chips, every page in order, chip 1 first: what a complete download produces.
    const std::vector<uint16_t>& image() const { return words_; }

private:
    void closeBlock();
    size_t writeIndex() const;

    std::vector<uint16_t> words_;
    int chip_ = 0;
    int block_ = 0;   // in the chip
    int offset_ = 0;  // words used in the block
    uint16_t status_ = 0;
};
