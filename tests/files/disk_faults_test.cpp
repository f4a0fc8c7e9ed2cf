// Every kind of file the program writes, saved onto a full disk, into a folder without write
// permission and over FIFOs standing where its files were: the message names the file and the
// reason, the old files stay whole (a FIFO stays a FIFO) and no temporary file is left behind.
#include "FirmwareGenerator.h"
#include "ScriptedPrompts.h"
#include "base/ProgramSettings.h"
#include "firmware/BankOutputs.h"
#include "firmware/SRecordMerge.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggerTime.h"
#include "loggeddata/SampleRendering.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"
#include "projects/ProjectFiles.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

enum class Fault { FullDisk, NoPermission, OntoFifos };

// A program folder with a project, every file already written once. On a full disk it is a
// small file system of its own when the test may mount one (as root), else the process gets a
// file size limit; without permission the written-to folder loses its write bit, and a root
// process runs the save as an ordinary user, for whom that bit counts.
class ProgramFolder {
public:
    ProgramFolder() {
        char pattern[] = "/tmp/dlm-disk-faults-XXXXXX";
        root_ = QString::fromLocal8Bit(::mkdtemp(pattern));
        ::chmod(pattern, 0755);
        mounted_ =
            ::geteuid() == 0 && ::mount("tmpfs", pattern, "tmpfs", 0, "size=2m,mode=0755") == 0;
        settings = Settings::prepareFolders(root_);
        settings.ProjectName = QStringLiteral("Plant");
        settings.ProjectFolder = settings.ProjectsFolder + QStringLiteral("/Plant");
        QDir().mkpath(bin());
        FirmwareLayout layout;
        layout.codeBytes = 16 * 1024;
        writeFile(settings.MasterFolder + QStringLiteral("/Flash_Application.sx"),
                  QByteArray::fromStdString(generateFirmware(layout)));
    }
    ~ProgramFolder() {
        for (const QString& folder : lockedFolders_) {
            ::chmod(QFile::encodeName(folder).constData(), 0755);
        }
        if (mounted_) {
            ::umount(QFile::encodeName(root_).constData());
        }
        QDir(root_).removeRecursively();
    }

    QString project() const { return settings.ProjectFolder; }
    QString bin() const { return project() + QStringLiteral("/bin"); }
    QString file(const QString& name) const { return root_ + u'/' + name; }

    // Runs `save` under the fault, for files in `folder`; the fault ends with the call.
    QString underFault(Fault fault, const QString& folder, const std::function<QString()>& save) {
        if (fault == Fault::OntoFifos) {
            for (const QString& name : QDir(folder).entryList(QDir::Files)) {
                const QByteArray path = QFile::encodeName(folder + u'/' + name);
                if (::unlink(path.constData()) != 0 || ::mkfifo(path.constData(), 0644) != 0) {
                    ADD_FAILURE() << "cannot make a FIFO of " << path.toStdString();
                }
                fifos << QDir(root_).relativeFilePath(folder + u'/' + name);
            }
            return save();
        }
        if (fault == Fault::NoPermission) {
            const bool asRoot = ::geteuid() == 0;
            if (asRoot) {
                handTo(65534);
            }
            lockedFolders_ << folder;
            ::chmod(QFile::encodeName(folder).constData(), 0555);
            if (asRoot && ::seteuid(65534) != 0) {
                ADD_FAILURE() << "cannot run as an ordinary user";
            }
            const QString message = save();
            if (asRoot && ::seteuid(0) != 0) {
                std::abort();
            }
            return message;
        }
        if (mounted_) {
            fillDisk();
            return save();
        }
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit before{};
        ::getrlimit(RLIMIT_FSIZE, &before);
        rlimit limit = before;
        limit.rlim_cur = 8;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const QString message = save();
        ::setrlimit(RLIMIT_FSIZE, &before);
        return message;
    }
    QString reason(Fault fault) const {
        if (fault == Fault::OntoFifos) {
            return QStringLiteral("it is a FIFO, not a regular file");
        }
        const int code = fault == Fault::NoPermission ? EACCES : mounted_ ? ENOSPC : EFBIG;
        return QString::fromLocal8Bit(std::strerror(code));
    }

