// The XML facade reads project and data files from other machines: any bytes must load or fail
// cleanly, and a document that loaded must save to bytes that load again.
#include "FuzzFiles.h"
#include "base/XmlDocument.h"
#include "base/XmlEncoding.h"

#include <vector>

namespace {

// Visits every node, without recursion, touching each read operation of the facade.
void walk(const XmlElement& root) {
    std::vector<XmlElement> pending{root};
    for (int budget = 20000; !pending.empty() && budget > 0; --budget) {
        const XmlElement element = pending.back();
        pending.pop_back();
        (void)element.name();
        (void)element.attribute(QStringLiteral("dataaddress"));
        (void)element.plainText();
        (void)element.childByName("DATE");
        if (budget % 64 == 0) {
            (void)element.text();
            (void)element.childCount();
        }
        for (XmlElement child = element.firstChild(); child; child = child.nextSibling()) {
            pending.push_back(child);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    (void)XmlEncoding::toUtf8(bytes);

    auto document = XmlDocument::create();
    FUZZ_CHECK(document != nullptr);
    if (!document->loadBytes(bytes)) {
        FUZZ_CHECK(document->documentElement().isNull());
        return 0;
    }
    walk(document->documentElement());

    const QByteArray saved = document->toBytes();
    auto reread = XmlDocument::create();
    FUZZ_CHECK(reread->loadBytes(saved));
    FUZZ_CHECK(reread->toBytes() == saved);
    return 0;
}
