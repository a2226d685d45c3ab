#pragma once
// The element sigma dialog `TForm_zam1elsi` and the angle dialog `TForm_zam1el2`,
// both opened by the element table for the element of its current row.

#include <QString>

#include <optional>

#include "core/editors/sigma_angle.h"

class QWidget;

namespace zam1 {

struct ProgramState;

// Rescales element `element`'s tolerances to the chain's sigma. True when the
// element was changed (OK, then Yes); Cancel sets the error flag, No changes nothing.
bool runSigmaDialog(ProgramState& state, int element, QWidget* parent);

// The horizontal distance of an inclined dimension, or nothing when cancelled
// (error flag set) or when there was no result to take.
std::optional<InclinedDistance> runAngleDialog(ProgramState& state, const QString& predecessor,
                                               const QString& elementNumber, QWidget* parent);

} // namespace zam1
