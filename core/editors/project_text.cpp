#include "core/editors/project_text.h"

#include "core/editors/dialog_answer.h"
#include "core/records/documentation.h"

namespace zam1 {

const std::array<std::size_t, kProjectTextFields>& projectTextCapacities() {
    static constexpr std::array<std::size_t, kProjectTextFields> capacities = {
        decltype(ProjectTexts::drawingName)::capacity,    decltype(ProjectTexts::drawingName2)::capacity,
        decltype(ProjectTexts::drawingNumber)::capacity,  ShortString<65>::capacity,
        ShortString<65>::capacity,                        ShortString<65>::capacity,
    };
    return capacities;
}

ProjectTextForm projectTextFields(const ProjectTexts& texts) {
    return {texts.drawingName.str(),    texts.drawingName2.str(),   texts.drawingNumber.str(),
            texts.remarkLines[0].str(), texts.remarkLines[1].str(), texts.remarkLines[2].str()};
}

bool applyProjectTextFields(ProjectTexts& texts, const ProjectTextForm& fields) {
    ProjectTexts edited = texts;
    edited.drawingName = fields[0];
    edited.drawingName2 = fields[1];
    edited.drawingNumber = fields[2];
    for (std::size_t i = 0; i < edited.remarkLines.size(); ++i) edited.remarkLines[i] = fields[3 + i];
    const bool changed = edited.drawingName != texts.drawingName || edited.drawingName2 != texts.drawingName2 ||
                         edited.drawingNumber != texts.drawingNumber || edited.remarkLines != texts.remarkLines;
    texts = edited;
    return changed;
}

bool takeProjectText(ProjectTexts& texts, const std::optional<ProjectTextForm>& answer, ErrorFlag& error) {
    const ProjectTextForm* typed = takeAnswer(answer, error);
    return typed && applyProjectTextFields(texts, *typed);
}

} // namespace zam1
