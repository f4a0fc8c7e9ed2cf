#include "projects/CommSettings.h"

#include "projects/ProjectFiles.h"
#include "shell/FolderLookup.h"
#include "shell/Numbers.h"
#include "shell/Prompts.h"
#include "shell/XmlDocument.h"

#include <algorithm>
#include <functional>

namespace {

std::optional<long long> childNumber(const XmlElement& root, int position) {
    const XmlElement child = root.child(position);
    return child ? parseDecimal(child.text()) : std::nullopt;
}

int listPosition(long long value, qsizetype size) {
    return value >= 0 && value < size ? static_cast<int>(value) : -1;
}

}  // namespace

void loadCommFields(const QString& projectFolder, CommFields& fields, Prompts& prompts) {
    const auto document = XmlDocument::create();
    if (!document) {
        prompts.inform(ProjectFiles::ParserMissingText);
    }
    if (!existsInFolder(projectFolder, ProjectFiles::SerialFile)) {
        prompts.inform(CommTexts::NotPresent);
        return;
    }
    if (!document || !document->load(pathInFolder(projectFolder, ProjectFiles::SerialFile))) {
        prompts.inform(CommTexts::ReadError);
        return;
    }
    // By position, whatever the elements are called; each field is set as soon as it is read.
    const std::function<void(long long)> setters[] = {
        [&](long long v) { fields.baudIndex = listPosition(v, CommTexts::BaudTexts.size()); },
        [&](long long v) { fields.parityIndex = listPosition(v, CommTexts::ParityTexts.size()); },
        [&](long long v) {
            fields.deviceId = static_cast<int>(std::clamp<long long>(v, 0, CommTexts::DeviceIdMax));
        },
    };
    const XmlElement root = document->documentElement();
    for (int position = 0; position < 3; ++position) {
        const auto value = childNumber(root, position);
        if (!value) {
            prompts.inform(CommTexts::ReadError);
            return;
        }
        setters[position](*value);
    }
}

bool saveCommFields(const QString& projectFolder, const CommFields& fields, Prompts& prompts) {
    QString failure;
    const auto result = ProjectFiles::saveSerialParameters(
        projectFolder, {fields.baudIndex, fields.parityIndex, fields.deviceId}, &failure);
    return ProjectFiles::savedOrReported(result, failure, prompts);
}
