#include "core/lang/language.h"

#include <cerrno>
#include <iconv.h>

#include "core/lang/text_table.h"
#include "core/platform/file_messages.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr int kWesternCodePage = 1252;
constexpr int kKoreanCodePage = 949;
constexpr int kUtf8CodePage = 65001;

// Converts with the system's converter; false when it has none or the text does
// not fit the target code page.
bool convert(const char* to, const char* from, std::string_view in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string result(in.size() * 4 + 4, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = result.data();
    std::size_t dstLeft = result.size();
    const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) return false;
    result.resize(result.size() - dstLeft);
    out = std::move(result);
    return true;
}

bool koreanConverterPresent() {
    static const bool present = [] {
        std::string probe;
        return convert("CP949", "UTF-8", "\xEB\xA9\x94", probe) && probe.size() == 2;
    }();
    return present;
}

int menuCodePage(int index) {
    if (index != kKorean) return kWesternCodePage;
    return koreanConverterPresent() ? kKoreanCodePage : kUtf8CodePage;
}

std::string menuText(const char* utf8, int index) {
    if (index != kKorean) return utf8ToAnsi(utf8);
    std::string out;
    if (koreanConverterPresent() && convert("CP949", "UTF-8", utf8, out)) return out;
    return utf8;
}

template <typename Table>
void assign(Table& table, const TextTable<Table>& source, int index) {
    for (const TextRow<Table>& row : source.rows) {
        const char* text = row.text[static_cast<std::size_t>(index - 1)];
        if (text == nullptr) text = "";
        table.*row.field = source.windowsCodePage ? menuText(text, index) : utf8ToOem(text);
    }
}

template <typename Table>
bool load(Table& table, const TextTable<Table>& source, int index) {
    if (!source.has(index)) return false; // the table keeps the texts it has
    assign(table, source, index);
    return true;
}

std::string menuToUtf8(int codePage, std::string_view text) {
    if (codePage == kWesternCodePage) return ansiToUtf8(text);
    if (codePage == kKoreanCodePage) {
        std::string out;
        if (convert("UTF-8", "CP949", text, out)) return out;
        return ansiToUtf8(text);
    }
    return std::string(text);
}

} // namespace

LanguageTexts::LanguageTexts() {
    assign(menu, commonMenuTable(), kGerman);
    assign(viewMenu, viewMenuTable(), kGerman);
    assign(main, mainTextTable(), kGerman);
    assign(report, reportTextTable(), kGerman);
    assign(closingEditor, closingEditorTable(), kGerman);
    assign(tolerance, generalToleranceTable(), kGerman);
    assign(messages, messageTable(), kGerman);
}

void loadLanguage(LanguageTexts& t, int index) {
    if (load(t.menu, commonMenuTable(), index)) {
        t.menu.preview = "&Preview";
        t.commonMenuCodePage = menuCodePage(index);
    }
    if (load(t.viewMenu, viewMenuTable(), index)) t.viewMenuCodePage = menuCodePage(index);
    load(t.main, mainTextTable(), index);
    load(t.report, reportTextTable(), index);
    load(t.closingEditor, closingEditorTable(), index);
    load(t.tolerance, generalToleranceTable(), index);
    load(t.messages, messageTable(), index);
    setSystemReasonLanguage(index);
}

void setLanguage(LanguageTexts& texts, int index, int& configuredLanguage) {
    configuredLanguage = index;
    loadLanguage(texts, index);
}

std::string commonMenuToUtf8(const LanguageTexts& t, std::string_view text) {
    return menuToUtf8(t.commonMenuCodePage, text);
}

std::string viewMenuToUtf8(const LanguageTexts& t, std::string_view text) {
    return menuToUtf8(t.viewMenuCodePage, text);
}

} // namespace zam1
