#pragma once

#include <cstddef>

// The datalogger's flash as 16-bit words: a page, a block of 64 pages, both chips.
namespace FlashWords {
inline constexpr size_t WordsPerPage = 132;
inline constexpr size_t WordsPerBlock = 8448;
inline constexpr size_t ImageWords = 540672;
}  // namespace FlashWords
