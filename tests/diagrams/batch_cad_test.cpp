// "/CADi:j": what the argument selects, and the files the batch run leaves.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "core/app/batch_cad.h"
#include "core/graphics/cad_formats.h"
#include "core/platform/file_io.h"
#include "tests/diagrams/example_project.h"
#include "tests/diagrams/golden_files.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

TEST(CadArgument, FormatAndIndex) {
    struct Case {
        const char* argument;
        bool valid;
        int format = 0;
        CadDrawing drawing = CadDrawing::Project;
        int kind = 0;
        int closing = 0;
    };
    const Case cases[] = {
        {"/CAD1:1", true, 1, CadDrawing::Project, 0, 0},
        {"/cad2:1", true, 2, CadDrawing::Project, 0, 0},
        {"/CAD5", true, 5, CadDrawing::Project, 0, 0},
        {"/CAD1:3", true, 1, CadDrawing::Diagram, 3, 0},
        {"/CAD1:12", true, 1, CadDrawing::Diagram, 2, 1},
        {"/Cad5:21", true, 5, CadDrawing::Diagram, 1, 2},
        {"/CAD2:2504", true, 2, CadDrawing::Diagram, 4, 250},
        {"/CAD3:1", false}, {"/CAD4:1", false}, {"/CADx:1", false}, {"/CAD1:0", false}, {"/CAD1:-12", false},
        {"/CAD1:15", false}, {"/CAD1:20", false}, {"/CAD1;1", false}, {"/CAD1:", false}, {"/CAD1:1a", false},
        {"/CA", false}, {"/I", false},
    };
    for (const Case& c : cases) {
        CadRequest r;
        ASSERT_EQ(parseCadArgument(c.argument, r), c.valid) << c.argument;
        if (!c.valid) continue;
        EXPECT_EQ(r.format, c.format) << c.argument;
        EXPECT_EQ(r.drawing, c.drawing) << c.argument;
        EXPECT_EQ(r.kind, c.kind) << c.argument;
        EXPECT_EQ(r.closing, c.closing) << c.argument;
    }
}

// Runs in a folder of its own with the example project under examples/.
struct BatchCad : ::testing::Test {
    fs::path folder = fs::temp_directory_path() / ("zam1-batchcad-" + std::to_string(::getpid()));
    fs::path before = fs::current_path();
    test::ExampleState example;
    std::ostringstream err;

    BatchCad() {
        fs::create_directories(folder / "examples");
        fs::copy_file(test::kExampleProject, folder / test::kExampleFileName);
        fs::current_path(folder);
    }
    ~BatchCad() override {
        fs::current_path(before);
        fs::remove_all(folder);
    }
    int run(const std::string& project, const std::string& argument) {
        return runBatchCad(*example.state, project, argument, true, err);
    }
    std::string written(const std::string& name) {
        std::string bytes;
        return readWholeFile((folder / name).string(), bytes) == kIoOk ? bytes : std::string();
    }
};

