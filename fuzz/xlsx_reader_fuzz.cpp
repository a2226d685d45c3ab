// Any bytes given as an .xlsx element table: the reader must refuse or accept
// them without reading out of bounds, leaking or throwing, and what it accepts
// must be an element table the calculation can take.
//
// Mutated zip bytes seldom get past the checksums, so an input that does not
// start like a zip is taken as the XML of the worksheet, followed after a NUL
// byte by the XML of the shared strings, and packed into a workbook first.
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/lang/language.h"
#include "fuzz/element_import_check.h"

namespace {

std::string packed(std::string_view sheet, std::string_view strings) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = buffer != nullptr ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (zip == nullptr) return {};
    zip_source_keep(buffer);
    const auto add = [&](const char* name, std::string_view bytes) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = source != nullptr ? zip_file_add(zip, name, source, 0) : -1;
        if (index < 0) {
            zip_source_free(source);
        } else {
            zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
    };
    add("xl/worksheets/sheet1.xml", sheet);
    if (!strings.empty()) add("xl/sharedStrings.xml", strings);
    std::string bytes;
    zip_stat_t stat;
    if (zip_close(zip) == 0 && zip_source_open(buffer) == 0) {
        if (zip_source_stat(buffer, &stat) == 0) {
            bytes.resize(stat.size);
            if (zip_source_read(buffer, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) bytes.clear();
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string workbook(input);
    if (!input.starts_with("PK")) {
        const std::size_t split = input.find('\0');
        workbook = packed(input.substr(0, split), split == std::string_view::npos ? std::string_view() : input.substr(split + 1));
    }
    const ExchangeTexts& words = exchangeTexts(kGerman);
    useElementImport(readElementXlsx(workbook, words), words);
    return 0;
}
