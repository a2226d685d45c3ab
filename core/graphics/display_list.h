#pragma once
// The display list of the graphics window: one text record per primitive, a
// decimal record code, ";" and the fields separated by ";". Reals are written in
// general format with 8 significant digits ("160", "0.5", "1.2345679E-06") and
// always with "."; a text is the last field and may itself contain ";".

#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

enum RecordCode : int {
    kRecMove = 1,
    kRecDraw = 2,
    kRecCircle = 3,
    kRecLine = 4,
    kRecArc = 5,
    kRecText = 6,
    kRecSolid = 7,
    kRecColor = 8,
    kRecTextStyle = 9,
    kRecWindow = 10,
    kRecLineStyle = 11,
    kRecLineWidth = 12,
    kRecSleep = 13,
};

using DisplayList = std::vector<std::string>;

// Appends ";" and the real in the record's general format.
void appendReal(std::string& record, long double value);
void appendInt(std::string& record, long long value);
// The general format alone.
std::string realField(long double value);

// A record taken apart. Numeric fields that do not parse read as 0.
class RecordReader {
public:
    explicit RecordReader(std::string_view record);

    int code() const { return m_code; }
    bool valid() const { return m_valid; }
    long double real();
    long long integer();
    // The rest of the record, separators included.
    std::string_view rest() const { return m_rest; }

private:
    std::string_view nextField();

    int m_code = 0;
    bool m_valid = false;
    std::string_view m_rest;
};

} // namespace zam1
