#pragma once
// A drawing run into the recording back-end, and the diagram input of a chain of
// the test's own, so that a test reads what reached the device.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/program_state.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/platform/clock.h"
#include "tests/graphics/recording_backend.h"
#include "tests/support/scripted.h"

namespace zam1::test {

struct RecordedText {
    std::string text;
    long double x = 0;
    long double y = 0;
};

struct RecordedRun {
    std::vector<std::string> log;
    DrawingSettings settings;
    TestPrompter prompter;
    ErrorFlag error;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    std::unique_ptr<DrawingLayer> layer;

    RecordedRun() {
        DrawingContext ctx;
        ctx.prompter = &prompter;
        ctx.error = &error;
        ctx.clock = &clock;
        layer = std::make_unique<DrawingLayer>(settings, ctx);
        layer->startRun(std::make_unique<RecordingBackend>(log));
    }

    // Entries that begin with `prefix` ("line", "circle", "text Gr").
    std::vector<std::string> entries(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& e : log) {
            if (e.rfind(prefix, 0) == 0) out.push_back(e);
        }
        return out;
    }
    std::size_t count(const std::string& prefix) const { return entries(prefix).size(); }

    // Every text with its position (sheet millimetres, as the device got it).
    std::vector<RecordedText> texts() const {
        std::vector<RecordedText> out;
        for (const std::string& e : entries("text ")) {
            const std::size_t yAt = e.rfind(' ');
            const std::size_t xAt = e.rfind(' ', yAt - 1);
            out.push_back({e.substr(5, xAt - 5), std::stold(e.substr(xAt + 1, yAt - xAt - 1)),
                           std::stold(e.substr(yAt + 1))});
        }
        return out;
    }
    std::optional<RecordedText> findText(const std::string& text) const {
        for (const RecordedText& t : texts()) {
            if (t.text == text) return t;
        }
        return std::nullopt;
    }
};

// A program state whose chain the test fills; its input for the diagrams.
struct DiagramState {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    TestPrompter prompter;

    DiagramState() { state->prompter = &prompter; }
    DiagramInput input() {
        return DiagramInput{.chain = state->chain,
                            .project = state->projectTexts,
                            .texts = state->texts,
                            .prompter = prompter,
                            .error = state->error};
    }
};

} // namespace zam1::test
