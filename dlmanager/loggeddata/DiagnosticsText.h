#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>

// The rows of the debug view: five of the ten diagnostic registers 122..131.
namespace DiagnosticsText {

inline constexpr int RowCount = 5;
inline const std::array<QString, RowCount> Captions = {
    QStringLiteral("Data (MSW)"), QStringLiteral("Data (LSW)"), QStringLiteral("Memory Chip"),
    QStringLiteral("Page"), QStringLiteral("Byte")};
inline const QString Unknown = QStringLiteral("---");

// From the block read at 122: 125 and 126 as 4 upper-case hexadecimal digits, 127 to 129 in
// decimal.
std::array<QString, RowCount> values(std::span<const uint16_t, 10> registers122To131);

}  // namespace DiagnosticsText
