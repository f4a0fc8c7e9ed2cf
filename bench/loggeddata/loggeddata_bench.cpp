// Decoding a full memory with the sort, the data XML file against pugixml alone building and
// walking the same document, and the CSV export, all with a full memory of samples.
#include "FullMemory.h"
#include "loggeddata/CsvExport.h"
#include "loggeddata/DataFiles.h"
#include "loggeddata/LoggedData.h"
#include "loggeddata/SampleTimeTexts.h"

#include <benchmark/benchmark.h>
#include <QLocale>
#include <QTemporaryDir>
#include <memory>
#include <pugixml.hpp>

namespace {

struct Fixture {
    QTemporaryDir folder;
    CommandList commands = fullMemoryCommands();
    std::unique_ptr<LoggedData> data = std::make_unique<LoggedData>();
    QString xml = folder.filePath(QStringLiteral("data.xml"));
    QString csv = folder.filePath(QStringLiteral("data.csv"));

    Fixture() {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        fillFullMemory(data->image);
        data->decode(commands);
        SampleTimeTexts texts;
        DataFiles::save(xml, data->samples, texts);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void DecodeFullImage(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        benchmark::DoNotOptimize(f.data->decode(f.commands));
    }
    state.counters["samples"] = f.data->samples.size();
}

void SaveDataFile(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        SampleTimeTexts texts;
        DataFiles::save(f.xml, f.data->samples, texts);
    }
}

// The same document built and saved by pugixml alone, the date texts made beforehand.
void SaveDataFilePugixmlAlone(benchmark::State& state) {
    Fixture& f = fixture();
    const SampleTable& table = f.data->samples;
    std::vector<std::string> dates;
    SampleTimeTexts texts;
    for (int i = 0; i < table.size(); ++i) {
        dates.push_back(texts.dateTime(table[i].date).toStdString());
    }
    const std::string path = f.folder.filePath(QStringLiteral("pugi.xml")).toStdString();
    for (auto _ : state) {
        pugi::xml_document document;
        pugi::xml_node root = document.append_child("RECORDS");
        char number[16];
        for (int i = 0; i < table.size(); ++i) {
            pugi::xml_node record = root.append_child("RECORD");
            record.append_child("DATE").text().set(dates[size_t(i)].c_str());
            std::snprintf(number, sizeof number, "%d", table[i].command);
            record.append_child("COMMAND").text().set(number);
            pugi::xml_node datas = record.append_child("DATAS");
            for (const uint16_t value : table.datas(i)) {
                std::snprintf(number, sizeof number, "%u", unsigned(value));
                datas.append_child("DATA").text().set(number);
            }
        }
        document.save_file(path.c_str(), "", pugi::format_raw);
    }
}

void LoadDataFile(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        SampleTimeTexts texts;
        benchmark::DoNotOptimize(f.data->loadDataFile(f.xml, texts));
    }
    state.counters["samples"] = f.data->samples.size();
}

// pugixml alone parsing the same file and reading every text, numbers converted.
void LoadDataFilePugixmlAlone(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string path = f.xml.toStdString();
    for (auto _ : state) {
        pugi::xml_document document;
        document.load_file(path.c_str());
        long long sum = 0;
        for (const pugi::xml_node record : document.child("RECORDS").children()) {
            sum += std::strlen(record.child("DATE").text().get());
            sum += record.child("COMMAND").text().as_int();
            for (const pugi::xml_node data : record.child("DATAS").children()) {
                sum += data.text().as_uint();
            }
        }
        benchmark::DoNotOptimize(sum);
    }
}

void ExportCsv(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        SampleTimeTexts texts;
        CsvExport::write(f.csv, f.data->samples, f.commands, DisplayBase::Decimal, texts);
    }
}

}  // namespace

BENCHMARK(DecodeFullImage)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveDataFilePugixmlAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadDataFilePugixmlAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
