#pragma once

#include "base/Prompts.h"

#include <QMessageBox>

// Prompts shown as the toolkit's modal message boxes and choosers over a parent window, titled
// with the product's caption; the icon tells a note, an error and a question apart.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent) : parent_(parent) {}

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

private:
    void show(QMessageBox::Icon icon, const QString& text, const QString& detail);

    QWidget* parent_;
};
