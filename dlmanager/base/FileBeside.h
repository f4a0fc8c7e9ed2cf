#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QString>

// "it is a FIFO, not a regular file" and the like, for a file of that mode.
QString notRegularFileText(mode_t mode);

// The file a new version is written beside: a hidden temporary file ".name.XXXXXX" next to the
// target, held under an exclusive flock for as long as this object lives, so that the next save
// of the target can tell it from one whose writer is gone (killed, crashed) and remove that one.
// A symbolic link is followed to the file it names, which is replaced while the link stays. Only
// a regular file, or a name that does not exist yet, is ever replaced.
class FileBeside {
public:
    FileBeside() = default;
    ~FileBeside();
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    // Removes the stale temporary files of the target and makes this one, with the target's
    // permissions (or those of a new file). False, with the reason, when the target is not a
    // regular file or the temporary file cannot be made.
    bool create(const QString& target, QString* error);

    int descriptor() const { return fd_; }
    // The file that is replaced: the target, or the end of its chain of links.
    const QByteArray& replaced() const { return replaced_; }

    // The content on disk first, then the temporary file takes the target's place. The file
    // stays open and locked, so it can still be written through descriptor().
    bool commit(QString* error);

private:
    int fd_ = -1;
    bool committed_ = false;
    QByteArray temporary_;
    QByteArray replaced_;
};

// Removes every ".name.??????" beside `target` that is a regular file whose lock can be taken at
// once: what a writer that is gone left behind. A save running in another process holds its lock
// and is left alone.
void removeStaleTemporaries(const QByteArray& target);

// Renames `from` over `target` in one step, by the same rules as a save beside it: a link is
// followed to the file it names, and only a regular file (or nothing) is replaced.
bool renameOver(const QString& from, const QString& target, QString* error);
