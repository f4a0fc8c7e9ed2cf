#pragma once

#include <QString>

// The pictures shipped in the program folder: the section tiles of the main window and the
// steps of the firmware update wizard.
namespace PictureFiles {

inline const QString FolderName = QStringLiteral("Pictures");

inline const QString ConnectTile = QStringLiteral("Connect.jpg");
inline const QString EditProjectTile = QStringLiteral("EditProject.jpg");
inline const QString DownloadDataTile = QStringLiteral("DownloadData.jpg");

inline const QString BootJumperIn = QStringLiteral("BootJumperIn.jpg");
inline const QString CrossCable = QStringLiteral("CrossCable.jpg");
inline const QString BootLed = QStringLiteral("BootLed.jpg");
inline const QString BootJumperOut = QStringLiteral("BootJumperOut.jpg");

inline QString path(const QString& programFolder, const QString& name) {
    return programFolder + QLatin1Char('/') + FolderName + QLatin1Char('/') + name;
}

}  // namespace PictureFiles
