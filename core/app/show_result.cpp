#include "core/app/show_result.h"

#include "core/lang/language.h"
#include "core/session/program_state.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kManufacturingDrawing = 3;  // "Fertigungszeichnung"
constexpr int kDrawing = 5;               // "Zeichnung"

} // namespace

ErrorMessagesEntry errorMessagesEntry(const LanguageTexts& texts, int messageCount) {
    return {commonMenuToUtf8(texts, texts.menu.viewErrorMessages) + " (" + intText(messageCount) + ")",
            messageCount != 0};
}

ResultGraphic resultGraphic(const ProgramState& state) {
    if (state.error.isSet() || state.config.helpLevel == 0) return ResultGraphic::None;
    const int choice = state.config.resultGraphic;
    return choice == kManufacturingDrawing || choice == kDrawing ? ResultGraphic::ProjectDrawing
                                                                 : ResultGraphic::OverallGraphic;
}

} // namespace zam1
