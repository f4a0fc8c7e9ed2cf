// A data file from another machine or an old version: any bytes load or fail cleanly, and what
// loaded saves and loads again as the same samples.
#include "FuzzFiles.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"

#include <QLocale>
#include <algorithm>

namespace {

bool sameSamples(const SampleTable& a, const SampleTable& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int i = 0; i < a.size(); ++i) {
        if (a[i].date != b[i].date || a[i].command != b[i].command ||
            !std::ranges::equal(a.datas(i), b.datas(i))) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SampleTable loaded;
    static SampleTable reloaded;
    // Built once: it prepares the texts of every second of a day.
    static SampleTimeTexts texts;
    const QString path = writeFuzzFile(QStringLiteral("data.xml"), fuzzBytes(data, size));
    if (!DataFiles::load(path, loaded, texts)) {
        return 0;
    }
    const QString copy = QDir(fuzzFolder()).filePath(QStringLiteral("copy.xml"));
    FUZZ_CHECK(DataFiles::save(copy, loaded, texts) == DataFiles::SaveResult::Saved);
    FUZZ_CHECK(DataFiles::load(copy, reloaded, texts));
    FUZZ_CHECK(sameSamples(loaded, reloaded));
    return 0;
}
