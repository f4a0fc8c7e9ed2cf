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
    } else if (cyclical_) {
        chip_ = 0;
        block_ = 0;
    } else {
        block_ = BlocksPerChip - 1;
        offset_ = WordsPerBlock;
    }
}

void FlashMemory::enterBlock() {
    std::fill_n(words_.begin() + std::ptrdiff_t(writeIndex()), WordsPerBlock, Erased);
    if (block_ == 0) {
        status_ &= static_cast<uint16_t>(~(1u << chip_));
    }
}

void FlashMemory::load(std::span<const uint16_t> image) {
    erase();
    std::copy_n(image.begin(), std::min(image.size(), words_.size()), words_.begin());
    const auto last =
        std::find_if(words_.rbegin(), words_.rend(), [](uint16_t word) { return word != Erased; });
    if (last == words_.rend()) {
        return;
    }
    const size_t next = size_t(words_.rend() - last);  // the word after the last one written
    if (next == ImageWords) {
        chip_ = ChipCount - 1;
        block_ = BlocksPerChip - 1;
        offset_ = WordsPerBlock;
        status_ = 3;
        return;
    }
    chip_ = int(next / WordsPerChip);
    block_ = int(next % WordsPerChip / WordsPerBlock);
    offset_ = int(next % WordsPerBlock);
    status_ = chip_ == 1 ? 1 : 0;
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
    if (offset_ == 0) {
        enterBlock();
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