    ProgramSettings settings;
    QStringList fifos;  // relative to the program folder

private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        file.write(bytes);
    }
    // Everything in the folder to that user, so that only the locked folder is out of reach.
    void handTo(uid_t user) const {
        ::chown(QFile::encodeName(root_).constData(), user, user);
        QDirIterator it(root_, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            if (::chown(QFile::encodeName(it.next()).constData(), user, user) != 0) {
                ADD_FAILURE() << "cannot hand over " << it.filePath().toStdString();
            }
        }
    }
    // Takes every free block, in a folder of its own so that it is not among the saved files.
    void fillDisk() const {
        QDir().mkpath(file(QStringLiteral("filler")));
        QFile filler(file(QStringLiteral("filler/blocks")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

    QString root_;
    bool mounted_ = false;
    QStringList lockedFolders_;
};

// Name, size and checksum of every file below `folder`, but for the blocks that fill a disk.
std::vector<std::string> snapshot(const QString& folder) {
    std::vector<std::string> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.fileName().contains(QStringLiteral("/filler/"))) {
            continue;
        }
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
        files.push_back(
            QDir(folder).relativeFilePath(file.fileName()).toStdString() + " " +
            std::to_string(bytes.size()) + " " +
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toStdString());
    }
    std::sort(files.begin(), files.end());
    return files;
}

SampleTable threeSamples() {
    SampleTable table;
    const uint16_t values[] = {215, 198};
    for (int i = 0; i < 3; ++i) {
        table.append(LoggerTimeStamp::fromDateAndTime(QDate(2011, 3, 15), QTime(14, 30, i)), 0,
                     values);
    }
    return table;
}

const CommandList Commands = {Comandi{100, 2, "Boiler", 1, 1, "C"}};

// One kind of file: how its folder is prepared with an older version of it, which folder it is
// written into, and the save as the program does it, giving the message the user would see.
struct Writer {
    const char* name;
    std::function<void(ProgramFolder&)> writeOld;
    std::function<QString(ProgramFolder&)> folderOf;
    std::function<QString(ProgramFolder&)> save;
};

QString projectOf(ProgramFolder& folder) {
    return folder.project();
}
QString rootOf(ProgramFolder& folder) {
    return folder.settings.ProgramFolder;
}
QString binOf(ProgramFolder& folder) {
    return folder.bin();
}

void writeProject(ProgramFolder& folder, int version) {
    CommandList commands = Commands;
    commands[0].DataAddress = uint16_t(100 + version);
    ProjectFiles::saveCommandList(folder.project(), commands);
    ProjectFiles::saveSerialParameters(folder.project(), {version % 8, 0, 1});
    ProjectFiles::saveStartStopOptions(folder.project(), {version % 2 == 1, false});
}

QString prompted(const std::function<void(Prompts&)>& run) {
    ScriptedPrompts prompts;
    run(prompts);
    return prompts.shown.join(u'|');
}

