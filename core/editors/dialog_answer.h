#pragma once
// What a dialog's answer does to the error flag, the same for every dialog:
// Abbrechen (no form back) sets it, so a guided input stops there; OK clears it.

#include <optional>

#include "core/platform/error_flag.h"

namespace zam1 {

// The form the user left with OK, or null after Abbrechen.
template <class Form>
const Form* takeAnswer(const std::optional<Form>& answer, ErrorFlag& error) {
    if (!answer) {
        error.set();
        return nullptr;
    }
    error.clear();
    return &*answer;
}

} // namespace zam1
