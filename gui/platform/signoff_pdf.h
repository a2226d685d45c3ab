#pragma once
// The sign-off report on A4 pages through Qt's PDF writer: the texts in a
// proportional font (embedded), the core's SVG charts drawn as vectors, each
// closing dimension on a page of its own, tables that carry their heading row
// over a page break, and a footer with the project and page number.

class QIODevice;

namespace zam1 {

struct SignoffDocument;

// Needs a QGuiApplication (fonts). False when a page could not be drawn.
bool renderSignoffPdf(const SignoffDocument& document, QIODevice& device);

} // namespace zam1
