#include "CliPrompts.h"

#include <cstdio>

namespace {

void printLine(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

}  // namespace

void CliPrompts::inform(const QString& text) {
    ++messages_;
    printLine(text);
}

void CliPrompts::informWithDetail(const QString& text, const QString& detail) {
    inform(text);
    printLine(detail);
}

void CliPrompts::warn(const QString& text) {
    inform(text);
}

void CliPrompts::warnWithDetail(const QString& text, const QString& detail) {
    informWithDetail(text, detail);
}

bool CliPrompts::askYesNo(const QString& text) {
    printLine(text + QStringLiteral(" [answered No]"));
    return false;
}

bool CliPrompts::askOkCancel(const QString& text) {
    printLine(text + QStringLiteral(" [answered Cancel]"));
    return false;
}

Prompts::Answer CliPrompts::askYesNoCancel(const QString& text) {
    printLine(text + QStringLiteral(" [answered Cancel]"));
    return Answer::Cancel;
}

std::optional<QString> CliPrompts::chooseFolder(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> CliPrompts::chooseOpenFile(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<QString> CliPrompts::chooseSaveFile(const QString&, const QString&, const QString&) {
    return std::nullopt;
}
