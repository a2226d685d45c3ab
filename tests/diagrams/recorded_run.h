#pragma once
// A drawing run into the recording back-end, and the diagram input of a chain of
// the test's own, so that a test reads what reached the device.

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/session/program_state.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/drawing_backend.h"
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

    // The entries from log index `first` on that reach outside `area` (sheet
    // millimetres, 0.001 mm of rounding allowed): lines, solids, circles with
    // their radius, and texts by their start and, when upright, the height of
    // the style in force. A text's length is not checked: the names of the
    // elements are the user's and run on to the right of their markers.
    std::vector<std::string> outside(const Sheet& area, std::size_t first = 0) const {
        constexpr long double kRounding = 0.001L;
        const auto off = [&](long double x, long double y) {
            return x < area.xmin - kRounding || x > area.xmax + kRounding || y < area.ymin - kRounding ||
                   y > area.ymax + kRounding;
        };
        std::vector<std::string> out;
        long double height = 0;
        long double angle = 0;
        for (std::size_t i = first; i < log.size(); ++i) {
            const std::string& e = log[i];
            std::istringstream fields(e.substr(e.find(' ') + 1));
            long double v[8] = {};
            bool isOff = false;
            if (e.rfind("style ", 0) == 0) {
                fields >> v[0] >> v[1] >> height >> angle;
            } else if (e.rfind("line ", 0) == 0) {
                fields >> v[0] >> v[1] >> v[2] >> v[3];
                isOff = off(v[0], v[1]) || off(v[2], v[3]);
            } else if (e.rfind("solid ", 0) == 0) {
                for (long double& x : v) fields >> x;
                isOff = off(v[0], v[1]) || off(v[2], v[3]) || off(v[4], v[5]) || off(v[6], v[7]);
            } else if (e.rfind("circle ", 0) == 0) {
                fields >> v[0] >> v[1] >> v[2];
                isOff = off(v[0] - v[2], v[1] - v[2]) || off(v[0] + v[2], v[1] + v[2]);
            } else if (e.rfind("text ", 0) == 0) {
                const std::size_t yAt = e.rfind(' ');
                const std::size_t xAt = e.rfind(' ', yAt - 1);
                const long double x = std::stold(e.substr(xAt + 1, yAt - xAt - 1));
                const long double y = std::stold(e.substr(yAt + 1));
                isOff = off(x, y) || (angle == 0 && off(x, y + height));
            }
            if (isOff) out.push_back(e);
        }
        return out;
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
