#include "CliOptions.h"

#include "CliPrompts.h"

std::optional<CliOptions> parseCliOptions(const QStringList& arguments, int positionalCount,
                                          const QStringList& valued, const QStringList& flags,
                                          const QString& usage, CliPrompts& prompts) {
    CliOptions options;
    bool wrong = false;
    for (qsizetype i = 0; i < arguments.size() && !wrong; ++i) {
        const QString& argument = arguments[i];
        if (valued.contains(argument)) {
            wrong = i + 1 >= arguments.size();
            if (!wrong) {
                options.values.insert(argument, arguments[++i]);
            }
        } else if (flags.contains(argument)) {
            options.flags.insert(argument);
        } else if (argument.startsWith(QStringLiteral("--"))) {
            wrong = true;
        } else {
            options.positional << argument;
        }
    }
    if (wrong || options.positional.size() != positionalCount) {
        prompts.inform(QStringLiteral("usage: dlmcli ") + usage);
        return std::nullopt;
    }
    return options;
}
