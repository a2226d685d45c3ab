#include "core/platform/desktop_recent.h"

#include <expat.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/platform/file_io.h"
#include "core/platform/path_parts.h"

namespace zam1 {
namespace {

constexpr std::string_view kMimeType = "application/x-zam1-project";
constexpr std::string_view kApplication = "ZAM1";
constexpr std::string_view kExec = "wzam1 %u";
constexpr std::size_t kMaxListBytes = 64u << 20;

constexpr std::string_view kEmptyList =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xbel version=\"1.0\"\n"
    "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
    "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
    ">\n"
    "</xbel>\n";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The path of a "file://" URI; empty for any other URI.
std::string pathOfUri(std::string_view uri) {
    constexpr std::string_view scheme = "file://";
    if (!uri.starts_with(scheme)) return {};
    uri.remove_prefix(scheme.size());
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hexValue(uri[i + 1]) >= 0 && hexValue(uri[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(uri[i + 1]) * 16 + hexValue(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    return path;
}

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string isoTime(std::time_t at) {
    std::tm utc{};
    gmtime_r(&at, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

const char* attribute(const XML_Char** attributes, std::string_view name) {
    for (const XML_Char** a = attributes; *a != nullptr; a += 2) {
        if (name == *a) return a[1];
    }
    return nullptr;
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

// What the merge needs to know of the list: that it is a bookmark file that
// declares the two namespaces, where it ends, and the entry of our file.
struct ListScan {
    std::string_view text;
    std::string wantedPath;
    XML_Parser parser = nullptr;
    std::vector<Span> open;  // the start tags of the elements around the parser's position
    bool bookmarkFile = false;
    std::size_t rootEndTag = std::string::npos;
    bool found = false;
    bool insideWanted = false;
    Span wanted;
    std::string added;
    long count = 0;
    std::size_t otherApplicationDepth = 0;  // nonzero inside another program's application element
    std::vector<std::string> otherApplications;
};

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& scan = *static_cast<ListScan*>(data);
    const auto at = static_cast<std::size_t>(XML_GetCurrentByteIndex(scan.parser));
    const auto length = static_cast<std::size_t>(XML_GetCurrentByteCount(scan.parser));
    scan.open.push_back({at, at + length});
    const std::string_view element = name;
    const std::size_t depth = scan.open.size();
    if (depth == 1) {
        scan.bookmarkFile = element == "xbel" && attribute(attributes, "xmlns:bookmark") != nullptr &&
                            attribute(attributes, "xmlns:mime") != nullptr;
    } else if (depth == 2 && element == "bookmark" && !scan.found) {
        const char* href = attribute(attributes, "href");
        if (href != nullptr && pathOfUri(href) == scan.wantedPath) {
            scan.found = scan.insideWanted = true;
            scan.wanted.begin = at;
            const char* added = attribute(attributes, "added");
            if (added != nullptr) scan.added = added;
        }
    } else if (scan.insideWanted && element == "bookmark:application") {
        const char* program = attribute(attributes, "name");
        if (program != nullptr && program == kApplication) {
            const char* count = attribute(attributes, "count");
            if (count != nullptr) scan.count = std::strtol(count, nullptr, 10);
        } else if (scan.otherApplicationDepth == 0) {
            scan.otherApplicationDepth = depth;
        }
    }
}

void XMLCALL endElement(void* data, const XML_Char*) {
    auto& scan = *static_cast<ListScan*>(data);
    const auto at = static_cast<std::size_t>(XML_GetCurrentByteIndex(scan.parser));
    const auto length = static_cast<std::size_t>(XML_GetCurrentByteCount(scan.parser));
    const Span start = scan.open.back();
    const std::size_t depth = scan.open.size();
    scan.open.pop_back();
    // An empty element ("<a/>") has no end tag of its own.
    const std::size_t end = length == 0 ? start.end : at + length;
    if (depth == 1 && length != 0) scan.rootEndTag = at;
    if (depth == 2 && scan.insideWanted) {
        scan.wanted.end = end;
        scan.insideWanted = false;
    }
    if (depth == scan.otherApplicationDepth) {
        scan.otherApplications.emplace_back(scan.text.substr(start.begin, end - start.begin));
        scan.otherApplicationDepth = 0;
    }
}

// False when `text` is not well-formed XML.
bool scanList(ListScan& scan) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    if (parser == nullptr) return false;
    scan.parser = parser;
    XML_SetUserData(parser, &scan);
    XML_SetElementHandler(parser, startElement, endElement);
    const bool wellFormed =
        XML_Parse(parser, scan.text.data(), static_cast<int>(scan.text.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    scan.parser = nullptr;
    return wellFormed;
}

std::string bookmarkElement(const std::string& file, const ListScan& scan, std::time_t now) {
    const std::string time = isoTime(now);
    const std::string added = scan.added.empty() ? time : scan.added;
    std::string out = "<bookmark href=\"" + escaped(fileUri(file)) + "\" added=\"" + escaped(added) +
                      "\" modified=\"" + time + "\" visited=\"" + time + "\">\n";
    out += "    <info>\n"
           "      <metadata owner=\"http://freedesktop.org\">\n"
           "        <mime:mime-type type=\"" + std::string(kMimeType) + "\"/>\n"
           "        <bookmark:applications>\n";
    for (const std::string& other : scan.otherApplications) out += "          " + other + "\n";
    out += "          <bookmark:application name=\"" + std::string(kApplication) + "\" exec=\"" +
           escaped(kExec) + "\" modified=\"" + time + "\" count=\"" + std::to_string(scan.count + 1) + "\"/>\n";
    out += "        </bookmark:applications>\n"
           "      </metadata>\n"
           "    </info>\n"
           "  </bookmark>";
    return out;
}

} // namespace

std::string desktopRecentListPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') return pathIn(data, "recently-used.xbel");
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share/recently-used.xbel";
}

std::string fileUri(const std::string& path) {
    // What GLib leaves as it is in a file URI's path; every other byte is escaped.
    constexpr std::string_view kPlain = "!$&'()*+,-./:;=@_~";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x80 && std::isalnum(byte) != 0) || kPlain.find(c) != std::string_view::npos) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 0xF];
        }
    }
    return uri;
}

bool addToDesktopRecentList(const std::string& listPath, const std::string& file, std::time_t now) {
    std::string text;
    if (!fileExists(listPath)) {
        text = kEmptyList;
    } else if (readWholeFile(listPath, text, kMaxListBytes) != kIoOk) {
        return false;
    }
    ListScan scan;
    scan.text = text;
    scan.wantedPath = file;
    if (!scanList(scan) || !scan.bookmarkFile || scan.rootEndTag == std::string::npos) return false;
    const std::string element = bookmarkElement(file, scan, now);
    std::string merged = text;
    if (scan.found) {
        merged.replace(scan.wanted.begin, scan.wanted.end - scan.wanted.begin, element);
    } else {
        merged.insert(scan.rootEndTag, "  " + element + "\n");
    }
    // Whatever the list held, the result must still be a list the desktop reads.
    ListScan check;
    check.text = merged;
    if (!scanList(check) || !check.bookmarkFile) return false;
    std::error_code ignored;
    std::filesystem::create_directories(folderOf(listPath), ignored);
    return writeFileSafely(listPath, merged) == kIoOk;
}

} // namespace zam1
