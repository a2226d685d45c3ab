#pragma once
// Projects for the file tests and the benchmark: every text at its capacity, with
// umlauts and other OEM bytes, numbers of every line kind.

#include <memory>
#include <string>

#include "core/model/chain.h"
#include "core/records/documentation.h"

namespace zam1::test {

struct SampleProject {
    std::unique_ptr<Chain> chain = std::make_unique<Chain>();
    ProjectTexts texts;
    Documentation docs;
};

// A text of exactly `length` bytes that starts with `seed` and holds OEM umlauts.
inline std::string filledText(const std::string& seed, std::size_t length) {
    std::string text = seed + " \x84\x94\x81\x8E\x99\x9A\xE1 |,.;";
    while (text.size() < length) text += static_cast<char>('a' + text.size() % 26);
    return text.substr(0, length);
}

inline SampleProject sampleProject(int elements, int closings, int changes, int textRows) {
    SampleProject p;
    Chain& c = *p.chain;
    c.setElementCount(elements);
    for (int n = 1; n <= elements; ++n) {
        Element& e = c.element(n);
        e.predecessor = n - 1;
        e.positive = n % 3 != 0;
        e.distance = n % 5 == 0 ? 40 : 12.5L + n * 0.125L;
        e.upperDev = n % 4 == 0 ? 0 : 0.05L;
        e.lowerDev = n % 2 == 0 ? -0.05L : -1;
        e.isoLetters = n % 7 == 0 ? "js" : "";
        e.isoGrade = n % 7 == 0 ? 12 : 0;
        e.text = filledText("El" + std::to_string(n), 18);
        e.remark = filledText("Bemerkung " + std::to_string(n), 60);
    }
    c.setClosingCount(closings);
    for (int k = 1; k <= closings; ++k) {
        ClosingDimension& d = c.closing(k);
        d.fromElement = k % (elements + 1);
        d.toElement = (k * 7) % (elements + 1);
        d.text = filledText("S" + std::to_string(k), 17);
        d.remark = filledText("Schlie\xE1ma\xE1 " + std::to_string(k), 50);
    }
    c.productionSigma = 3;
    c.decimals = 4;
    for (int i = 0; i < 3; ++i) p.texts.remarkLines[static_cast<std::size_t>(i)] = filledText("Zeile", 65);
    p.texts.drawingName = filledText("Name", 25);
    p.texts.drawingName2 = filledText("Name2", 30);
    p.texts.drawingNumber = filledText("Nr", 18);
    startDocumentation(p.docs, "07.12.2026");
    for (int i = 0; i < changes; ++i) {
        ChangeRecord& r = p.docs.changes[static_cast<std::size_t>(i)];
        r.changeId = filledText("A" + std::to_string(i), 20);
        r.changeDate = "01.02.2026";
        r.changeEditor = "M\x81ll.";
        r.changeDescription = filledText("erste Zeile\rzweite Zeile\r", 255);
    }
    p.docs.changeCount = changes;
    DrawingInfo& info = p.docs.drawing;
    info.drawnName = filledText("Bearb", 10);
    info.checkedName = filledText("Gepr", 10);
    info.standardsName = "Norm";
    info.approvalDate = "24.12.2026";
    info.approvalName = filledText("Frei", 10);
    info.replaces = filledText("Alt", 15);
    info.replacedBy = filledText("Neu", 15);
    for (int i = 0; i < textRows; ++i) {
        DrawingTextRow& row = info.textRows[static_cast<std::size_t>(i)];
        row.x = 10 + i;
        row.y = 0.05L * i;
        row.h = 3.5L;
        row.phi = -90 + 45 * i;
        row.text = filledText("Text " + std::to_string(i), 80);
    }
    info.textRowCount = textRows;
    p.docs.documents[1].programPath = filledText("/usr/bin/prog", 50);
    p.docs.documents[1].documentPath = filledText("/home/doc", 50);
    return p;
}

} // namespace zam1::test
