#include "FlashMemory.h"

#include <algorithm>

FlashMemory::FlashMemory() : words_(ImageWords, Erased) {}

void FlashMemory::erase() {
    std::fill(words_.begin(), words_.end(), Erased);
    chip_ = 0;
    block_ = 0;
    offset_ = 0;
    status_ = 0;
}

void FlashMemory::closeBlock() {
    offset_ = 0;
    if (++block_ < BlocksPerChip) {
        return;
    }
    status_ |= static_cast<uint16_t>(1u << chip_);
    if (chip_ + 1 < ChipCount) {
        ++chip_;
        block_ = 0;
    } else {
        block_ = BlocksPerChip - 1;
        offset_ = WordsPerBlock;
    }
}

size_t FlashMemory::writeIndex() const {
    return size_t(chip_) * WordsPerChip + size_t(block_) * WordsPerBlock + size_t(offset_);
}

bool FlashMemory::append(std::span<const uint16_t> record) {
    if (full() || record.empty() || record.size() > size_t{WordsPerBlock}) {
        return false;
    }
    if (offset_ + record.size() > size_t{WordsPerBlock}) {
        closeBlock();
        if (full()) {
            return false;
        }
    }
    std::copy(record.begin(), record.end(), words_.begin() + std::ptrdiff_t(writeIndex()));
    offset_ += static_cast<int>(record.size());
    if (offset_ == WordsPerBlock) {
        closeBlock();
    }
    return true;
}

uint16_t FlashMemory::word(int chip, int page, int wordInPage) const {
    return words_[size_t(chip) * WordsPerChip + size_t(page) * WordsPerPage + size_t(wordInPage)];
}

int FlashMemory::writePage() const {
    const int page = (block_ * WordsPerBlock + offset_) / WordsPerPage;
    return std::min(page, PagesPerChip - 1);
}

int FlashMemory::writeByte() const {
    if (full()) {
        return WordsPerPage * 2;
    }
    return ((block_ * WordsPerBlock + offset_) % WordsPerPage) * 2;
}
