// The CAD menu: the diagrams and the project drawing on the device the user
// chooses ("CAD-Code": DXF, IGES, the window, the plot tool, TXT).
#include "core/app/menu_rows.h"
#include "core/app/view_commands.h"
#include "core/app/workbench.h"
#include "core/graphics/diagram_run.h"

namespace zam1 {
namespace {

template <DiagramKind Kind>
bool cadChosenDiagram(MenuContext& c) {
    if (Kind != kDiagramOverall && !chooseClosingDimension(c.state, c.closing)) return false;
    cadDiagram(c.state, c.bench.graphics(), Kind, c.closing);
    return false;
}

} // namespace

MenuSection cadMenu() {
    using T = CommonMenuTexts;
    using V = ViewMenuTexts;
    return {"mi_cad", commonCaption<&T::cadMenu>, {
        {.objectName = "mi_cadgesamtgrafik", .caption = viewCaption<&V::overallGraphic>,
         .run = cadChosenDiagram<kDiagramOverall>},
        {.objectName = "mi_cadschema", .caption = viewCaption<&V::scheme>, .run = cadChosenDiagram<kDiagramScheme>},
        {.objectName = "mi_cadmassstaeblich", .caption = viewCaption<&V::chainToScale>,
         .run = cadChosenDiagram<kDiagramToScale>},
        {.objectName = "mi_cadnormalverteilung", .caption = viewCaption<&V::normalDistribution>,
         .run = cadChosenDiagram<kDiagramNormalDistribution>},
        separator(),
        {.objectName = "mi_cadzeichnung", .caption = commonCaption<&T::cadDrawing>,
         .run = [](MenuContext& c) {
             cadProjectDrawing(c.state, c.bench.graphics());
             return false;
         }},
    }};
}

} // namespace zam1
