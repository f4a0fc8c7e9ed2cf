#pragma once

// Writes hand-made project files, including ones the program itself never writes (conf
// attributes, odd element names, broken XML).

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

class ProjectFolder {
public:
    ProjectFolder() { QDir(dir_.path()).mkdir(QStringLiteral("bin")); }

    QString path() const { return dir_.path(); }
    QString bin() const { return dir_.filePath(QStringLiteral("bin")); }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(dir_.filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(bytes);
        }
    }
    void remove(const QString& name) const { QFile::remove(dir_.filePath(name)); }

    // Each row is the text of its attributes, e.g. R"(dataaddress="100" npoint="2")".
    void commands(const QList<QByteArray>& rows, const QString& name = "cmdmb.xml") const {
        QByteArray xml = "<?xml version=\"1.0\"?>\n<cmdmb>\n";
        for (const QByteArray& row : rows) {
            xml += "  <row " + row + "/>\n";
        }
        write(name, xml + "</cmdmb>\n");
    }
    void serial(const QList<QByteArray>& values, const QString& name = "pargen.xml") const {
        static const QByteArray names[] = {"baudmodbus", "parity", "id_dev", "extra"};
        QByteArray xml = "<?xml version=\"1.0\"?>\n<GenericParameter>\n";
        for (qsizetype i = 0; i < values.size(); ++i) {
            xml += "  <" + names[i] + ">" + values[i] + "</" + names[i] + ">\n";
        }
        write(name, xml + "</GenericParameter>\n");
    }
    void options(const QList<QByteArray>& values) const {
        static const QByteArray names[] = {"Start_Stop", "Cyclical_mem"};
        QByteArray xml = "<?xml version=\"1.0\"?>\n<Dip-Switch>\n";
        for (qsizetype i = 0; i < values.size(); ++i) {
            xml += "  <" + names[i] + ">" + values[i] + "</" + names[i] + ">\n";
        }
        write("DipCmd.xml", xml + "</Dip-Switch>\n");
    }

private:
    QTemporaryDir dir_;
};
