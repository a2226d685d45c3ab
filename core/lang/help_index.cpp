#include "core/lang/help_index.h"

#include <algorithm>
#include <array>

#include "core/platform/install_paths.h"

namespace zam1 {
namespace {

// Numbers set by the dialogs and by callers of the prompts just before they open.
constexpr std::array kTopics{
    HelpTopic{1000, "edit.html"},          // general tolerance dialog
    HelpTopic{1970, "help.html"},          // explanation of a calculation message
    HelpTopic{2100, "file.html"},          // settings
    HelpTopic{2200, "edit.html"},          // project texts
    HelpTopic{3100, "view.html"},          // choice of the closing dimension
    HelpTopic{3400, "file.html"},          // project overview table
    HelpTopic{3500, "view.html"},          // Monte Carlo settings
    HelpTopic{3510, "view.html"},          // tolerance allocation
    HelpTopic{3600, "excel.html"},         // spreadsheet exchange
    HelpTopic{5100, "edit.html"},          // production factor sigma
    HelpTopic{5140, "edit.html"},          // number of elements
    HelpTopic{5150, "edit.html"},          // decimals of the element table
    HelpTopic{5200, "edit.html"},          // sigma of one element
    HelpTopic{5400, "edit.html"},          // list of closing dimensions
    HelpTopic{5410, "edit.html"},          // insert a closing dimension before ...
    HelpTopic{5450, "edit.html"},          // delete a closing dimension
    HelpTopic{6010, "edit.html"},          // record dialog: from element
    HelpTopic{6015, "edit.html"},          // record dialog: to element
    HelpTopic{6020, "edit.html"},          // record dialog: texts
    HelpTopic{6200, "edit.html"},          // inclined dimension (angle)
    HelpTopic{6600, "view.html"},          // project drawing
    HelpTopic{7010, "documentation.html"}, // drawing information
    HelpTopic{7020, "documentation.html"}, // change record
    HelpTopic{7050, "documentation.html"}, // document set-up
    HelpTopic{9010, "edit.html"},          // element table
    HelpTopic{9020, "edit.html"},          // one closing dimension
};

static_assert(std::ranges::is_sorted(kTopics, {}, &HelpTopic::number));

} // namespace

std::span<const HelpTopic> helpTopics() { return kTopics; }

std::string helpLanguageFolder(int language) {
    switch (language) {
    case 0:
    case 1: return "de";
    case 3: return "fr";
    default: return "en";
    }
}

std::string helpPage(int number, int language) {
    const std::string folder = helpLanguageFolder(language) + "/";
    const auto found = std::ranges::lower_bound(kTopics, number, {}, &HelpTopic::number);
    if (found == kTopics.end() || found->number != number) return folder + "index.html";
    return folder + found->page + "#h" + std::to_string(number);
}

std::string manualFolder() { return dataPath("manual"); }

} // namespace zam1
