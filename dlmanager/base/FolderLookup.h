#pragma once

#include <QString>

// Names inside a project folder match without regard to letter case: "PARGEN.XML" is
// "pargen.xml", "Bin" is "bin".

// The path of the existing entry of `folder` whose name equals `name` ignoring case (an exact
// match wins); when there is none, folder + "/" + name, the path to create it under.
QString pathInFolder(const QString& folder, const QString& name);

// True when `folder` holds an entry (file or folder) with that name, ignoring case.
bool existsInFolder(const QString& folder, const QString& name);

// Same, for a file only: a folder that carries a file's name does not count.
bool fileExistsInFolder(const QString& folder, const QString& name);

// After `path` has been written: removes the other plain files of its folder whose names equal
// its name ignoring case, so the folder never holds two spellings of one file and readers
// cannot find a stale one. Folders are never removed.
void removeCaseTwins(const QString& path);
