// Any bytes given as a project's settings file (project.zm1.json): refused with a
// message or accepted, within bounded memory, and what is accepted writes out and
// reads back as the same settings.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/analysis/sidecar.h"
#include "core/model/chain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    static const std::unique_ptr<Chain> chain = [] {
        auto c = std::make_unique<Chain>();
        c->setElementCount(12);
        c->setClosingCount(4);
        return c;
    }();
    AnalysisData read;
    const SidecarRead result =
        parseSidecar(std::string_view(reinterpret_cast<const char*>(data), size), *chain, read);
    if (!result.ok) {
        if (result.error.empty()) __builtin_trap();
        return 0;
    }
    const std::string written = sidecarText(read);
    AnalysisData again;
    const SidecarRead back = parseSidecar(written, *chain, again);
    if (!back.ok || !back.notes.empty() || sidecarText(again) != written) __builtin_trap();
    return 0;
}
