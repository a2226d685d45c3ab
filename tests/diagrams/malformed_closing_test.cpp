// Closing dimensions whose ends come from a project file unchecked: every
// diagram and the project drawing, on every device, must neither throw nor show
// numbers that belong to another distance; a closing dimension that cannot be
// resolved is not drawn (its diagrams) or names its structure error (the table).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/program_drawings.h"
#include "core/model/resolution.h"
#include "core/platform/file_io.h"
#include "tests/diagrams/recorded_run.h"
#include "tests/model/chain_builder.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;
using test::E;

// Closing dimension 1 runs from element 0 to element 3 and is sound; its
// nominal size, 41.837, appears nowhere else. The case's own closing dimension is 2.
constexpr const char* kGoodNominal = "41.837";

struct Case {
    const char* what;
    int from, to;
    bool resolves;          // its diagrams are drawn
    bool brokenTree;        // the chain itself is broken: even the scheme shows messages instead
    const char* message;    // what the calculation says, for a closing dimension that does not resolve
    const char* nominal;    // what a resolved one shows as its nominal size
};

const Case kCases[] = {
    {"negative first end", -1, 2, true, false, "", "33.333"},
    {"negative second end", 2, -5, true, false, "", "-33.333"},
    {"both ends negative", -1, -2, false, false, "Fehler : Massaufbau !  (-1 -> -2)", ""},
    {"end beyond the chain", 1, 7, false, false, "Fehler : Massaufbau !  (1 -> 7)", ""},
    {"end beyond the table", 3000, 1, false, false, "Fehler : Massaufbau !  (3000 -> 1)", ""},
    {"end far beyond the table", 2, 99999, false, false, "Fehler : Massaufbau !  (2 -> 99999)", ""},
    {"end equal to start", 2, 2, false, false, "Undefinierter Abstand !", ""},
    {"a cycle", 5, 1, false, true, "Fehler : Massaufbau !  (5 -> 1)", ""},
    {"an element its own predecessor", 6, 0, false, true, "Fehler : Massaufbau !  (6 -> 0)", ""},
};

std::vector<E> elementsOf(const Case& c) {
    std::vector<E> elements = {E{0, true, 11.111L, 0.1L, -0.1L}, E{1, true, 22.222L, 0.05L, 0},
                               E{2, true, 8.504L, 0, -0.02L}};
    if (c.brokenTree) {
        // 4 and 5 hang from each other; 6 hangs from itself.
        elements.insert(elements.end(), {E{5, true, 1, 0, 0}, E{4, true, 1, 0, 0}, E{6, true, 1, 0, 0}});
    }
    return elements;
}

struct Device {
    int number;
    const char* extension;  // nullptr: the screen
};
constexpr Device kDevices[] = {{kDeviceDxf, "dxf"}, {kDeviceIges, "igs"}, {kDeviceTxt, "txt"}, {kDeviceScreen, nullptr}};

// What a drawing left: the file's bytes, or the window's display list, one record a line.
struct Drawn {
    bool done = false;   // drawn (the diagram's outcome, or the project drawing's result)
    bool output = false; // a file was written, or the window holds records
    std::string text;
};

bool said(test::DiagramState& s, std::string_view message) {
    const MessageList& messages = s.state->chain.messages;
    for (int i = 0; i < messages.count(); ++i) {
        if (messages.at(i) == message.substr(0, kMessageLength)) return true;
    }
    return false;
}

