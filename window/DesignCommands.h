#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace latcap {

class CaseDocument;
class Platform;
struct DesignCheck;

// The design form: the partial factor set, the numbers of a custom set and
// the pile's stiffness with the soil's moduli, shown from the document and
// put into it on OK (marking the case changed when anything differs).
void EditDesignSettings(Platform& platform, QWidget* parent, CaseDocument& document);

// Checks the design H, M and L of the document's boxes under its factors,
// changing none of them, and shows the verdict, the load factor, the
// ultimate load at its height, the utilisation and the depth required in a
// message box titled "Design Check". The check is kept in the document for
// the report; none is kept when the data are not enough.
void CheckDesign(Platform& platform, QWidget* parent, CaseDocument& document);

// The factor set a shown result was found with, for the window's label:
// "Factors: EN 1997-1 DA1, governed by EN 1997-1 DA1-2"; empty for none.
QString FactorsNote(const CaseDocument& document);

} // namespace latcap
