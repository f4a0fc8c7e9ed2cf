#include "base/LocaleCodeSet.h"

#include <iconv.h>
#include <langinfo.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool writesUtf8(const char* codeSet) {
    return codeSet == nullptr || std::strcmp(codeSet, "UTF-8") == 0 ||
           std::strcmp(codeSet, "utf8") == 0 || std::strcmp(codeSet, "ANSI_X3.4-1968") == 0;
}

// Bytes of the UTF-8 sequence that starts with `lead`.
size_t sequenceLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

LocaleEncoder::LocaleEncoder() : LocaleEncoder(::nl_langinfo(CODESET)) {}

LocaleEncoder::LocaleEncoder(const char* codeSet) {
    if (writesUtf8(codeSet)) {
        return;
    }
    const iconv_t converter = ::iconv_open(codeSet, "UTF-8");
    if (converter != iconv_t(-1)) {
        converter_ = converter;
    }
}

LocaleEncoder::~LocaleEncoder() {
    if (converter_) {
        ::iconv_close(iconv_t(converter_));
    }
}

void LocaleEncoder::append(QByteArray& out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (!converter_) {
        out += utf8;
        return;
    }
    const iconv_t converter = iconv_t(converter_);
    char* in = const_cast<char*>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    qsizetype at = out.size();
    // Single-byte code sets need a byte per character; multi-byte ones get room as they go.
    out.resize(at + utf8.size() + 16);
    const auto convert = [&](char** from, size_t* fromLeft) {
        for (;;) {
            char* to = out.data() + at;
            size_t outLeft = size_t(out.size() - at);
            const size_t done = ::iconv(converter, from, fromLeft, &to, &outLeft);
            at = to - out.data();
            if (done != size_t(-1) || errno != E2BIG) {
                return done != size_t(-1);
            }
            out.resize(out.size() * 2 + 16);
        }
    };
    while (inLeft > 0) {
        if (convert(&in, &inLeft)) {
            continue;
        }
        // A character the code set does not have, or a sequence it cannot end.
        const size_t skip = std::min(sequenceLength(static_cast<unsigned char>(*in)), inLeft);
        in += skip;
        inLeft -= skip;
        if (at == out.size()) {
            out.resize(out.size() * 2 + 16);
        }
        out[at++] = '?';
    }
    convert(nullptr, nullptr);  // back to the initial shift state
    out.truncate(at);
}
