#include "firmware/ConfigBankBuilder.h"

#include "base/FolderLookup.h"
#include "base/Numbers.h"
#include "base/Prompts.h"
#include "base/XmlDocument.h"
#include "firmware/BankNumber.h"
#include "projects/ProjectFiles.h"

#include <memory>
#include <optional>

namespace {

using namespace ConfigBankLayout;

using ProjectFiles::CommandsFile;
using ProjectFiles::OptionsFile;
using ProjectFiles::SerialFile;

void putBe16(BankImage& bank, int offset, uint16_t value) {
    bank[offset] = static_cast<uint8_t>(value >> 8);
    bank[offset + 1] = static_cast<uint8_t>(value & 0xFF);
}

// Loads the named file of the folder when it exists; nothing when it is missing, an error
// (shown) when it does not parse.
enum class Load { Missing, Loaded, Failed };
Load loadProjectFile(XmlDocument& document, const QString& folder, const QString& name,
                     Prompts& prompts) {
    if (!fileExistsInFolder(folder, name)) {
        return Load::Missing;
    }
    if (!document.load(pathInFolder(folder, name))) {
        prompts.warn(QStringLiteral("Error loading file %1").arg(name));
        return Load::Failed;
    }
    return Load::Loaded;
}

std::unique_ptr<XmlDocument> createParser(Prompts& prompts) {
    std::unique_ptr<XmlDocument> document = XmlDocument::create();
    if (!document) {
        prompts.warn(QStringLiteral("Error XML parser not installed"));
    }
    return document;
}

// Packs the rows of cmdmb.xml from offset 0; nothing when the build must be abandoned.
std::optional<int> packCommands(const XmlElement& root, BankImage& bank, Prompts& prompts) {
    int count = 0;
    int row = 0;
    for (XmlElement element = root.firstChild(); element; element = element.nextSibling(), ++row) {
        const std::optional<QString> conf = element.attribute(QStringLiteral("conf"));
        if (conf && conf->isEmpty()) {
            continue;
        }
        if (count == MaxEntries) {
            prompts.warn(QStringLiteral("Too many commands for the configuration bank"));
            return std::nullopt;
        }
        const int offset = count * EntrySize;
        const std::optional<QString> address = element.attribute(QStringLiteral("dataaddress"));
        if (!address) {
            prompts.warn(
                QStringLiteral("Error in file cmdmb.xml: row %1 has no dataaddress").arg(row + 1));
            return std::nullopt;
        }
        putBe16(bank, offset, bankNumber(*address, prompts));
        const std::optional<QString> points = element.attribute(QStringLiteral("npoint"));
        if (!points) {
            prompts.warn(
                QStringLiteral("Error in file cmdmb.xml: row %1 has no npoint").arg(row + 1));
            return std::nullopt;
        }
        bank[offset + 2] = static_cast<uint8_t>(bankNumber(*points, prompts));
        ++count;
    }
    return count;
}

// The option byte of a DipCmd.xml child: the low byte of its integer text.
std::optional<uint8_t> optionByte(const XmlElement& element) {
    if (!element) {
        return std::nullopt;
    }
    const std::optional<long long> value = parseDecimal(element.text());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(*value);
}

}  // namespace

BankBuildResult buildConfigBank(const QString& projectFolder, BankImages& banks, Prompts& prompts) {
    banks = BankImages{};
    BankImage& bank = banks.ConfigBank();

    std::unique_ptr<XmlDocument> commands = createParser(prompts);
    if (!commands) {
        return BankBuildResult::Abandoned;
    }
    int count = 0;
    switch (loadProjectFile(*commands, projectFolder, CommandsFile, prompts)) {
        case Load::Missing:
            prompts.warn(QStringLiteral("File cmdmb.xml not found"));
            break;
        case Load::Failed:
            return BankBuildResult::Abandoned;
        case Load::Loaded: {
            const std::optional<int> packed =
                packCommands(commands->documentElement(), bank, prompts);
            if (!packed) {
                return BankBuildResult::Abandoned;
            }
            count = *packed;
            break;
        }
    }

    std::unique_ptr<XmlDocument> parameters = createParser(prompts);
    if (!parameters) {
        return BankBuildResult::Abandoned;
    }
    switch (loadProjectFile(*parameters, projectFolder, SerialFile, prompts)) {
        case Load::Missing:
            prompts.warn(QStringLiteral("File pargen.xml not found"));
            return BankBuildResult::Built;
        case Load::Failed:
            return BankBuildResult::Abandoned;
        case Load::Loaded:
            break;
    }
    // A logger programmed with a baud code, parity or address it does not know loses its
    // RS-485 link, so these are packed only when each is there and in its range.
    const auto serial = ProjectFiles::serialValueElements(parameters->documentElement());
    for (int i = 0; i < 3; ++i) {
        if (const auto problem = ProjectFiles::serialValueProblem(serial[i], i, true)) {
            prompts.warn(QStringLiteral("Error in file pargen.xml: %1").arg(*problem));
            return BankBuildResult::Abandoned;
        }
        bank[BaudCode + i] = static_cast<uint8_t>(*ProjectFiles::serialValue(serial[i]));
    }
    putBe16(bank, EntryCount, static_cast<uint16_t>(count));

    switch (loadProjectFile(*parameters, projectFolder, OptionsFile, prompts)) {
        case Load::Missing:
            bank[StartStop] = 0;
            bank[CyclicalMemory] = 0;
            return BankBuildResult::Built;
        case Load::Failed:
            return BankBuildResult::Abandoned;
        case Load::Loaded:
            break;
    }
    const XmlElement options = parameters->documentElement();
    const std::optional<uint8_t> startStop = optionByte(options.child(0));
    if (!startStop) {
        prompts.warn(QStringLiteral("Error in file DipCmd.xml: no valid Start_Stop option"));
        return BankBuildResult::Abandoned;
    }
    bank[StartStop] = *startStop;
    bank[CyclicalMemory] = optionByte(options.child(1)).value_or(0);
    return BankBuildResult::Built;
}
