#include "core/graphics/block_file.h"

#include "core/text/number_format.h"

namespace zam1 {
namespace {

// Group code/value pairs of a DXF text, CR LF or LF.
class PairReader {
public:
    explicit PairReader(std::string_view text) : m_text(text) {}

    bool next(int& code, std::string_view& value) {
        std::string_view codeLine;
        if (!line(codeLine) || !line(value)) return false;
        long long c = -1;
        code = parseInteger(codeLine, c) ? static_cast<int>(c) : -1;
        return true;
    }

private:
    bool line(std::string_view& out) {
        if (m_text.empty()) return false;
        const auto end = m_text.find('\n');
        out = m_text.substr(0, end);
        m_text = end == std::string_view::npos ? std::string_view() : m_text.substr(end + 1);
        if (!out.empty() && out.back() == '\r') out.remove_suffix(1);
        return true;
    }

    std::string_view m_text;
};

bool entityKind(std::string_view type, BlockEntity::Kind& kind) {
    if (type == "LINE") kind = BlockEntity::Kind::Line;
    else if (type == "CIRCLE") kind = BlockEntity::Kind::Circle;
    else if (type == "ARC") kind = BlockEntity::Kind::Arc;
    else if (type == "TEXT") kind = BlockEntity::Kind::Text;
    else if (type == "SOLID") kind = BlockEntity::Kind::Solid;
    else return false;
    return true;
}

void apply(BlockEntity& e, int code, std::string_view value) {
    const long double v = numberOrZero(value);
    if (code >= 10 && code <= 13) e.points[static_cast<std::size_t>(code - 10)].x = v;
    else if (code >= 20 && code <= 23) e.points[static_cast<std::size_t>(code - 20)].y = v;
    else if (code == 8) e.layer = std::string(value);
    else if (code == 1) e.text = std::string(value);
    else if (code == 40) (e.kind == BlockEntity::Kind::Text ? e.height : e.radius) = v;
    else if (code == 41) e.widthFactor = v;
    else if (code == 50) (e.kind == BlockEntity::Kind::Text ? e.angleDeg : e.startDeg) = v;
    else if (code == 51 && e.kind == BlockEntity::Kind::Arc) e.endDeg = v;
}

} // namespace

std::vector<BlockEntity> readBlockEntities(std::string_view dxf) {
    std::vector<BlockEntity> out;
    PairReader reader(dxf);
    int code = 0;
    std::string_view value;
    bool inEntity = false;
    while (reader.next(code, value)) {
        if (code == 0) {
            BlockEntity e;
            inEntity = entityKind(value, e.kind);
            if (inEntity) out.push_back(std::move(e));
            if (value == "EOF") break;
            continue;
        }
        if (inEntity) apply(out.back(), code, value);
    }
    return out;
}

} // namespace zam1
