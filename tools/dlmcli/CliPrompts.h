#pragma once

#include "base/Prompts.h"

// Prompts for the command line: messages go to stderr, notes and errors alike; questions and
// choosers cannot be answered here, so they are printed and answered "no" / cancelled.
class CliPrompts : public Prompts {
public:
    void inform(const QString& text) override;
    void informWithDetail(const QString& text, const QString& detail) override;
    void warn(const QString& text) override;
    void warnWithDetail(const QString& text, const QString& detail) override;
    bool askYesNo(const QString& text) override;
    bool askOkCancel(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& root,
                                        const QString& preselected) override;
    std::optional<QString> chooseOpenFile(const QString& startFolder,
                                          const QString& filter) override;
    std::optional<QString> chooseSaveFile(const QString& startFolder, const QString& filter,
                                          const QString& defaultExtension) override;

    int messageCount() const { return messages_; }

private:
    int messages_ = 0;
};
