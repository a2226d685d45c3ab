#include <gtest/gtest.h>

#include "core/platform/clock.h"
#include "core/records/documentation.h"

namespace zam1 {
namespace {

TEST(Documentation, DateCodes) {
    const DateTime d{2026, 3, 7, 9, 5, 0};
    const std::pair<int, const char*> cases[] = {
        {1, "07.03.2026"}, {2, "03/07/2026"}, {3, "2026/03/07"}, {4, "07/03/2026"}, {0, "07.03.2026"}, {9, "07.03.2026"}};
    for (const auto& [code, expected] : cases) EXPECT_EQ(dateText(d, code), expected) << code;
}

TEST(Documentation, StartAndNew) {
    Documentation docs;
    startDocumentation(docs, "07.12.2026");
    EXPECT_EQ(docs.changeCount, 0);
    EXPECT_EQ(docs.drawing.drawnDate, "07.12.2026");
    EXPECT_EQ(docs.drawing.checkedDate, "07.12.2026");
    EXPECT_EQ(docs.drawing.standardsDate, "07.12.2026");
    EXPECT_TRUE(docs.drawing.approvalDate.empty());
    for (const DocumentSlot& slot : docs.documents) {
        EXPECT_EQ(slot.programPath, kDefaultDocumentProgram);
        EXPECT_TRUE(slot.documentPath.empty());
    }

    docs.changeCount = 3;
    docs.changes[2].changeId = "C";
    docs.drawing.replaces = "alt";
    docs.drawing.replacedBy = "neu";
    docs.drawing.approvalName = "Chef";
    docs.drawing.textRowCount = 2;
    docs.documents[0].documentPath = "plan.pdf";
    resetDocumentation(docs, "08.12.2026");
    EXPECT_EQ(docs.changeCount, 0);
    EXPECT_EQ(docs.changes[2].changeId, "C") << "records keep their texts for a later new change";
    EXPECT_TRUE(docs.drawing.replaces.empty());
    EXPECT_TRUE(docs.drawing.replacedBy.empty());
    EXPECT_TRUE(docs.drawing.approvalName.empty());
    EXPECT_TRUE(docs.drawing.checkedDate.empty());
    EXPECT_EQ(docs.drawing.drawnDate, "08.12.2026");
    EXPECT_EQ(docs.drawing.textRowCount, 2) << "text rows stay";
    EXPECT_EQ(docs.documents[0].documentPath, "plan.pdf") << "document slots stay";
}

} // namespace
} // namespace zam1
