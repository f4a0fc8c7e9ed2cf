#pragma once

#include <QString>

// The settings file, one key per call: each call opens the file, handles one key and closes it.
// Names match without regard to case and the first matching section and key count, as with the
// Windows INI functions. The file may be UTF-8 (with or without BOM), UTF-16 with BOM, or in the
// Windows code page. A write changes only the value of the key's line, or adds the key's line
// (and its section when missing) in the file's own encoding and line end; every other byte stays
// as it was. The file is created when missing and replaced whole, never left half-written.
namespace IniFile {

// Two keys and what others may have added: a larger file is no settings file.
inline constexpr qint64 MaxFileBytes = 1024 * 1024;

// The value, or `fallback` when the file, section or key is missing, or the file cannot be read
// (not a regular file, larger than MaxFileBytes).
QString read(const QString& path, const QString& section, const QString& key,
             const QString& fallback = {});

// False, leaving the file alone, when it cannot be read or written, when its encoding cannot
// hold the value, or when the value holds a line end or begins or ends with a blank (a read
// would not give it back); then `error`, when given, says which.
bool write(const QString& path, const QString& section, const QString& key, const QString& value,
           QString* error = nullptr);

}  // namespace IniFile
