#pragma once

#include "shell/Prompts.h"

#include <QStringList>

// Records every message; questions and choosers are never expected here.
class RecordingPrompts final : public Prompts {
public:
    QStringList messages;

    void inform(const QString& text) override { messages << text; }
    bool askYesNo(const QString& text) override {
        messages << text;
        return false;
    }
    bool askOkCancel(const QString& text) override {
        messages << text;
        return false;
    }
    std::optional<QString> chooseFolder(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> chooseSaveFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};
