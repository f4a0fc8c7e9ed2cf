#include "projects/ProjectFiles.h"

#include "base/FolderLookup.h"
#include "base/Numbers.h"
#include "base/Prompts.h"
#include "base/WholeFile.h"
#include "base/XmlDocument.h"

namespace ProjectFiles {

namespace {

std::optional<long long> integerAttribute(const XmlElement& element, const char* name) {
    const std::optional<QString> text = element.attribute(QString::fromLatin1(name));
    return text ? parseDecimal(*text) : std::nullopt;
}

std::optional<long long> integerText(const XmlElement& element) {
    return element ? parseDecimal(element.text()) : std::nullopt;
}

// Fills the command from the row's attributes in file order; false at the first failure, with
// the fields before it already set.
bool readCommand(const XmlElement& row, Comandi& command) {
    const auto address = integerAttribute(row, "dataaddress");
    if (!address) {
        return false;
    }
    command.DataAddress = static_cast<uint16_t>(*address & 0xFFFF);
    const auto points = integerAttribute(row, "npoint");
    if (!points) {
        return false;
    }
    command.PointCount = static_cast<uint8_t>(*points & 0xFF);
    const auto decimals = integerAttribute(row, "scale");
    if (!decimals) {
        return false;
    }
    command.Decimals = static_cast<uint8_t>(*decimals & 0xFF);
    const auto unit = row.attribute(QStringLiteral("unita"));
    if (!unit) {
        return false;
    }
    command.Unit = *unit;
    const auto description = row.attribute(QStringLiteral("description"));
    if (!description) {
        return false;
    }
    command.Description = *description;
    return true;
}

SaveResult saveDocument(XmlDocument& document, XmlElement root, const QString& projectFolder,
                        const QString& fileName, QString* failure) {
    document.setDocumentElement(root);
    const QString path = pathInFolder(projectFolder, fileName);
    QString reason;
    if (!document.save(path, &reason)) {
        if (failure) {
            *failure = writeFailureText(path, reason);
        }
        return SaveResult::WriteFailed;
    }
    removeCaseTwins(path);
    return SaveResult::Saved;
}

const char* const RowAttributes[CommandFieldCount] = {"dataaddress", "npoint", "scale", "unita",
                                                      "description"};

XmlElement textElement(XmlDocument& document, const char* name, long long value) {
    XmlElement element = document.createElement(QString::fromLatin1(name));
    element.setText(decimalText(value));
    return element;
}

}  // namespace

bool savedOrReported(SaveResult result, const QString& failure, Prompts& prompts) {
    if (result != SaveResult::Saved) {
        prompts.warn(result == SaveResult::ParserMissing ? ParserMissingText : failure);
    }
    return result == SaveResult::Saved;
}

CommandList loadCommandList(const QString& projectFolder) {
    CommandList commands;
    const auto document = XmlDocument::create();
    if (!document || !fileExistsInFolder(projectFolder, CommandsFile)) {
        return commands;
    }
    if (!document->load(pathInFolder(projectFolder, CommandsFile))) {
        return commands;
    }
    for (XmlElement row = document->documentElement().firstChild(); row; row = row.nextSibling()) {
        Comandi& command = commands.emplace_back();
        command.Visible = 1;
        if (!readCommand(row, command)) {
            break;  // a damaged file keeps what was read before the damage
        }
    }
    return commands;
}

std::optional<CommandRows> loadCommandRows(const QString& projectFolder) {
    CommandRows rows;
    if (!fileExistsInFolder(projectFolder, CommandsFile)) {
        return rows;
    }
    const auto document = XmlDocument::create();
    if (!document || !document->load(pathInFolder(projectFolder, CommandsFile))) {
        return std::nullopt;
    }
    for (XmlElement row = document->documentElement().firstChild(); row; row = row.nextSibling()) {
        CommandRowTexts& texts = rows.emplace_back();
        for (int field = 0; field < CommandFieldCount; ++field) {
            texts[field] = row.attribute(QString::fromLatin1(RowAttributes[field])).value_or("");
        }
    }
    return rows;
}

SaveResult saveCommandRows(const QString& projectFolder, const CommandRows& rows,
                           QString* failure) {
    const auto document = XmlDocument::create();
    if (!document) {
        return SaveResult::ParserMissing;
    }
    XmlElement root = document->createElement(QStringLiteral("cmdmb"));
    for (const CommandRowTexts& texts : rows) {
        XmlElement row = document->createElement(QStringLiteral("row"));
        for (int field = 0; field < CommandFieldCount; ++field) {
            row.setAttribute(QString::fromLatin1(RowAttributes[field]), texts[field]);
        }
        root.appendChild(row);
    }
    return saveDocument(*document, root, projectFolder, CommandsFile, failure);
}

SaveResult saveCommandList(const QString& projectFolder, const CommandList& commands,
                           QString* failure) {
    CommandRows rows;
    rows.reserve(commands.size());
    for (const Comandi& command : commands) {
        rows.push_back(textsOf(command));
    }
    return saveCommandRows(projectFolder, rows, failure);
}

SaveResult saveSerialParameters(const QString& projectFolder, const SerialParameters& parameters,
                                QString* failure) {
    const auto document = XmlDocument::create();
    if (!document) {
        return SaveResult::ParserMissing;
    }
    XmlElement root = document->createElement(QStringLiteral("GenericParameter"));
    root.appendChild(textElement(*document, "baudmodbus", parameters.baudCode));
    root.appendChild(textElement(*document, "parity", parameters.parityCode));
    root.appendChild(textElement(*document, "id_dev", parameters.deviceId));
    return saveDocument(*document, root, projectFolder, QStringLiteral("Pargen.xml"), failure);
}

SaveResult saveReadBackSerialRegisters(const QString& projectFolder,
                                       const std::array<int, 3>& registers110To112,
                                       QString* failure) {
    const auto document = XmlDocument::create();
    if (!document) {
        return SaveResult::ParserMissing;
    }
    XmlElement root = document->createElement(QStringLiteral("GenericParameter"));
    root.appendChild(textElement(*document, "timeoutmb", registers110To112[0]));
    root.appendChild(textElement(*document, "baudmodbus", registers110To112[1]));
    root.appendChild(textElement(*document, "parity", registers110To112[2]));
    return saveDocument(*document, root, projectFolder, QStringLiteral("ParGen.Xml"), failure);
}

std::array<XmlElement, 3> serialValueElements(const XmlElement& root) {
    std::array<XmlElement, 3> byName;
    bool named = false;
    for (size_t i = 0; i < byName.size(); ++i) {
        byName[i] = root.childByName(SerialValues[i].element);
        named = named || byName[i];
    }
    if (named) {
        return byName;
    }
    return {root.child(0), root.child(1), root.child(2)};
}

std::optional<long long> serialValue(const XmlElement& element) {
    return element ? parseDecimal(element.text().trimmed()) : std::nullopt;
}

std::optional<QString> serialValueProblem(const XmlElement& element, int index, bool checkRange) {
    const SerialValue& what = SerialValues[index];
    const QString name =
        QStringLiteral("%1 (%2)").arg(QLatin1String(what.label), QLatin1String(what.element));
    if (!element || element.text().trimmed().isEmpty()) {
        return QStringLiteral("no %1").arg(name);
    }
    const std::optional<long long> value = serialValue(element);
    if (!value) {
        return QStringLiteral("the %1 \"%2\" is not a number").arg(name, element.text());
    }
    if (checkRange && (*value < 0 || *value > what.maximum)) {
        return QStringLiteral("the %1 %2 is outside 0..%3").arg(name).arg(*value).arg(what.maximum);
    }
    return std::nullopt;
}

std::optional<SerialParameters> loadSerialParameters(const QString& projectFolder) {
    const auto document = XmlDocument::create();
    if (!document || !fileExistsInFolder(projectFolder, SerialFile) ||
        !document->load(pathInFolder(projectFolder, SerialFile))) {
        return std::nullopt;
    }
    const auto [baudElement, parityElement, deviceElement] =
        serialValueElements(document->documentElement());
    const auto baud = serialValue(baudElement);
    const auto parity = serialValue(parityElement);
    const auto device = serialValue(deviceElement);
    if (!baud || !parity || !device) {
        return std::nullopt;
    }
    return SerialParameters{static_cast<int>(*baud), static_cast<int>(*parity),
                            static_cast<int>(*device)};
}

SaveResult saveStartStopOptions(const QString& projectFolder, const StartStopOptions& options,
                                QString* failure) {
    const auto document = XmlDocument::create();
    if (!document) {
        return SaveResult::ParserMissing;
    }
    XmlElement root = document->createElement(QStringLiteral("Dip-Switch"));
    root.appendChild(textElement(*document, "Start_Stop", options.startStopWithDipSwitch ? 1 : 0));
    root.appendChild(textElement(*document, "Cyclical_mem", options.cyclicalMemory ? 1 : 0));
    return saveDocument(*document, root, projectFolder, OptionsFile, failure);
}

std::optional<StoredStartStopOptions> loadStartStopOptions(const QString& projectFolder) {
    if (!fileExistsInFolder(projectFolder, OptionsFile)) {
        return std::nullopt;
    }
    StoredStartStopOptions stored;
    const auto document = XmlDocument::create();
    if (!document || !document->load(pathInFolder(projectFolder, OptionsFile))) {
        return stored;
    }
    const XmlElement root = document->documentElement();
    const auto startStop = integerText(root.childByName(QStringLiteral("Start_Stop")));
    if (!startStop) {
        return stored;
    }
    stored.startStopWithDipSwitch = *startStop == 1;
    if (const auto cyclical = integerText(root.childByName(QStringLiteral("Cyclical_mem")))) {
        stored.cyclicalMemory = *cyclical == 1;
    }
    return stored;
}

}  // namespace ProjectFiles

CommandRowTexts textsOf(const Comandi& command) {
    return {decimalText(command.DataAddress), decimalText(command.PointCount),
            decimalText(command.Decimals), command.Unit, command.Description};
}
