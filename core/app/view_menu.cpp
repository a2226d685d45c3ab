// The View menu: the reports on the configured report device, the diagrams and
// the project drawing in the graphics window, the calculation's messages and
// the Monte Carlo analysis.
#include "core/app/menu_rows.h"
#include "core/app/report_setup.h"
#include "core/app/show_result.h"
#include "core/app/view_commands.h"
#include "core/app/workbench.h"
#include "core/graphics/diagram_run.h"
#include "core/messages/message_display.h"
#include "core/report/calculation_reports.h"
#include "core/report/cross_reference.h"
#include "core/report/main_report.h"

namespace zam1 {
namespace {

// A report through the output channel of a menu command.
template <typename Write>
bool report(MenuContext& c, Write write) {
    c.state.error.clear();
    CommandChannel channel(c.state);
    write(c.state.chain, channel.out);
    return false;
}

template <DiagramKind Kind>
bool viewChosenDiagram(MenuContext& c) {
    if (!chooseClosingDimension(c.state, c.closing)) return false;
    viewDiagram(c.state, c.bench.graphics(), Kind, c.closing);
    return false;
}

bool viewMonteCarloAnalysis(MenuContext& c) {
    c.state.error.clear();
    if (c.state.chain.closingCount() == 0) return chooseClosingDimension(c.state, c.closing);
    if (!c.bench.editMonteCarlo(c.closing)) return false;
    viewMonteCarlo(c.state, c.bench.graphics(), c.closing);
    return false;
}

// The allocation entry came after the language tables: its captions are here,
// UTF-8, German for the languages without one of their own.
std::string allocationCaption(const MenuContext& c) {
    switch (c.state.config.language) {
    case kEnglish: return "Tolerance allocat&ion ...";
    case kFrench: return "Ré&partition des tolérances ...";
    default: return "T&oleranzverteilung ...";
    }
}

// The allocation dialog; a proposal taken over changes the chain as one undoable
// step, and the window shows the changed chain's result.
bool allocateTolerances(MenuContext& c) {
    c.state.error.clear();
    if (c.state.chain.closingCount() == 0) return chooseClosingDimension(c.state, c.closing);
    if (!c.bench.allocateTolerances(c.closing)) return false;
    showResult(c);
    return true;
}

} // namespace

bool viewOverallGraphic(MenuContext& c) {
    viewDiagram(c.state, c.bench.graphics(), kDiagramOverall, c.closing);
    return false;
}

bool showErrorMessages(MenuContext& c) {
    c.state.error.clear();
    showProjectMessages(c.state, c.bench.explanationView());
    return false;
}

MenuSection viewMenu() {
    using T = CommonMenuTexts;
    using V = ViewMenuTexts;
    return {"mi_view", commonCaption<&T::viewMenu>, {
        {.objectName = "mi_ViewStandard", .caption = commonCaption<&T::viewStandard>,
         .run = [](MenuContext& c) {
             viewStandardReport(c.state);
             return false;
         }},
        {.objectName = "mi_ViewExcerpt", .caption = commonCaption<&T::viewExcerpt>,
         .run = [](MenuContext& c) {
             return report(c, [](Chain& chain, OutputChannel& out) { writeExcerptReport(chain, out, kReportAsk); });
         }},
        {.objectName = "mi_viewnullabstaende", .caption = viewCaption<&V::zeroDistances>,
         .run = [](MenuContext& c) {
             return report(c, [](Chain& chain, OutputChannel& out) { reportZeroDistances(chain, out); });
         }},
        {.objectName = "mi_viewschliessmassundstat", .caption = viewCaption<&V::closingStatistics>,
         .run = [](MenuContext& c) {
             return report(c, [&c](Chain& chain, OutputChannel& out) { reportClosingStatistics(chain, out, c.closing); });
         }},
        {.objectName = "mi_viewmasskette",
         .caption = [](const MenuContext& c) {
             return viewCaption<&V::chain>(c) + " (" + viewCaption<&V::printout>(c) + ")";
         },
         .run = [](MenuContext& c) {
             return report(c, [&c](Chain& chain, OutputChannel& out) { reportChainListing(chain, out, c.closing); });
         }},
        {.objectName = "mi_viewquerverweis", .caption = viewCaption<&V::crossReference>,
         .run = [](MenuContext& c) {
             return report(c, [](Chain& chain, OutputChannel& out) { writeCrossReferenceOne(chain, out); });
         }},
        {.objectName = "mi_viewquerverweise", .caption = viewCaption<&V::crossReferences>,
         .run = [](MenuContext& c) {
             return report(c, [](Chain& chain, OutputChannel& out) { writeCrossReferenceAll(chain, out); });
         }},
        separator(),
        {.objectName = "mi_viewgesamtgrafik", .caption = viewCaption<&V::overallGraphic>, .run = viewOverallGraphic},
        {.objectName = "mi_viewschema", .caption = viewCaption<&V::scheme>, .run = viewChosenDiagram<kDiagramScheme>},
        {.objectName = "mi_viewmasstaeblich", .caption = viewCaption<&V::chainToScale>,
         .run = viewChosenDiagram<kDiagramToScale>},
        {.objectName = "mi_viewnormalverteilung", .caption = viewCaption<&V::normalDistribution>,
         .run = viewChosenDiagram<kDiagramNormalDistribution>},
        {.objectName = "mi_viewzeichnung", .caption = commonCaption<&T::viewDrawing>,
         .run = [](MenuContext& c) {
             viewProjectDrawing(c.state, c.bench.graphics());
             return false;
         }},
        separator(),
        {.objectName = "mi_viewmontecarlo",
         .caption = [](const MenuContext&) { return std::string("Monte Car&lo ..."); },
         .run = viewMonteCarloAnalysis},
        {.objectName = "mi_viewtoleranzverteilung", .caption = allocationCaption, .run = allocateTolerances,
         .effect = MenuEffect::ChangesProject},
        separator(),
        {.objectName = "mi_viewerrormessages",
         .caption = [](const MenuContext& c) {
             return errorMessagesEntry(c.state.texts, c.state.chain.messages.count()).caption;
         },
         .run = showErrorMessages,
         .enabled = [](const MenuContext& c) { return c.state.chain.messages.count() != 0; }},
    }};
}

} // namespace zam1
