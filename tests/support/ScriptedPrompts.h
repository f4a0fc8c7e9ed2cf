#pragma once

#include "base/Prompts.h"

#include <QHash>
#include <QStringList>
#include <deque>
#include <optional>

// Records every text shown with its kind and answers from a script (defaults: No, Cancel,
// cancelled; No for a Yes/No/Cancel question, which leaves as the program did before it asked).
class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Note, Error, Question, Choice };

    QStringList shown;
    QStringList details;  // the detail of each message that had one
    std::deque<bool> answers;
    std::deque<Answer> threeWayAnswers;  // for askYesNoCancel
    std::deque<QString> choices;         // an empty text stands for a cancelled chooser

    void inform(const QString& text) override { record(text, Kind::Note); }
    void informWithDetail(const QString& text, const QString& detail) override {
        record(text, Kind::Note);
        details << detail;
    }
    void warn(const QString& text) override { record(text, Kind::Error); }
    void warnWithDetail(const QString& text, const QString& detail) override {
        record(text, Kind::Error);
        details << detail;
    }
    bool askYesNo(const QString& text) override { return answer(text); }
    bool askOkCancel(const QString& text) override { return answer(text); }
    Answer askYesNoCancel(const QString& text) override {
        record(text, Kind::Question);
        if (threeWayAnswers.empty()) {
            return Answer::No;
        }
        const Answer next = threeWayAnswers.front();
        threeWayAnswers.pop_front();
        return next;
    }
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

    // How `text` was shown last; kept when a test clears `shown`.
    std::optional<Kind> kindOf(const QString& text) const {
        const auto at = kinds_.find(text);
        return at == kinds_.end() ? std::nullopt : std::optional<Kind>(*at);
    }

private:
    void record(const QString& text, Kind kind) {
        shown << text;
        kinds_.insert(text, kind);
    }
    bool answer(const QString& text) {
        record(text, Kind::Question);
        if (answers.empty()) {
            return false;
        }
        const bool next = answers.front();
        answers.pop_front();
        return next;
    }
    std::optional<QString> choice(const QString& text) {
        record(text, Kind::Choice);
        const QString next = choices.empty() ? QString() : choices.front();
        if (!choices.empty()) {
            choices.pop_front();
        }
        return next.isEmpty() ? std::nullopt : std::optional<QString>(next);
    }

    QHash<QString, Kind> kinds_;
};
