// Reading a data file of 150,000 records: through our XML facade against pugixml alone on the
// same bytes, each walking every record and taking every text out.
#include "base/XmlDocument.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <pugixml.hpp>

namespace {

constexpr int Records = 150000;

const QByteArray& dataFile() {
    static const QByteArray bytes = [] {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<RECORDS>";
        for (int i = 0; i < Records; ++i) {
            text += "<RECORD><DATE>3/15/2011 2:30:45 PM</DATE><COMMAND>" +
                    QByteArray::number(i % 4) + "</COMMAND><DATAS><DATA>" +
                    QByteArray::number(i % 65536) + "</DATA><DATA>17</DATA></DATAS></RECORD>";
        }
        return text + "</RECORDS>";
    }();
    return bytes;
}

void PugixmlAlone(benchmark::State& state) {
    const QByteArray& bytes = dataFile();
    for (auto _ : state) {
        pugi::xml_document document;
        document.load_buffer(bytes.constData(), size_t(bytes.size()));
        size_t characters = 0;
        for (pugi::xml_node record : document.document_element().children()) {
            characters += std::strlen(record.child("DATE").child_value());
            characters += std::strlen(record.child("COMMAND").child_value());
            for (pugi::xml_node data : record.child("DATAS").children()) {
                characters += std::strlen(data.child_value());
            }
        }
        benchmark::DoNotOptimize(characters);
    }
}

void ThroughTheFacade(benchmark::State& state) {
    const QByteArray& bytes = dataFile();
    for (auto _ : state) {
        auto document = XmlDocument::create();
        document->loadBytes(bytes);
        qsizetype characters = 0;
        for (XmlElement record = document->documentElement().firstChild(); record;
             record = record.nextSibling()) {
            characters += record.childByName("DATE").text().size();
            characters += record.childByName("COMMAND").text().size();
            for (XmlElement data = record.childByName("DATAS").firstChild(); data;
                 data = data.nextSibling()) {
                characters += data.text().size();
            }
        }
        benchmark::DoNotOptimize(characters);
    }
}

BENCHMARK(PugixmlAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(ThroughTheFacade)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