class MalformedClosing : public ::testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("zam1-malformed-" + std::to_string(::getpid()));
    MalformedClosing() { fs::create_directories(dir); }
    ~MalformedClosing() override { fs::remove_all(dir); }

    // Kind 0 is the project drawing.
    Drawn draw(test::DiagramState& s, const Case& c, int kind, const Device& d) {
        Chain& chain = s.state->chain;
        test::fill(chain, elementsOf(c));
        chain.closing(1).fromElement = 0;
        chain.closing(1).toElement = 3;
        chain.closing(2).fromElement = c.from;
        chain.closing(2).toElement = c.to;
        chain.setClosingCount(2);
        // The good closing dimension's sums stay in the chain's working record.
        deriveElementValues(chain);
        resolveDistance(chain, 0, 3);

        DrawingSettings settings = drawingSettingsFrom(s.state->config, dir.string());
        GraphicsWindow window(settings.window, s.state->error);
        DrawingTarget target;
        target.device = static_cast<OutputDevice>(d.number);
        target.batch = true;
        target.projectName = (dir / "probe").string();
        target.projectFile = "probe.zm1";
        target.window = &window;
        const fs::path file = dir / ("probe." + std::string(d.extension ? d.extension : ""));
        fs::remove(file);
        Drawn out;
        out.done = kind == 0 ? drawProgramProjectDrawing(*s.state, settings, target)
                             : drawProgramDiagram(*s.state, settings, target, static_cast<DiagramKind>(kind), 2) == DiagramOutcome::Drawn;
        if (d.extension == nullptr) {
            for (const std::string& record : window.displayList()) out.text += record + "\n";
            out.output = !window.displayList().empty();
        } else {
            out.output = fs::exists(file) && readWholeFile(file.string(), out.text) == kIoOk;
        }
        return out;
    }
};

TEST_F(MalformedClosing, NoDiagramThrowsOrShowsAnotherDistancesNumbers) {
    for (const Case& c : kCases) {
        for (const Device& d : kDevices) {
            for (const int kind : {kDiagramToScale, kDiagramNormalDistribution, kDiagramScheme, kDiagramOverall}) {
                const std::string where = std::string(c.what) + ", kind " + std::to_string(kind) + ", device " +
                                          std::to_string(d.number);
                test::DiagramState s;
                Drawn out;
                ASSERT_NO_THROW(out = draw(s, c, kind, d)) << where;
                const bool drawable = kind == kDiagramScheme ? !c.brokenTree : c.resolves && !c.brokenTree;
                EXPECT_EQ(out.done, drawable) << where;
                EXPECT_EQ(out.output, drawable) << where;
                EXPECT_FALSE(s.state->error.isSet()) << where;
                EXPECT_EQ(out.text.find(kGoodNominal), std::string::npos) << where;
                if (kind != kDiagramScheme && !c.resolves) {
                    EXPECT_TRUE(said(s, c.message)) << where;
                }
                if (drawable && kind != kDiagramScheme) {
                    EXPECT_NE(out.text.find(c.nominal), std::string::npos) << where << ": its own nominal size";
                }
            }
        }
    }
}

TEST_F(MalformedClosing, TheProjectDrawingNamesTheStructureErrorInPlaceOfNumbers) {
    for (const Case& c : kCases) {
        for (const Device& d : kDevices) {
            const std::string where = std::string(c.what) + ", device " + std::to_string(d.number);
            test::DiagramState s;
            Drawn out;
            ASSERT_NO_THROW(out = draw(s, c, 0, d)) << where;
            ASSERT_TRUE(out.done && out.output) << where;
            // The good closing dimension's row, once; the case's row its own.
            const std::size_t first = out.text.find(kGoodNominal);
            EXPECT_NE(first, std::string::npos) << where;
            EXPECT_EQ(out.text.find(kGoodNominal, first + 1), std::string::npos) << where;
            if (c.resolves) {
                EXPECT_NE(out.text.find(c.nominal), std::string::npos) << where;
            } else {
                const std::string error = std::string(c.message).find("Undefiniert") == 0
                                              ? std::string(c.message)
                                              : "Fehler im Massaufbau zwischen Element " + std::to_string(c.from) +
                                                    " und " + std::to_string(c.to) + " !";
                EXPECT_NE(out.text.find(error), std::string::npos) << where << ": " << error;
            }
        }
    }
}

} // namespace
} // namespace zam1
