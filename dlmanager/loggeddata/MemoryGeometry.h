#pragma once

#include <cstddef>
#include <cstdint>

// The datalogger's flash: two chips of 2048 pages of 132 words, written in blocks of 64 pages.
namespace MemoryGeometry {

inline constexpr int ChipCount = 2;
inline constexpr int PagesPerChip = 2048;
inline constexpr int LastPage = PagesPerChip - 1;
inline constexpr int WordsPerPage = 132;
inline constexpr int WordsPerHalfPage = 66;
inline constexpr int HalfPageByteOffset = 132;
inline constexpr int PagesPerBlock = 64;
inline constexpr int WordsPerBlock = WordsPerPage * PagesPerBlock;                     // 8448
inline constexpr size_t ImageWords = size_t{WordsPerPage} * PagesPerChip * ChipCount;  // 540,672
inline constexpr uint16_t ErasedWord = 0xFFFF;

// Written to the page request's chip register: chip 1 and chip 2.
inline constexpr uint16_t ChipSelectCode[ChipCount] = {1, 3};

}  // namespace MemoryGeometry
