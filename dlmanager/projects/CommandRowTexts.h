#pragma once

#include "projects/Comandi.h"

#include <QString>
#include <array>
#include <vector>

// The five texts of one command as the editor holds them and cmdmb.xml stores them, in file
// order; they become numbers only when saved.
enum CommandField { AddressField, PointsField, DecimalsField, UnitField, DescriptionField };
inline constexpr int CommandFieldCount = 5;

using CommandRowTexts = std::array<QString, CommandFieldCount>;
using CommandRows = std::vector<CommandRowTexts>;

// The texts the editor shows for a command: numbers in unsigned decimal.
CommandRowTexts textsOf(const Comandi& command);
