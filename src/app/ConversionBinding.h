#pragma once
// Wires the conversion tools into the main window: the unit-conversion page (side-bar
// entry "Units"), the currency page ("Currencies") with its converter, the currency
// settings of the options file and the language captions of both pages.
namespace qm {

class TMain;

void BindConversionTools(TMain &window);

}  // namespace qm
