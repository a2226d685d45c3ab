// The Documentation menu: the drawing information, the change records, the five
// documents and their set-up.
#include "core/app/documentation_commands.h"
#include "core/app/menu_rows.h"
#include "core/app/workbench.h"

namespace zam1 {
namespace {

template <int K>
std::string documentCaption(const MenuContext& c) {
    return commonCaption<&CommonMenuTexts::document>(c) + " &" + std::to_string(K);
}

template <int K>
bool openDocumentK(MenuContext& c) {
    openDocument(c.state, K);
    return false;
}

} // namespace

MenuSection documentationMenu() {
    using T = CommonMenuTexts;
    return {"mi_docu", commonCaption<&T::docuMenu>, {
        {.objectName = "mi_docdrawinginfo", .caption = commonCaption<&T::drawingInfo>,
         .run = [](MenuContext& c) { return editDrawingInfo(c.state, c.bench.documentationDialogs()); },
         .effect = MenuEffect::ChangesProject},
        separator(),
        {.objectName = "mi_docuShowChanges1", .caption = commonCaption<&T::showChanges>,
         .run = [](MenuContext& c) {
             showChangeListing(c.state);
             return false;
         }},
        {.objectName = "mi_docuPrintChanges", .caption = commonCaption<&T::printChanges>,
         .run = [](MenuContext& c) {
             printChangeListing(c.state);
             return false;
         }},
        {.objectName = "mi_docuNewChange", .caption = commonCaption<&T::newChange>,
         .run = [](MenuContext& c) { return newChange(c.state, c.bench.documentationDialogs()); },
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_docuModifyChanges", .caption = commonCaption<&T::modifyChange>,
         .run = [](MenuContext& c) { return modifyChange(c.state, c.bench.documentationDialogs()); },
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_docudeleteChange", .caption = commonCaption<&T::deleteChange>,
         .run = [](MenuContext& c) { return deleteChange(c.state); }, .effect = MenuEffect::ChangesProject},
        separator(),
        {.objectName = "mi_Document1", .caption = documentCaption<1>, .run = openDocumentK<1>},
        {.objectName = "mi_Document2", .caption = documentCaption<2>, .run = openDocumentK<2>},
        {.objectName = "mi_Document3", .caption = documentCaption<3>, .run = openDocumentK<3>},
        {.objectName = "mi_Document4", .caption = documentCaption<4>, .run = openDocumentK<4>},
        {.objectName = "mi_Document5", .caption = documentCaption<5>, .run = openDocumentK<5>},
        {.objectName = "mi_DocumentSetup", .caption = commonCaption<&T::documentSetup>,
         .run = [](MenuContext& c) { return editDocumentSetup(c.state, c.bench.documentationDialogs()); },
         .effect = MenuEffect::ChangesProject},
    }};
}

} // namespace zam1
