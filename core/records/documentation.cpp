#include "core/records/documentation.h"

#include <cstdio>

#include "core/platform/clock.h"

namespace zam1 {

std::string dateText(const DateTime& date, int dateCode) {
    char buffer[48];
    const int d = date.day;
    const int m = date.month;
    const int y = date.year;
    switch (dateCode) {
    case 2: std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", m, d, y); break;
    case 3: std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", y, m, d); break;
    case 4: std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", d, m, y); break;
    default: std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", d, m, y); break;
    }
    return buffer;
}

void startDocumentation(Documentation& docs, std::string_view today) {
    docs = Documentation{};
    docs.drawing.drawnDate = today;
    docs.drawing.checkedDate = today;
    docs.drawing.standardsDate = today;
    for (DocumentSlot& slot : docs.documents) slot.programPath = kDefaultDocumentProgram;
}

void resetDocumentation(Documentation& docs, std::string_view today) {
    docs.changeCount = 0;
    DrawingInfo& info = docs.drawing;
    info.replaces.clear();
    info.replacedBy.clear();
    info.drawnDate = today;
    info.drawnName.clear();
    info.checkedDate.clear();
    info.checkedName.clear();
    info.standardsDate.clear();
    info.standardsName.clear();
    info.approvalDate.clear();
    info.approvalName.clear();
}

} // namespace zam1
