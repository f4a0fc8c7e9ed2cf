#pragma once

#include <QString>
#include <optional>

// Every message box, question and chooser the program shows goes through this seam: the
// windows use the Qt implementation, tests a scripted fake, dlmcli prints to stderr.
// Filters are given as "Description|*.ext".
class Prompts {
public:
    virtual ~Prompts() = default;

    // A plain message with an OK button.
    virtual void inform(const QString& text) = 0;
    // The same message with a detail (a reason and its fix) the user may unfold.
    virtual void informWithDetail(const QString& text, const QString& detail) = 0;
    // A failure (a file not written, a port not opened, a download failed, a file refused):
    // shown as the messages above, but marked as an error.
    virtual void warn(const QString& text) = 0;
    virtual void warnWithDetail(const QString& text, const QString& detail) = 0;
    // Buttons Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // Buttons OK and Cancel; true for OK.
    virtual bool askOkCancel(const QString& text) = 0;
    // Buttons Yes, No and Cancel; closing the box is Cancel.
    enum class Answer { Yes, No, Cancel };
    virtual Answer askYesNoCancel(const QString& text) = 0;

    // The chosen folder (root or below it), or nothing when cancelled.
    virtual std::optional<QString> chooseFolder(const QString& caption, const QString& root,
                                                const QString& preselected) = 0;
    virtual std::optional<QString> chooseOpenFile(const QString& startFolder,
                                                  const QString& filter) = 0;
    virtual std::optional<QString> chooseSaveFile(const QString& startFolder, const QString& filter,
                                                  const QString& defaultExtension) = 0;
};