const Writer Writers[] = {
    {"CommandList", [](ProgramFolder& f) { writeProject(f, 1); }, projectOf,
     [](ProgramFolder& f) {
         QString failure;
         ProjectFiles::saveCommandList(f.project(), Commands, &failure);
         return failure;
     }},
    {"SerialParameters", [](ProgramFolder& f) { writeProject(f, 1); }, projectOf,
     [](ProgramFolder& f) {
         QString failure;
         ProjectFiles::saveSerialParameters(f.project(), {4, 2, 7}, &failure);
         return failure;
     }},
    {"StartStopOptions", [](ProgramFolder& f) { writeProject(f, 2); }, projectOf,
     [](ProgramFolder& f) {
         QString failure;
         ProjectFiles::saveStartStopOptions(f.project(), {true, true}, &failure);
         return failure;
     }},
    {"BankFiles",
     [](ProgramFolder& f) {
         writeProject(f, 1);
         BankImages banks;
         banks.ConfigBank().fill(0x5A);
         writeBankFiles(f.bin(), banks);
     },
     binOf,
     [](ProgramFolder& f) {
         QString failure;
         writeBankFiles(f.bin(), BankImages{}, &failure);
         return failure;
     }},
    {"BankOutputs",
     [](ProgramFolder& f) {
         writeProject(f, 1);
         BankImages banks;
         ScriptedPrompts prompts;
         prepareBanksForUpdate(f.project(), banks, prompts);
         writeProject(f, 3);  // the next outputs differ
     },
     binOf,
     [](ProgramFolder& f) {
         return prompted([&](Prompts& prompts) {
             BankImages banks;
             EXPECT_FALSE(prepareBanksForUpdate(f.project(), banks, prompts));
         });
     }},
    {"MergedFirmware",
     [](ProgramFolder& f) {
         writeProject(f, 1);
         BankImages banks;
         ScriptedPrompts prompts;
         prepareBanksForUpdate(f.project(), banks, prompts);
         NoMergeProgress progress;
         MergeAllBanks(
             mergeRunFor(f.settings.MasterFolder, f.settings.ProgramFolder, f.project(), 3),
             prompts, progress);
     },
     projectOf,
     [](ProgramFolder& f) {
         return prompted([&](Prompts& prompts) {
             NoMergeProgress progress;
             const MergeSummary summary = MergeAllBanks(
                 mergeRunFor(f.settings.MasterFolder, f.settings.ProgramFolder, f.project(), 3),
                 prompts, progress);
             EXPECT_TRUE(summary.fileError);
         });
     }},
    {"DataFile",
     [](ProgramFolder& f) {
         SampleTimeTexts texts;
         DataFiles::save(f.file("data.xml"), threeSamples(), texts);
     },
     rootOf,
     [](ProgramFolder& f) {
         SampleTimeTexts texts;
         QString failure;
         SampleTable more = threeSamples();
         more.append(0, HardwareStartMarker, {});
         DataFiles::save(f.file("data.xml"), more, texts, &failure);
         return failure;
     }},
    {"CsvExport",
     [](ProgramFolder& f) {
         SampleTimeTexts texts;
         CsvExport::write(f.file("data.csv"), threeSamples(), Commands, DisplayBase::Decimal,
                          texts);
     },
     rootOf,
     [](ProgramFolder& f) {
         SampleTimeTexts texts;
         QString failure;
         CsvExport::write(f.file("data.csv"), threeSamples(), Commands, DisplayBase::Hexadecimal,
                          texts, &failure);
         return failure;
     }},
    {"Settings", [](ProgramFolder& f) { Settings::writeLastProject(f.settings); }, rootOf,
     [](ProgramFolder& f) {
         f.settings.ProjectName = QStringLiteral("Another plant");
         QString reason;
         return Settings::writeLastProject(f.settings, &reason)
                    ? QString()
                    : Settings::settingsWriteFailureText(f.settings, reason);
     }},
};

class DiskFaults : public ::testing::TestWithParam<std::tuple<Writer, Fault>> {};

TEST_P(DiskFaults, TheMessageNamesFileAndReasonAndTheOldFilesStayWhole) {
    const Writer& writer = std::get<0>(GetParam());
    const Fault fault = std::get<1>(GetParam());
    ProgramFolder folder;
    writer.writeOld(folder);
    const QString written = writer.folderOf(folder);
    const std::vector<std::string> before = snapshot(folder.settings.ProgramFolder);
    ASSERT_FALSE(snapshot(written).empty()) << "nothing to overwrite";

    const QString message = folder.underFault(fault, written, [&] { return writer.save(folder); });

    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(written) + u'/'))
        << message.toStdString();
    EXPECT_TRUE(message.contains(folder.reason(fault))) << message.toStdString();
    // Every old file whole, no new one (a temporary file) beside them.
    std::vector<std::string> expected = before;
    for (const QString& fifo : folder.fifos) {
        EXPECT_TRUE(QFileInfo(folder.file(fifo)).exists() && !QFileInfo(folder.file(fifo)).isFile())
            << fifo.toStdString() << " was replaced";
        std::erase_if(expected, [&](const std::string& entry) {
            return entry.starts_with(fifo.toStdString() + ' ');
        });
    }
    EXPECT_EQ(snapshot(folder.settings.ProgramFolder), expected);
}

INSTANTIATE_TEST_SUITE_P(EveryWrittenFile, DiskFaults,
                         ::testing::Combine(::testing::ValuesIn(Writers),
                                            ::testing::Values(Fault::FullDisk, Fault::NoPermission,
                                                              Fault::OntoFifos)),
                         [](const auto& info) {
                             const Fault fault = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param).name) +
                                    (fault == Fault::FullDisk       ? "OnAFullDisk"
                                     : fault == Fault::NoPermission ? "WithoutPermission"
                                                                    : "OntoFifos");
                         });

}  // namespace
