#pragma once
// The project text dialog (menu "Text", first step of the guided input): drawing
// name, drawing name 2, drawing number and the three remark lines.

#include <optional>

#include "core/editors/project_text.h"

namespace zam1 {

struct DialogEnvironment;
struct MainTexts;

// The fields as the user left them with OK, each within its capacity; nothing
// after Abbrechen.
std::optional<ProjectTextForm> editProjectText(const ProjectTextForm& form, const MainTexts& texts,
                                               const DialogEnvironment& environment);

} // namespace zam1
