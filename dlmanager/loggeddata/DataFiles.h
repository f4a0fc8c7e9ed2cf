#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class SampleTable;
class SampleTimeTexts;

// The data XML file: RECORDS holding one RECORD per sample with DATE, COMMAND and DATAS (one
// DATA per raw value). It keeps positions into the command list, so it is read back with the
// same project open.
namespace DataFiles {

inline const QString SaveFilter = QStringLiteral("Saved file XML|*.xml");
inline const QString LoadFilter = QStringLiteral("Saved File XML|*.xml");

// A download gives at most about 16 MB of data file; four times that is no data file of ours.
inline constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

// The project's own files may not be chosen as data files or exports (any folder, any case,
// nor through a symbolic link).
bool isProjectFileName(const QString& path);

// The data file's bytes; nothing when no XML document can be made.
std::optional<QByteArray> build(const SampleTable& table, SampleTimeTexts& texts);

// WriteFailed sets `failure`, when given, to a message naming the file and the system's reason.
enum class SaveResult { Saved, ParserMissing, WriteFailed };
SaveResult save(const QString& path, const SampleTable& table, SampleTimeTexts& texts,
                QString* failure = nullptr);

// Reads the whole file into `into`, which is cleared first. Fails on anything it cannot read
// (not a regular file, larger than MaxFileBytes, not XML, no RECORDS, a RECORD without DATE,
// COMMAND or DATAS or with more values than a command has, a text that does not convert) and on
// more records than a table holds; `into` then holds part of the file. `readFailure`, when
// given, says why a file could not be read at all.
bool load(const QString& path, SampleTable& into, SampleTimeTexts& texts,
          QString* readFailure = nullptr);

}  // namespace DataFiles
