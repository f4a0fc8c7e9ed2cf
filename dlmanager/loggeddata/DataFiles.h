#pragma once

#include <QString>

class SampleTable;
class SampleTimeTexts;

// The data XML file: RECORDS holding one RECORD per sample with DATE, COMMAND and DATAS (one
// DATA per raw value). It keeps positions into the command list, so it is read back with the
// same project open.
namespace DataFiles {

inline const QString SaveFilter = QStringLiteral("Saved file XML|*.xml");
inline const QString LoadFilter = QStringLiteral("Saved File XML|*.xml");

// The project's own files may not be chosen as data files (any folder, any case).
bool isProjectFileName(const QString& path);

// WriteFailed sets `failure`, when given, to a message naming the file and the system's reason.
enum class SaveResult { Saved, ParserMissing, WriteFailed };
SaveResult save(const QString& path, const SampleTable& table, SampleTimeTexts& texts,
                QString* failure = nullptr);

// Reads the whole file into `into`, which is cleared first. Fails on anything it cannot read
// (not XML, no RECORDS, a RECORD without DATE, COMMAND or DATAS, a text that does not convert)
// and on more records than a table holds; `into` then holds part of the file.
bool load(const QString& path, SampleTable& into, SampleTimeTexts& texts);

}  // namespace DataFiles
