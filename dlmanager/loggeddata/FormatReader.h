#pragma once

#include <QLocale>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

// Reads texts written with one Qt date or time format straight from UTF-8 bytes, for bulk data
// where QLocale's parser costs more than all the rest. It knows the fields data files use
// (numeric day, month, year, hour, minute, second, month names, AM/PM) and declines formats with
// other fields; a text it cannot read is left to QLocale, which has the last word.
class FormatReader {
public:
    struct Fields {
        int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    };

    FormatReader(const QString& format, const QLocale& locale);

    bool usable() const { return usable_; }
    // Reads the format's fields from the front of `text` and moves past them; false when the
    // text does not follow the format (nothing is then promised about `fields`).
    bool read(std::string_view& text, Fields& fields) const;

private:
    enum class Kind {
        Literal,
        Day,
        Month,
        MonthName,
        Year2,
        Year4,
        Hour,
        Hour12,
        Minute,
        Second,
        AmPm
    };
    struct Token {
        Kind kind;
        int width = 0;        // digits: 1 = one or two, 2 = exactly two, 4 = four
        std::string literal;  // Literal only
    };

    bool readToken(const Token& token, std::string_view& text, Fields& fields, int& pm) const;

    bool usable_ = true;
    std::vector<Token> tokens_;
    std::vector<std::string> monthNames_;  // 12, for MonthName
    std::string amText_;
    std::string pmText_;
};
