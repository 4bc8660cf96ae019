// Binds the built-in page readers to a web search. Kept apart so that a search driven by
// other readers (tests) does not pull them in.
#include "engines/web/WebReaders.h"
#include "engines/web/WebSearchController.h"

namespace qm {

void UseBuiltInReaders(WebSearchEnvironment &env) {
    env.hasReaders = [](int selector) { return HasReaders(selector); };
    env.pageLinkReader = [](int selector, std::string_view page, ReaderSink &sink) {
        RunPageLinkReader(selector, page, sink);
    };
    env.resultReader = [](int selector, std::string_view page, ReaderSink &sink) {
        RunResultReader(selector, page, sink);
    };
}

}  // namespace qm
