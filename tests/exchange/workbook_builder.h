#pragma once
// Workbooks put together part by part with libzip, in the shapes other
// spreadsheet programs save them (inline strings, cells without references,
// prefixed namespaces), and broken on purpose.
#include <zip.h>

#include <string>
#include <vector>

namespace zam1::test {

struct ZipPart {
    std::string name;
    std::string bytes;
    bool stored = false;  // uncompressed, so that a test can find and damage its bytes
};

// The zip container of `parts`, in memory; empty when libzip fails.
inline std::string zipOf(const std::vector<ZipPart>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = buffer != nullptr ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (zip == nullptr) return {};
    zip_source_keep(buffer);
    bool ok = true;
    for (const ZipPart& part : parts) {
        zip_source_t* source = zip_source_buffer(zip, part.bytes.data(), part.bytes.size(), 0);
        const zip_int64_t index = source != nullptr ? zip_file_add(zip, part.name.c_str(), source, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            zip_source_free(source);
            ok = false;
        } else if (part.stored) {
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
    }
    ok = zip_close(zip) == 0 && ok;
    std::string bytes;
    zip_stat_t stat;
    if (ok && zip_source_open(buffer) == 0) {
        if (zip_source_stat(buffer, &stat) == 0) {
            bytes.resize(stat.size);
            if (zip_source_read(buffer, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) bytes.clear();
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return bytes;
}

inline const std::string kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const std::string kRelationNamespace = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

inline std::string worksheetXml(const std::string& rows) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<worksheet xmlns=\"" + kMainNamespace +
           "\"><sheetData>" + rows + "</sheetData></worksheet>";
}

inline std::string sharedStringsXml(const std::vector<std::string>& items) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sst xmlns=\"" + kMainNamespace + "\">";
    for (const std::string& item : items) xml += "<si>" + (item.starts_with("<") ? item : "<t>" + item + "</t>") + "</si>";
    return xml + "</sst>";
}

// A workbook whose first tab is the worksheet `sheet` at xl/worksheets/<sheetFile>,
// found through xl/workbook.xml and its relations; with shared strings when given.
inline std::vector<ZipPart> workbookParts(const std::string& sheet, const std::string& sharedStrings = {},
                                          const std::string& sheetFile = "tab1.xml") {
    const std::string relations =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + kRelationNamespace + "/styles\" Target=\"styles.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"" + kRelationNamespace + "/worksheet\" Target=\"worksheets/" + sheetFile + "\"/>"
        "<Relationship Id=\"rId3\" Type=\"" + kRelationNamespace + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
        "</Relationships>";
    std::vector<ZipPart> parts = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
         "<Override PartName=\"/xl/worksheets/" + sheetFile + "\" "
         "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>" +
         (sharedStrings.empty() ? std::string()
                                : "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/"
                                  "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>") +
         "</Types>"},
        {"_rels/.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Type=\"" + kRelationNamespace + "/officeDocument\" Target=\"xl/workbook.xml\"/>"
         "</Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns=\"" + kMainNamespace + "\" xmlns:r=\"" + kRelationNamespace +
                                "\"><sheets><sheet name=\"Elemente\" sheetId=\"1\" r:id=\"rId2\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels", relations},
        {"xl/worksheets/" + sheetFile, sheet},
    };
    if (!sharedStrings.empty()) parts.push_back({"xl/sharedStrings.xml", sharedStrings});
    return parts;
}

// One row of inline strings, as LibreOffice writes texts; `r` empty leaves the references out.
inline std::string inlineRow(const std::string& r, const std::vector<std::string>& texts) {
    std::string row = r.empty() ? "<row>" : "<row r=\"" + r + "\">";
    char column = 'A';
    for (const std::string& text : texts) {
        const std::string ref = r.empty() ? std::string() : " r=\"" + std::string(1, column) + r + "\"";
        row += "<c" + ref + " t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
        ++column;
    }
    return row + "</row>";
}

} // namespace zam1::test
