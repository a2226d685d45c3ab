#pragma once
// The project text dialog's fields in the order it shows them: drawing name,
// drawing name 2, drawing number, remark lines 1 to 3, with the capacities the
// project file stores.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace zam1 {

class ErrorFlag;
struct ProjectTexts;

inline constexpr std::size_t kProjectTextFields = 6;
// The dialog's form: the fields in its order, in the stored code page.
using ProjectTextForm = std::array<std::string, kProjectTextFields>;

// Capacities in the dialog's order.
const std::array<std::size_t, kProjectTextFields>& projectTextCapacities();

// The texts in the dialog's order, in the stored code page.
ProjectTextForm projectTextFields(const ProjectTexts& texts);

// Takes the edited fields over, each cut to its capacity. True when anything changed.
bool applyProjectTextFields(ProjectTexts& texts, const ProjectTextForm& fields);

// The dialog's answer taken over: the fields after OK (true when one changed),
// after Abbrechen nothing (the error flag set).
bool takeProjectText(ProjectTexts& texts, const std::optional<ProjectTextForm>& answer, ErrorFlag& error);

} // namespace zam1
