// The project text fields: order, capacities and the change test.

#include <gtest/gtest.h>

#include "core/editors/project_text.h"
#include "core/records/documentation.h"

namespace zam1 {
namespace {

TEST(ProjectTextFields, EachFieldIsCutToItsStoredCapacity) {
    ProjectTexts texts;
    std::array<std::string, kProjectTextFields> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = std::string(100, static_cast<char>('a' + i));
    EXPECT_TRUE(applyProjectTextFields(texts, fields));
    EXPECT_EQ(texts.drawingName, std::string(25, 'a'));
    EXPECT_EQ(texts.drawingName2, std::string(30, 'b'));
    EXPECT_EQ(texts.drawingNumber, std::string(18, 'c'));
    EXPECT_EQ(texts.remarkLines[0], std::string(65, 'd'));
    EXPECT_EQ(texts.remarkLines[1], std::string(65, 'e'));
    EXPECT_EQ(texts.remarkLines[2], std::string(65, 'f'));
    EXPECT_EQ(projectTextCapacities(), (std::array<std::size_t, kProjectTextFields>{25, 30, 18, 65, 65, 65}));
}

TEST(ProjectTextFields, OnlyARealDifferenceCountsAsChange) {
    ProjectTexts texts;
    texts.drawingName = "Welle";
    texts.remarkLines[2] = "dritte";
    std::array<std::string, kProjectTextFields> fields = projectTextFields(texts);
    EXPECT_FALSE(applyProjectTextFields(texts, fields));
    // A text longer than the field that agrees in its kept part changes nothing either.
    fields[0] = "Welle";
    fields[5] = "dritte";
    EXPECT_FALSE(applyProjectTextFields(texts, fields));
    for (std::size_t i = 0; i < kProjectTextFields; ++i) {
        SCOPED_TRACE(i);
        ProjectTexts copy = texts;
        std::array<std::string, kProjectTextFields> edited = projectTextFields(copy);
        edited[i] += "x";
        EXPECT_TRUE(applyProjectTextFields(copy, edited));
    }
}

} // namespace
} // namespace zam1
