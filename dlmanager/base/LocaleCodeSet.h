#pragma once

#include <QByteArray>
#include <QString>

// Text in the code set of the user's locale (LC_CTYPE), for 8-bit files that other programs on
// the machine read the way the locale says, such as ISO-8859-15 under de_DE@euro. Characters the
// code set cannot hold become '?'. A locale without a code set of its own (C, POSIX) writes
// UTF-8, as the program runs with C.UTF-8 there.
class LocaleEncoder {
public:
    LocaleEncoder();
    // A code set by its name, as iconv knows it; UTF-8 when iconv does not.
    explicit LocaleEncoder(const char* codeSet);
    ~LocaleEncoder();
    LocaleEncoder(const LocaleEncoder&) = delete;
    LocaleEncoder& operator=(const LocaleEncoder&) = delete;

    void append(QByteArray& out, const QString& text);

private:
    void* converter_ = nullptr;  // an iconv_t; none for UTF-8
};
