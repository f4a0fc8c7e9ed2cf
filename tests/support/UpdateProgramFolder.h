#pragma once

// A program folder ready for a device update: the base firmware in MASTER and the project
// Plant with its bank files, as "Update Device" leaves them before the wizard opens.

#include "FirmwareGenerator.h"
#include "base/ProgramSettings.h"
#include "firmware/BankOutputs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class UpdateProgramFolder {
public:
    explicit UpdateProgramFolder(const FirmwareLayout& base = {}) {
        settings = Settings::prepareFolders(dir_.path());
        writeBase(base);
        settings.ProjectName = QStringLiteral("Plant");
        settings.ProjectFolder = settings.ProjectsFolder + QStringLiteral("/Plant");
        QDir().mkpath(bin());
        BankImages banks;
        banks.ConfigBank().fill(0x5A);
        writeBankFiles(bin(), banks);
    }

    QString path() const { return dir_.path(); }
    QString bin() const { return settings.ProjectFolder + QStringLiteral("/bin"); }
    QString output() const {
        return settings.ProjectFolder + QStringLiteral("/New_Flash_Application.sx");
    }
    void writeBase(const FirmwareLayout& layout) const {
        QFile file(settings.MasterFolder + QStringLiteral("/Flash_Application.sx"));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(QByteArray::fromStdString(generateFirmware(layout)));
        }
    }
    // An older merged firmware, as an earlier update leaves it.
    void writeOlderOutput() const {
        QFile file(output());
        if (file.open(QIODevice::WriteOnly)) {
            file.write("S00600004844521B\r\nS9030000FC\r\n");
        }
    }

    ProgramSettings settings;

private:
    QTemporaryDir dir_;
};
