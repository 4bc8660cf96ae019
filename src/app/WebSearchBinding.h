#pragma once
// Binds the web page to the web search: the result list model and its selection, the
// search-mode menu, the search button and Enter, the hint memo, the count header, the
// list tools, and the main window's `searching` flag and hooks.
namespace qm {

class TMain;

// Creates the binding as a child of the window and fills the hooks pressWebSearch and
// endWebSearch. Call once, after the web page exists.
void BindWebSearch(TMain &window);

}  // namespace qm
