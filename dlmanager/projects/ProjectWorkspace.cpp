#include "projects/ProjectWorkspace.h"

#include "base/FolderLookup.h"
#include "base/Prompts.h"
#include "base/WholeFile.h"
#include "projects/ProjectFiles.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The largest a project's own files grow: data files saved into it, merged firmware.
constexpr qint64 MaxCopiedFileBytes = 64 * 1024 * 1024;

// Copied are the files a plain "archive" attribute would allow elsewhere: visible, regular,
// writable by their owner. lstat, so a link is never followed.
bool isPlainFile(const QString& folder, const QString& name) {
    if (name.startsWith(QLatin1Char('.'))) {
        return false;
    }
    struct stat info {};
    if (::lstat(QFile::encodeName(QDir(folder).filePath(name)).constData(), &info) != 0) {
        return false;
    }
    return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) != 0;
}

bool leavesBase(const QString& name) {
    if (QDir::isAbsolutePath(name)) {
        return true;
    }
    const QStringList parts = name.split(QLatin1Char('/'));
    return parts.contains(QStringLiteral(".."));
}

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

void CopyFolderFiles(const QString& source, const QString& destination) {
    const QDir from(source);
    const QStringList names =
        from.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (!isPlainFile(source, name)) {
            continue;
        }
        const FileRead file = readFileWhole(from.filePath(name), MaxCopiedFileBytes);
        if (!file.read()) {
            continue;
        }
        const QString target = pathInFolder(destination, name);
        if (writeFileWhole(target, file.bytes)) {
            removeCaseTwins(target);
        }
    }
}

std::optional<QString> createProjectFolder(const QString& base, const QString& name,
                                           Prompts& prompts) {
    if (name.isEmpty() || leavesBase(name)) {
        prompts.inform(WorkspaceTexts::NameNotValid);
        return std::nullopt;
    }
    const QString folder = base + QLatin1Char('/') + name;
    if (QFileInfo::exists(folder)) {
        prompts.inform(WorkspaceTexts::NameExists);
        return std::nullopt;
    }
    if (!QDir(base).mkdir(name)) {
        return std::nullopt;
    }
    QDir().mkpath(pathInFolder(folder, WorkspaceTexts::BinFolder));
    return folder;
}

std::optional<QString> projectNameOf(const QString& projectsFolder, const QString& folder) {
    const QString root = cleanAbsolute(projectsFolder);
    const QString chosen = cleanAbsolute(folder);
    if (chosen == root) {
        return QString();
    }
    if (!chosen.startsWith(root + QLatin1Char('/'))) {
        return std::nullopt;
    }
    return chosen.mid(root.size() + 1);
}

bool openProject(ProgramSettings& settings, CommandList& commands, Prompts& prompts) {
    const auto chosen = prompts.chooseFolder(WorkspaceTexts::SelectProjectCaption,
                                             settings.ProjectsFolder, settings.ProjectFolder);
    if (!chosen) {
        return false;
    }
    const auto name = projectNameOf(settings.ProjectsFolder, *chosen);
    if (!name) {
        return false;  // the chooser keeps to ProjectsFolder; anything else is not a project
    }
    settings.ProjectName = *name;
    settings.ProjectFolder =
        name->isEmpty() ? settings.ProjectsFolder : QDir(settings.ProjectsFolder).filePath(*name);
    commands = ProjectFiles::loadCommandList(settings.ProjectFolder);
    rememberProject(settings, prompts);
    return true;
}

void startNewProject(const ProgramSettings& settings, CommandList& commands, Prompts& prompts) {
    commands.clear();
    rememberProject(settings, prompts);
    CopyFolderFiles(QDir(settings.ProjectsFolder).filePath(Settings::TemplateFolderName),
                    settings.ProjectFolder);
}

void rememberProject(const ProgramSettings& settings, Prompts& prompts) {
    QString reason;
    if (!Settings::writeLastProject(settings, &reason)) {
        prompts.warn(Settings::settingsWriteFailureText(settings, reason));
    }
}
