#include "core/platform/desktop.h"

namespace zam1 {

bool HeadlessDesktop::showTextFile(const std::string& path, std::string_view title) {
    m_log.push_back("show " + path + " (" + std::string(title) + ")");
    return true;
}

bool HeadlessDesktop::printTextFile(const std::string& path) {
    m_log.push_back("print " + path);
    return true;
}

bool HeadlessDesktop::startProgram(const std::string& program, const std::vector<std::string>& arguments) {
    std::string entry = "start " + program;
    for (const std::string& a : arguments) entry += " " + a;
    m_log.push_back(entry);
    return true;
}

bool HeadlessDesktop::openInBrowser(const std::string& path) {
    m_log.push_back("browse " + path);
    return true;
}

bool HeadlessDesktop::copyToClipboard(std::string_view text) {
    m_log.push_back("clipboard " + std::to_string(text.size()) + " bytes");
    return true;
}

void HeadlessDesktop::showGraphicsWindow() { m_log.emplace_back("graphics"); }

PdfResult HeadlessDesktop::writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout&) {
    m_log.push_back("pdf " + textFile + " -> " + pdfPath);
    return PdfResult::Unavailable;
}

} // namespace zam1
