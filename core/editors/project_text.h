#pragma once
// The project text dialog's fields in the order it shows them: drawing name,
// drawing name 2, drawing number, remark lines 1 to 3, with the capacities the
// project file stores.

#include <array>
#include <cstddef>
#include <string>

namespace zam1 {

struct ProjectTexts;

inline constexpr std::size_t kProjectTextFields = 6;


// Capacities in the dialog's order.
const std::array<std::size_t, kProjectTextFields>& projectTextCapacities();

// The texts in the dialog's order, in the stored code page.
std::array<std::string, kProjectTextFields> projectTextFields(const ProjectTexts& texts);

// Takes the edited fields over, each cut to its capacity. True when anything changed.
bool applyProjectTextFields(ProjectTexts& texts, const std::array<std::string, kProjectTextFields>& fields);

} // namespace zam1
