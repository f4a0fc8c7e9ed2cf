#include "projects/CommSettings.h"

#include "base/FolderLookup.h"
#include "base/Prompts.h"
#include "base/XmlDocument.h"
#include "projects/ProjectFiles.h"

#include <algorithm>
#include <functional>

namespace {

int listPosition(long long value, qsizetype size) {
    return value >= 0 && value < size ? static_cast<int>(value) : -1;
}

}  // namespace

void loadCommFields(const QString& projectFolder, CommFields& fields, Prompts& prompts) {
    const auto document = XmlDocument::create();
    if (!document) {
        prompts.warn(ProjectFiles::ParserMissingText);
    }
    if (!existsInFolder(projectFolder, ProjectFiles::SerialFile)) {
        prompts.warn(CommTexts::NotPresent);
        return;
    }
    if (!document || !document->load(pathInFolder(projectFolder, ProjectFiles::SerialFile))) {
        prompts.warn(CommTexts::ReadError);
        return;
    }
    // Each field is set as soon as it is read; the first value that cannot be read is named.
    const std::function<void(long long)> setters[] = {
        [&](long long v) { fields.baudIndex = listPosition(v, CommTexts::BaudTexts.size()); },
        [&](long long v) { fields.parityIndex = listPosition(v, CommTexts::ParityTexts.size()); },
        [&](long long v) {
            fields.deviceId = static_cast<int>(std::clamp<long long>(v, 0, CommTexts::DeviceIdMax));
        },
    };
    const auto elements = ProjectFiles::serialValueElements(document->documentElement());
    for (int index = 0; index < 3; ++index) {
        if (const auto problem = ProjectFiles::serialValueProblem(elements[index], index, false)) {
            prompts.warn(CommTexts::ReadError + QStringLiteral("\npargen.xml: %1.").arg(*problem));
            return;
        }
        setters[index](*ProjectFiles::serialValue(elements[index]));
    }
}

bool saveCommFields(const QString& projectFolder, const CommFields& fields, Prompts& prompts) {
    QString failure;
    const auto result = ProjectFiles::saveSerialParameters(
        projectFolder, {fields.baudIndex, fields.parityIndex, fields.deviceId}, &failure);
    return ProjectFiles::savedOrReported(result, failure, prompts);
}
