#include "loggeddata/FormatReader.h"

#include <QDate>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0x7F) {
            return false;
        }
    }
    return true;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool readNumber(std::string_view& text, int width, int& value) {
    const size_t most = width == 1 ? 2 : size_t(width);
    size_t digits = 0;
    while (digits < most && digits < text.size() && isDigit(text[digits])) {
        ++digits;
    }
    if (digits == 0 || (width != 1 && digits != size_t(width))) {
        return false;
    }
    value = 0;
    for (size_t i = 0; i < digits; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(digits);
    return true;
}

}  // namespace

FormatReader::FormatReader(const QString& format, const QLocale& locale) {
    bool hasAmPm = false;
    qsizetype i = 0;
    const auto literal = [this](const QString& text) {
        if (!isAscii(text)) {
            usable_ = false;
            return;
        }
        if (!tokens_.empty() && tokens_.back().kind == Kind::Literal) {
            tokens_.back().literal += text.toStdString();
        } else {
            tokens_.push_back({Kind::Literal, 0, text.toStdString()});
        }
    };
    while (i < format.size() && usable_) {
        const QChar c = format[i];
        if (c == u'\'') {
            const qsizetype end = format.indexOf(u'\'', i + 1);
            const QString quoted = end < 0 ? format.mid(i + 1) : format.mid(i + 1, end - i - 1);
            literal(quoted.isEmpty() && end == i + 1 ? QStringLiteral("'") : quoted);
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c) {
            ++run;
        }
        const char letter = c.unicode() < 0x80 ? char(c.unicode()) : '\0';
        const int width = run == 1 ? 1 : int(run);
        switch (letter) {
            case 'd':
                usable_ = run <= 2;
                tokens_.push_back({Kind::Day, width, {}});
                break;
            case 'M':
                usable_ = run <= 4;
                tokens_.push_back(
                    {run <= 2 ? Kind::Month : Kind::MonthName, run <= 2 ? width : int(run), {}});
                break;
            case 'y':
                usable_ = run == 2 || run == 4;
                tokens_.push_back({run == 2 ? Kind::Year2 : Kind::Year4, width, {}});
                break;
            case 'h':
            case 'H':
                usable_ = run <= 2;
                tokens_.push_back({letter == 'h' ? Kind::Hour12 : Kind::Hour, width, {}});
                break;
            case 'm':
                usable_ = run <= 2;
                tokens_.push_back({Kind::Minute, width, {}});
                break;
            case 's':
                usable_ = run <= 2;
                tokens_.push_back({Kind::Second, width, {}});
                break;
            case 'a':
            case 'A':
                // "AP" and "ap" are one field, as is a lone "a" or "A".
                if (i + 1 < format.size() && (format[i + 1] == u'p' || format[i + 1] == u'P')) {
                    run = 2;
                }
                hasAmPm = true;
                tokens_.push_back({Kind::AmPm, 0, {}});
                break;
            case 'z':
            case 't':
            case 'g':
                usable_ = false;
                break;
            default:
                literal(format.mid(i, run));
                break;
        }
        i += run;
    }
    // Two numeric fields side by side cannot be told apart without widths; leave them to Qt.
    for (size_t t = 1; t < tokens_.size() && usable_; ++t) {
        const auto numeric = [](const Token& token) {
            return token.kind != Kind::Literal && token.kind != Kind::MonthName &&
                   token.kind != Kind::AmPm;
        };
        if (numeric(tokens_[t - 1]) && numeric(tokens_[t]) && tokens_[t - 1].width == 1) {
            usable_ = false;
        }
    }
    for (Token& token : tokens_) {
        // Without AM/PM, "h" is the hour of the day as "H" is.
        if (token.kind == Kind::Hour12 && !hasAmPm) {
            token.kind = Kind::Hour;
        }
        if (token.kind == Kind::Hour && hasAmPm) {
            usable_ = false;
        }
        if (token.kind == Kind::MonthName) {
            for (int month = 1; month <= 12; ++month) {
                const QString name = locale.monthName(
                    month, token.width == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
                usable_ = usable_ && isAscii(name) && !name.isEmpty();
                monthNames_.push_back(name.toStdString());
            }
        }
    }
    if (hasAmPm) {
        usable_ = usable_ && isAscii(locale.amText()) && isAscii(locale.pmText()) &&
                  !locale.amText().isEmpty();
        amText_ = locale.amText().toStdString();
        pmText_ = locale.pmText().toStdString();
    }
}

bool FormatReader::readToken(const Token& token, std::string_view& text, Fields& fields,
                             int& pm) const {
    switch (token.kind) {
        case Kind::Literal:
            if (!text.starts_with(token.literal)) {
                return false;
            }
            text.remove_prefix(token.literal.size());
            return true;
        case Kind::Day:
            return readNumber(text, token.width, fields.day);
        case Kind::Month:
            return readNumber(text, token.width, fields.month);
        case Kind::MonthName:
            for (size_t m = 0; m < monthNames_.size(); ++m) {
                if (text.starts_with(monthNames_[m])) {
                    fields.month = int(m) + 1;
                    text.remove_prefix(monthNames_[m].size());
                    return true;
                }
            }
            return false;
        case Kind::Year2:
            if (!readNumber(text, 2, fields.year)) {
                return false;
            }
            fields.year += 2000;
            return true;
        case Kind::Year4:
            return readNumber(text, 4, fields.year);
        case Kind::Hour:
        case Kind::Hour12:
            return readNumber(text, token.width, fields.hour);
        case Kind::Minute:
            return readNumber(text, token.width, fields.minute);
        case Kind::Second:
            return readNumber(text, token.width, fields.second);
        case Kind::AmPm:
            for (const auto& [marker, isPm] : {std::pair(&amText_, 0), std::pair(&pmText_, 1)}) {
                if (text.size() >= marker->size() &&
                    equalsIgnoringCase(text.substr(0, marker->size()), *marker)) {
                    pm = isPm;
                    text.remove_prefix(marker->size());
                    return true;
                }
            }
            return false;
    }
    return false;
}

bool FormatReader::read(std::string_view& text, Fields& fields) const {
    if (!usable_) {
        return false;
    }
    int pm = -1;
    bool twelveHour = false;
    for (const Token& token : tokens_) {
        if (!readToken(token, text, fields, pm)) {
            return false;
        }
        twelveHour = twelveHour || token.kind == Kind::Hour12;
    }
    if (twelveHour) {
        if (fields.hour < 1 || fields.hour > 12 || pm < 0) {
            return false;
        }
        fields.hour = fields.hour % 12 + (pm == 1 ? 12 : 0);
    }
    return QDate::isValid(fields.year, fields.month, fields.day) && fields.hour < 24 &&
           fields.minute < 60 && fields.second < 60;
}
