#pragma once

#include <QMap>
#include <QSet>
#include <QStringList>
#include <optional>

class CliPrompts;

// A subcommand's arguments sorted into positional ones, options with a value ("--out FILE")
// and flags ("--all").
struct CliOptions {
    QStringList positional;
    QMap<QString, QString> values;
    QSet<QString> flags;

    QString value(const QString& name) const { return values.value(name); }
    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
};

// Nothing, after printing the usage, when an option is unknown, lacks its value, or the number
// of positional arguments is not `positionalCount`.
std::optional<CliOptions> parseCliOptions(const QStringList& arguments, int positionalCount,
                                          const QStringList& valued, const QStringList& flags,
                                          const QString& usage, CliPrompts& prompts);
