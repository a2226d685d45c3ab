// The report, closing-dimension editor, general-tolerance and message tables.
#include "core/lang/text_table.h"

namespace zam1 {
namespace {

using R = ReportTexts;

constexpr TextRow<R> kReportRows[] = {
    {&R::dimensionElements, {"Maßelemente", "dimension elements", "éléments de cote"}},
    {&R::criticalDistances, {"kritische Abstände", "critical distances", "cotes critiques"}},
    {&R::all, {"Alles", "All", "Tout"}},
    {&R::whatToDelete, {"Was soll gelöscht werden", "What is to be deleted", "Que faut-il supprimer"}},
    {&R::productionSigma, {"Fertigungsvorschrift Sigma", "production factor sigma", "facteur de fabrication sigma"}},
    {&R::dimensionalStructure, {"MASSAUFBAU", "DIMENSIONAL STRUCTURE", "STRUCTURE DES COTES"}},
    {&R::classicHeading,
     {"Klassische Methode mit konstanter Verteilung", "Classic Method at constant distribution",
      "Méthode classique à distribution constante"}},
    {&R::statisticalHeading,
     {"Statistische Methode mit Gaußscher Normalverteilung", "Statistical method at Gaussian distribution",
      "Méthode statistique à distribution normale de Gauss"}},
    {&R::maxDim, {"Größtmass", "Max.dim.", "Cote max."}},
    {&R::nominalDim, {"Nennmass", "Nom.dim.", "Cote nom."}},
    {&R::meanDim, {"Mittelmass", "Aver.dim.", "Cote moy."}},
    {&R::minDim, {"Kleinstmass", "Min.dim.", "Cote min."}},
    {&R::statisticalEvaluation, {"Statist.Auswertung", "Statist.evaluation", "Évaluation statist."}},
    {&R::tolerance, {"Toleranz", "tolerance", "tolérance"}},
    {&R::elementNumber, {"El.Nr.", "El.No.", "N° él."}},
    {&R::predecessor, {"Vorg.el.", "pred.el.", "él.préc."}},
    {&R::upperTolerance, {"ob.Tol.", "up.tol.", "tol.sup."}},
    {&R::lowerTolerance, {"unt.Tol.", "low.tol.", "tol.inf."}},
    {&R::newPageQuestion,
     {"Neue Seite nach Elementliste ?", "New page after element list ?", "Nouvelle page après la liste des éléments ?"}},
    {&R::probabilityRange, {"Wahrscheinlichkeitsbereich", "probability range", "plage de probabilité"}},
    {&R::probabilityInterval, {"Wahrscheinlichkeitsintervall", "probability interval", "intervalle de probabilité"}},
    {&R::rangeCaption1,
     {"   z      Erwartungs-    Wahrschein-      Erwartungs-    Wahrschein-",
      "   z      expected       probability      expected       probability",
      "   z      valeur         probabi-         valeur         probabi-"}},
    {&R::rangeCaption2,
     {"[Sigma]      wert         lichkeit          wert          lichkeit",
      "[Sigma]      value                           value",
      "[Sigma]    attendue       lité            attendue        lité"}},
    {&R::intervalCaption1,
     {"  z         Maßintervall für den         Wahrschein-    Ausschuß-",
      "  z         dimension interval for       probability    reject",
      "  z         intervalle de cote pour      probabi-       taux de"}},
    {&R::intervalCaption2,
     {"[Sigma]        Erwartungswert             lichkeit        quote",
      "[Sigma]        expected value                            rate",
      "[Sigma]        valeur attendue             lité           rebut"}},
    {&R::enterElementsFirst,
     {"Zuerst müssen die Maßelemente eingegeben werden", "First of all the elements have to be inputted",
      "Il faut d'abord saisir les éléments de cote"}},
    {&R::dimensionChain, {"MASSKETTE", "DIMENSION CHAIN", "CHAÎNE DE COTES"}},
    {&R::chainCaption,
     {"El.Nr.  Text                    Distanz             Nennmaß    Anteil",
      "El.No.  Text                    Distance            Nom.Dim.   perct.",
      "N° él.  Texte                   Distance            Nominale   part"}},
    {&R::closingConstant,
     {"Schließmaße bei konstanter Verteilung", "Closing dimensions for constant distribution",
      "Cotes résultantes à distribution constante"}},
    {&R::closingGaussian,
     {"Schließmaße bei Gaußscher Normalverteilung", "Closing dimensions for Gaussian distribution",
      "Cotes résultantes à distribution normale de Gauss"}},
    {&R::closingDimensions, {"Schließmaße", "Closing dimensions", "Cotes résultantes"}},
    {&R::closingDimension, {"Schließmaß", "closing dim.", "cote résult."}},
    {&R::at, {"bei", "at", "à"}},
    {&R::share, {"Anteil", "perct.", "part"}},
    {&R::version, {"Version", "Version", "Version"}},
    {&R::file, {"Datei", "File", "Fichier"}},
    {&R::selectClosing, {"kritischen Abstand wählen", "select critical distance", "choisir la cote critique"}},
    {&R::noClosing,
     {"keine kritischen Abstände definiert", "no critical distances definded", "aucune cote critique définie"}},
    {&R::back, {"zurück", "return", "retour"}},
    {&R::elementNo, {"Element Nr.", "Element No.", "Élément n°"}},
    {&R::involvedIn,
     {"ist beteiligt an folgenden kritischen Abständen", "is involved in the following critical distances",
      "intervient dans les cotes critiques suivantes"}},
    {&R::messagesHeading,
     {"BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN", "REMARKS, WARNINGS, ERROR MESSAGES",
      "REMARQUES, AVERTISSEMENTS, MESSAGES D'ERREUR"}},
    {&R::colElement, {"El.", "El.", "Él."}},
    {&R::colPredecessor, {" Vorg.", " Pred.", " Préc."}},
    {&R::colNominal, {"   Nennmaß", "  Nom.dim.", " Cote nom."}},
    {&R::colUpperDev, {"  ob.Abm.", "  up.dev.", "  éc.sup."}},
    {&R::colLowerDev, {" unt.Abm.", " low.dev.", "  éc.inf."}},
    {&R::colIso, {"    ISO", "    ISO", "    ISO"}},
    {&R::colText, {"   Text", "   Text", "   Texte"}},
    {&R::colDis, {"Dis", "Dis", "Cot"}},
    {&R::colTanz, {"tanz", "t.", "e"}},
    {&R::colMean, {"   Mit.maß", " Mean dim.", " Cote moy."}},
    {&R::colUpperTol, {"   ob.T.", "  up.tol", " tol.sup"}},
    {&R::colLowerTol, {"  u.Tol.", " low.tol", " tol.inf"}},
    {&R::colMax, {"  Größtmaß", "  Max.dim.", " Cote max."}},
    {&R::colMin, {"    Kl.maß", "  Min.dim.", " Cote min."}},
    {&R::colRemark, {" Bemerkung", " Remark", " Remarque"}},
    {&R::info, {"Info", "Info", "Info"}},
    {&R::normalityDoubtful,
     {"Normalverteilung der Messwerte zweifelhaft (Anderson-Darling p < 0,05)",
      "normal distribution of the measured values doubtful (Anderson-Darling p < 0.05)",
      "distribution normale des valeurs mesurées douteuse (Anderson-Darling p < 0,05)"}},
};

using C = ClosingEditorTexts;

constexpr TextRow<C> kClosingRows[] = {
    {&C::enterClosing, {"Kritischen Abstand eingeben", "Enter critical distance", "Saisir la cote critique"}},
    {&C::fromElement, {"von Element", "from element", "de l'élément"}},
    {&C::toElement, {"bis Element", "to element", "à l'élément"}},
    {&C::tooManyData, {"Zu viele Daten", "Too many data", "Trop de données"}},
    {&C::tooManyClosing, {"Zu viele Schließmaße", "Too many closing dimensions", "Trop de cotes résultantes"}},
    {&C::insertBefore,
     {"Vor welches Schließmaß soll eingefügt werden", "In front of what distance do you want to insert",
      "Devant quelle cote faut-il insérer"}},
    {&C::selectToDelete,
     {"zu löschendes Schließmaß wählen", "select closing dim. to delete", "choisir la cote à supprimer"}},
    {&C::text, {"Text", "Text", "Texte"}},
    {&C::group, {"Gruppe", "group", "groupe"}},
    {&C::groups, {"Gruppen", "groups", "groupes"}},
};

using G = GeneralToleranceTexts;

constexpr TextRow<G> kToleranceRows[] = {
    {&G::generalTolerance, {"Freimasstoleranz", "standard dimension tolerance", "tolérance générale"}},
    {&G::none, {"keine Vorgabetoleranz", "no general tolerance", "pas de tolérance générale"}},
    {&G::constant, {"konstante Toleranz", "constant tolerance", "tolérance constante"}},
    {&G::plasticParts, {"Kunststoff-Formteile", "plastic moulded parts", "pièces moulées en plastique"}},
    {&G::punchedParts, {"Stanzteile", "punched parts", "pièces découpées"}},
    {&G::extrudedParts, {"Fließpreßteile", "extruded parts", "pièces filées"}},
    {&G::fine, {"fein", "fine", "fin"}},
    {&G::medium, {"mittel", "medium", "moyen"}},
    {&G::coarse, {"grob", "coarse", "grossier"}},
    {&G::veryCoarse, {"sehr grob", "very coarse", "très grossier"}},
    {&G::toleranceGroup, {"Toleranzgruppe", "tolerance group", "groupe de tolérance"}},
    {&G::toleranceClass, {"Toleranzklasse", "tolerance class", "classe de tolérance"}},
    {&G::precisionEngineering, {"Feinwerktechnik", "precision engineering", "mécanique de précision"}},
    {&G::dimensions, {"Maße", "dimensions", "cotes"}},
    {&G::notWord, {"nicht", "not", "non"}},
    {&G::mouldBound, {"formgebunden", "mould-bound", "liées au moule"}},
    {&G::thicknessRange, {"Dickenbereich", "thickness range", "plage d'épaisseur"}},
    {&G::fromWord, {"von", "from", "de"}},
    {&G::toWord, {"bis", "to", "à"}},
    {&G::aboveWord, {"über", "above", "au-dessus de"}},
    {&G::materialGroup, {"Werkstoffgruppe", "material group", "groupe de matériau"}},
    {&G::toolBound, {"werkzeuggebunden", "tool-bound", "liées à l'outil"}},
    {&G::notToolBound, {"nicht werkzeuggebunden", "not tool-bound", "non liées à l'outil"}},
};

using S = MessageTexts;

// Languages in index order: German, English, French, Italian, Swedish,
// Portuguese, (Romanian: none), (Korean: none), Spanish.
constexpr TextRow<S> kMessageRows[] = {
    {&S::loaded, {"geladen", "loaded.", "charger", "caricato", "inläst.", "carregado", nullptr, nullptr, "leer."}},
    {&S::saved, {"gespeichert", "saved.", "enregistrer", "salvato", "sparad.", "salvo", nullptr, nullptr, "ahorrare."}},
    {&S::version, {"Version", "Version", "Version", "Versione", "Version", "Versao", nullptr, nullptr, "Versión"}},
    {&S::newerData,
     {"Neue Werte ab Version", "new data with version", "new donnée avec version", "nuovi dati dalla versione",
      "nya data med version", "novos dados a partir da versao", nullptr, nullptr, "Los Datos Nuevos con la version"}},
    {&S::calculationDone,
     {"Berechnung durchgeführt", "calculation done", "Calcul effectué", "calcolo effettuato", "beräkning slutförd",
      "calculo realizado", nullptr, nullptr, "hecho el cálculo"}},
    {&S::workingCopyName, {"aktuell", "actual", "actuel", "attuale", "aktuell", "atual", nullptr, nullptr, "actual"}},
    {&S::invalidFile,
     {"ungültiges Dateiformat", "Invalid code", "code fichers pas valable", "formato file non valido",
      "invalid file format", "Codigo invalido", nullptr, nullptr, "Invalid code"}},
};

constexpr unsigned kGermanEnglishFrench = languageBits({kGerman, kEnglish, kFrench});

constexpr TextTable<R> kReportTable{kReportRows, kGermanEnglishFrench, false};
constexpr TextTable<C> kClosingTable{kClosingRows, kGermanEnglishFrench, false};
constexpr TextTable<G> kToleranceTable{kToleranceRows, kGermanEnglishFrench, false};
constexpr TextTable<S> kMessageTable{
    kMessageRows, languageBits({kGerman, kEnglish, kFrench, kItalian, kSwedish, kPortuguese, kSpanish}), false};

} // namespace

const TextTable<ReportTexts>& reportTextTable() { return kReportTable; }
const TextTable<ClosingEditorTexts>& closingEditorTable() { return kClosingTable; }
const TextTable<GeneralToleranceTexts>& generalToleranceTable() { return kToleranceTable; }
const TextTable<MessageTexts>& messageTable() { return kMessageTable; }

} // namespace zam1
