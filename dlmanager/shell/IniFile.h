#pragma once

#include <QString>

// The settings file, one key per call: each call opens the file, handles one key and closes it.
// Writing keeps every other section, key and comment as it was and in its order, and creates the
// file when it is missing; the file is replaced whole, never left half-written.
namespace IniFile {

// The value, or `fallback` when the file, section or key is missing.
QString read(const QString& path, const QString& section, const QString& key,
             const QString& fallback = {});

// False when the file cannot be read back or written.
bool write(const QString& path, const QString& section, const QString& key, const QString& value);

}  // namespace IniFile
