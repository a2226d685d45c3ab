#include "core/platform/path_parts.h"

#include <gtest/gtest.h>

namespace zam1 {
namespace {

// A path and each of its parts. The dotted folders are the rows that a split at
// the last "." of the whole path gets wrong.
struct Row {
    const char* path;
    const char* folder;
    const char* fileName;
    const char* baseName;
    const char* extension;
    const char* withoutExtension;
};

constexpr Row kRows[] = {
    {"/tmp/v1.2/welle.zm1", "/tmp/v1.2", "welle.zm1", "welle", ".zm1", "/tmp/v1.2/welle"},
    {"/tmp/v1.2/welle", "/tmp/v1.2", "welle", "welle", "", "/tmp/v1.2/welle"},
    {"v1.2/welle", "v1.2", "welle", "welle", "", "v1.2/welle"},
    {"welle.alt", ".", "welle.alt", "welle", ".alt", "welle"},
    {"welle.tar.gz", ".", "welle.tar.gz", "welle.tar", ".gz", "welle.tar"},
    {"/welle.", "/", "welle.", "welle", ".", "/welle"},
    {"/tmp/v1.2/", "/tmp/v1.2", "", "", "", "/tmp/v1.2/"},
    {"", ".", "", "", "", ""},
};

TEST(PathParts, EachPartOfAPathWithDotsInItsFolders) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(folderOf(row.path), row.folder);
        EXPECT_EQ(fileNamePart(row.path), row.fileName);
        EXPECT_EQ(baseNameOf(row.path), row.baseName);
        EXPECT_EQ(extensionPart(row.path), row.extension);
        EXPECT_EQ(withoutExtension(row.path), row.withoutExtension);
    }
}

TEST(PathParts, ANamePutIntoAFolderGetsOneSlash) {
    const struct {
        const char* folder;
        const char* name;
        const char* path;
    } rows[] = {
        {"/tmp/v1.2", "welle.zm1", "/tmp/v1.2/welle.zm1"},
        {"/tmp/v1.2/", "welle.zm1", "/tmp/v1.2/welle.zm1"},
        {"", "welle.zm1", "welle.zm1"},
        {"/", "welle", "/welle"},
    };
    for (const auto& row : rows) EXPECT_EQ(pathIn(row.folder, row.name), row.path) << row.folder;
}

} // namespace
} // namespace zam1
