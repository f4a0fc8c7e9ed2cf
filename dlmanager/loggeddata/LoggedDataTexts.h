#pragma once

#include <QString>

// The messages and questions of the Download Data section.
namespace LoggedDataTexts {

inline const QString NotInStop = QStringLiteral("Error DataLogger not in stop");
inline const QString DownloadFailed = QStringLiteral("Error in download data");
inline const QString AllMemoryQuestion =
    QStringLiteral("The time for Download all memory is about 34 minutes! Are you sure to do it?");
inline const QString TooManySamples = QStringLiteral(
    "The memory holds more samples than the table takes: only the first 150001 were decoded.");
inline const QString NothingToSave = QStringLiteral("Please, download data before.");
inline const QString FileError = QStringLiteral("Attention!!! Error in file.");
inline const QString WriteFailed = QStringLiteral("The file could not be written: ");
inline const QString NotCompatible =
    QStringLiteral("This project is not compatible with DataLogger");
inline const QString NoVisibleCommand = QStringLiteral("One or more commands must be visible!");
inline const QString EraseQuestion = QStringLiteral("Do you really want to erase memory ?");
inline const QString EraseNotFollowed = QStringLiteral(
    "The link to the DataLogger was lost during the erase: whether the memory was erased could "
    "not be followed. Connect again and check the DataLogger's state.");

}  // namespace LoggedDataTexts
