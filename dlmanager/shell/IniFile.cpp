#include "shell/IniFile.h"

#include "shell/WholeFile.h"

#include <QFile>
// Values are UTF-8 bytes as they stand; no wide-character conversion is needed.
#define SI_NO_CONVERSION
#include <SimpleIni.h>
#include <string>

namespace IniFile {

namespace {

enum class Loaded { Missing, Read, Unreadable };

Loaded load(const QString& path, CSimpleIniA& ini) {
    ini.SetUnicode(true);
    ini.SetSpaces(false);  // classic "key=value"
    QFile file(path);
    if (!file.exists()) {
        return Loaded::Missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return Loaded::Unreadable;
    }
    const QByteArray bytes = file.readAll();
    return ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) < 0
               ? Loaded::Unreadable
               : Loaded::Read;
}

}  // namespace

QString read(const QString& path, const QString& section, const QString& key,
             const QString& fallback) {
    CSimpleIniA ini;
    if (load(path, ini) != Loaded::Read) {
        return fallback;
    }
    const char* value =
        ini.GetValue(section.toStdString().c_str(), key.toStdString().c_str(), nullptr);
    return value ? QString::fromUtf8(value) : fallback;
}

bool write(const QString& path, const QString& section, const QString& key, const QString& value) {
    CSimpleIniA ini;
    // Writing over a file we could not read would drop its other entries.
    if (load(path, ini) == Loaded::Unreadable) {
        return false;
    }
    if (ini.SetValue(section.toStdString().c_str(), key.toStdString().c_str(),
                     value.toStdString().c_str()) < 0) {
        return false;
    }
    std::string text;
    if (ini.Save(text, false) < 0) {
        return false;
    }
    return writeFileWhole(path, QByteArray::fromStdString(text));
}

}  // namespace IniFile
