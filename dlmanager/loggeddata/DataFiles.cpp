#include "loggeddata/DataFiles.h"

#include "base/Numbers.h"
#include "base/WholeFile.h"
#include "base/XmlDocument.h"
#include "loggeddata/SampleTable.h"
#include "loggeddata/SampleTimeTexts.h"
#include "projects/Comandi.h"

#include <QFileInfo>
#include <QStringList>
#include <vector>

namespace {

const QString Records = QStringLiteral("RECORDS");
const QString Record = QStringLiteral("RECORD");
const QString Date = QStringLiteral("DATE");
const QString Command = QStringLiteral("COMMAND");
const QString Datas = QStringLiteral("DATAS");
const QString Data = QStringLiteral("DATA");

// Reads the element's text from its bytes when it is plain text, else through text().
template <typename FromBytes, typename FromText>
auto readText(const XmlElement& element, FromBytes fromBytes, FromText fromText) {
    if (const auto bytes = element.plainText()) {
        return fromBytes(*bytes);
    }
    return fromText(element.text());
}

std::optional<long long> readNumber(const XmlElement& element) {
    return readText(element, parseDecimalBytes,
                    [](const QString& text) { return parseDecimal(text); });
}

bool readRecord(const XmlElement& record, SampleTable& into, SampleTimeTexts& texts,
                std::vector<uint16_t>& values) {
    const XmlElement date = record.childByName("DATE");
    const XmlElement command = record.childByName("COMMAND");
    const XmlElement datas = record.childByName("DATAS");
    if (!date || !command || !datas) {
        return false;
    }
    const auto stamp = readText(
        date, [&texts](std::string_view bytes) { return texts.parseDateTimeBytes(bytes); },
        [&texts](const QString& text) { return texts.parseDateTime(text); });
    const auto number = readNumber(command);
    if (!stamp || !number || *number < INT32_MIN || *number > INT32_MAX) {
        return false;
    }
    values.clear();
    for (XmlElement data = datas.firstChild(); data; data = data.nextSibling()) {
        const auto value = readNumber(data);
        if (!value || values.size() == size_t(MaxPointCount)) {
            return false;
        }
        values.push_back(static_cast<uint16_t>(*value & 0xFFFF));  // the low 16 bits are the value
    }
    return into.append(*stamp, static_cast<int32_t>(*number), values);
}

}  // namespace

namespace DataFiles {

bool isProjectFileName(const QString& path) {
    static const QStringList projectFiles = {
        QStringLiteral("CMDMB.XML"), QStringLiteral("PARGEN.XML"), QStringLiteral("DIPCMD.XML"),
        QStringLiteral("TABGRP.XML")};
    const QFileInfo file(path);
    return projectFiles.contains(file.fileName(), Qt::CaseInsensitive) ||
           (file.isSymLink() &&
            projectFiles.contains(QFileInfo(file.symLinkTarget()).fileName(), Qt::CaseInsensitive));
}

std::optional<QByteArray> build(const SampleTable& table, SampleTimeTexts& texts) {
    const auto document = XmlDocument::create();
    if (!document) {
        return std::nullopt;
    }
    document->setDocumentElement(document->createElement(Records));
    XmlElement root = document->documentElement();
    for (int i = 0; i <= table.LastSampleIndex(); ++i) {
        XmlElement record = root.appendChild(Record);
        record.appendChild(Date).setText(texts.dateTime(table[i].date));
        record.appendChild(Command).setText(decimalText(table[i].command));
        XmlElement datas = record.appendChild(Datas);
        for (const uint16_t value : table.datas(i)) {
            datas.appendChild(Data).setText(decimalText(value));
        }
    }
    return document->toBytes();
}

SaveResult save(const QString& path, const SampleTable& table, SampleTimeTexts& texts,
                QString* failure) {
    const std::optional<QByteArray> bytes = build(table, texts);
    if (!bytes) {
        return SaveResult::ParserMissing;
    }
    QString reason;
    if (!writeFileWhole(path, *bytes, &reason)) {
        if (failure) {
            *failure = writeFailureText(path, reason);
        }
        return SaveResult::WriteFailed;
    }
    return SaveResult::Saved;
}

bool load(const QString& path, SampleTable& into, SampleTimeTexts& texts, QString* readFailure) {
    into.clear();
    const auto document = XmlDocument::create();
    if (!document || !document->load(path, MaxFileBytes, readFailure)) {
        return false;
    }
    const XmlElement root = document->documentElement();
    if (root.name() != Records) {
        return false;
    }
    std::vector<uint16_t> values;
    for (XmlElement record = root.firstChild(); record; record = record.nextSibling()) {
        if (!readRecord(record, into, texts, values)) {
            return false;
        }
    }
    return true;
}

}  // namespace DataFiles