TEST_F(BatchCad, TheProjectDrawingAndTheDiagramsGoUnderTheProjectsName) {
    struct Case {
        const char* argument;
        const char* file;
        const char* golden;
    };
    const Case cases[] = {
        {"/CAD1:1", "getriebewelle.dxf", "drawing.dxf"},
        {"/cad5:12", "getriebewelle.txt", "normal_1.txt"},
        {"/CAD1:14", "getriebewelle.dxf", "overall_1.dxf"},
        {"/CAD1:3", "getriebewelle.dxf", "scheme.dxf"},
        {"/CAD2:1", "getriebewelle.igs", nullptr},
        {"/CAD2:21", "getriebewelle.igs", nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(run(test::kExampleFileName, c.argument), 0) << c.argument << ": " << err.str();
        if (c.golden == nullptr) {
            EXPECT_NE(written(c.file).find("S0000001"), std::string::npos) << c.argument;
            continue;
        }
        // The project is named with its folder, which differs from run to run:
        // the golden files name it from the run's folder.
        std::string bytes = written(c.file);
        const std::string absolute = (folder / test::kExampleFileName).string();
        if (std::string(c.argument) == "/CAD1:1") {
            EXPECT_NE(bytes.find(absolute), std::string::npos) << "the drawing names the project with its folder";
        }
        const std::string prefix = folder.string() + "/";
        for (std::size_t at = bytes.find(prefix); at != std::string::npos; at = bytes.find(prefix, at)) bytes.erase(at, prefix.size());
        std::string golden;
        ASSERT_EQ(readWholeFile(test::goldenPath(c.golden), golden), kIoOk);
        EXPECT_TRUE(bytes == golden) << c.argument << " differs from " << c.golden;
    }
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(example.state->file.currentFile, "getriebewelle");
}

TEST_F(BatchCad, NothingIsWrittenWhenThereIsNothingToWrite) {
    struct Case {
        const char* project;
        const char* argument;
        const char* said;  // part of what goes to err
        int exitCode;      // 2: the argument is refused before anything is read
    };
    const Case cases[] = {
        {"examples/fehlt.zm1", "/CAD1:1", "fehlt", 1},
        {test::kExampleFileName, "/CAD1:91", "Schlie\xC3\x9Fma\xC3\x9F 9 ?", 1},
        {test::kExampleFileName, "/CAD3:1", "i: 1=DXF, 2=IGS, 5=TXT", 2},
        {test::kExampleFileName, "/CAD1:7", "j: 1 = Projektzeichnung", 2},
    };
    for (const Case& c : cases) {
        err.str("");
        EXPECT_EQ(run(c.project, c.argument), c.exitCode) << c.argument;
        EXPECT_NE(err.str().find(c.said), std::string::npos) << c.argument << ": " << err.str();
        for (const char* ext : {"dxf", "igs", "txt"}) {
            EXPECT_FALSE(fs::exists(folder / ("getriebewelle." + std::string(ext)))) << c.argument;
            EXPECT_FALSE(fs::exists(folder / ("fehlt." + std::string(ext)))) << c.argument;
        }
    }
}

TEST_F(BatchCad, ACalculationThatCannotDrawIsReportedAndFails) {
    // Element 1 with its tolerances the wrong way round: the window would show the messages instead.
    std::string bytes;
    ASSERT_EQ(readWholeFile(test::kExampleProject, bytes), kIoOk);
    const std::string good = "+\r\n40.0000000\r\n0\r\n-0.1600000\r\n";
    const std::size_t at = bytes.find(good);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, good.size(), "+\r\n40.0000000\r\n-0.1600000\r\n0\r\n");
    ASSERT_EQ(writeFileSafely((folder / "verkehrt.zm1").string(), bytes), kIoOk);
    EXPECT_EQ(run("verkehrt.zm1", "/CAD1:11"), 1);
    EXPECT_NE(err.str().find("Ob.Tol. < Unt.Tol. (2)"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(folder / "verkehrt.dxf"));
    // The project drawing does not depend on the calculation's verdict.
    EXPECT_EQ(run("verkehrt.zm1", "/CAD1:1"), 0);
    EXPECT_TRUE(fs::exists(folder / "verkehrt.dxf"));
}

TEST_F(BatchCad, ClosingDimensionEndsAreTakenAsTheFileGivesThem) {
    struct Case {
        const char* ends;      // the first closing dimension's two lines
        const char* argument;
        int exitCode;
        const char* said;      // part of what goes to err
    };
    // A negative end stands for element 0; 3000 lies beyond the chain.
    const Case cases[] = {
        {"-1\r\n6\r\n", "/CAD1:11", 0, ""},
        {"-1\r\n6\r\n", "/CAD2:14", 0, ""},
        {"-1\r\n6\r\n", "/CAD5:12", 0, ""},
        {"6\r\n-1\r\n", "/CAD1:14", 0, ""},
        {"-1\r\n6\r\n", "/CAD1:1", 0, ""},
        {"3000\r\n6\r\n", "/CAD1:11", 1, "Fehler : Massaufbau !  (3000 -> 6)"},
        // The project drawing is written, its closing dimension 1 shows the error.
        {"3000\r\n6\r\n", "/CAD5:1", 2, "1 Schlie\xC3\x9Fma\xC3\x9F(e) nicht berechenbar"},
    };
    std::string bytes;
    ASSERT_EQ(readWholeFile(test::kExampleProject, bytes), kIoOk);
    const std::string first = "------------------\r\n5\r\n6\r\n";
    const std::size_t at = bytes.find(first);
    ASSERT_NE(at, std::string::npos);
    for (const Case& c : cases) {
        std::string changed = bytes;
        changed.replace(at, first.size(), "------------------\r\n" + std::string(c.ends));
        ASSERT_EQ(writeFileSafely((folder / "enden.zm1").string(), changed), kIoOk);
        for (const char* ext : {"dxf", "igs", "txt"}) fs::remove(folder / ("enden." + std::string(ext)));
        err.str("");
        EXPECT_EQ(run("enden.zm1", c.argument), c.exitCode) << c.ends << c.argument << ": " << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << c.argument << ": " << err.str();
        const std::string ext = c.argument[4] == '1' ? "dxf" : (c.argument[4] == '2' ? "igs" : "txt");
        EXPECT_EQ(fs::exists(folder / ("enden." + ext)), c.exitCode != 1) << c.ends << c.argument;
    }
}

// How a file of each format begins; a format without an entry here fails the
// test below until it gets one.
bool beginsAsItsFormat(std::string_view extension, const std::string& bytes) {
    if (extension == "dxf") return bytes.starts_with("  0\r\nSECTION\r\n");
    if (extension == "igs") return bytes.size() >= 80 && bytes[72] == 'S' && bytes.substr(73, 7) == "0000001";
    if (extension == "txt") return bytes.starts_with("MINMAX\t");
    ADD_FAILURE() << "no check for ." << extension;
    return false;
}

// "/CADi" takes exactly the devices that write a file of their own, and writes
// the project's base name with that device's extension.
TEST_F(BatchCad, EveryFileFormatIsWrittenUnderItsExtensionAndNoOtherDeviceIsTaken) {
    for (int i = 0; i <= 9; ++i) {
        const std::string argument = "/CAD" + std::to_string(i) + ":1";
        SCOPED_TRACE(argument);
        const CadFormat* format = cadFormatOf(static_cast<OutputDevice>(i));
        const bool writesFile = format && format->output == DeviceOutput::File;
        CadRequest request;
        EXPECT_EQ(parseCadArgument(argument, request), writesFile);
        err.str("");
        if (!writesFile) {
            EXPECT_EQ(run(test::kExampleFileName, argument), 2);  // refused: names no file format
            EXPECT_NE(err.str().find(" ?"), std::string::npos) << err.str();
            continue;
        }
        EXPECT_EQ(request.format, format->device);
        const std::string file = "getriebewelle." + std::string(format->extension);
        ASSERT_EQ(run(test::kExampleFileName, argument), 0) << err.str();
        EXPECT_TRUE(beginsAsItsFormat(format->extension, written(file))) << written(file).substr(0, 80);
        fs::remove(folder / file);
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_TRUE(entry.is_directory()) << "left behind: " << entry.path();  // only examples/
    }
}

} // namespace
} // namespace zam1
