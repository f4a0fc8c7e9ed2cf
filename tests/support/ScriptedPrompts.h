#pragma once

#include "base/Prompts.h"

#include <QStringList>
#include <deque>

// Records every text shown and answers from a script (defaults: No, Cancel, cancelled).
class ScriptedPrompts : public Prompts {
public:
    QStringList shown;
    QStringList details;  // the detail of each message that had one
    std::deque<bool> answers;
    std::deque<QString> choices;  // an empty text stands for a cancelled chooser

    void inform(const QString& text) override { shown << text; }
    void informWithDetail(const QString& text, const QString& detail) override {
        shown << text;
        details << detail;
    }
    bool askYesNo(const QString& text) override { return answer(text); }
    bool askOkCancel(const QString& text) override { return answer(text); }
    std::optional<QString> chooseFolder(const QString& caption, const QString&,
                                        const QString&) override {
        return choice(caption);
    }
    std::optional<QString> chooseOpenFile(const QString&, const QString& filter) override {
        return choice(filter);
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString& filter,
                                          const QString&) override {
        return choice(filter);
    }

private:
    bool answer(const QString& text) {
        shown << text;
        if (answers.empty()) {
            return false;
        }
        const bool next = answers.front();
        answers.pop_front();
        return next;
    }
    std::optional<QString> choice(const QString& text) {
        shown << text;
        const QString next = choices.empty() ? QString() : choices.front();
        if (!choices.empty()) {
            choices.pop_front();
        }
        return next.isEmpty() ? std::nullopt : std::optional<QString>(next);
    }
};
