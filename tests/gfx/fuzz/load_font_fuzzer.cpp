// Feeds each input to loadFont as a file and draws every character with whatever
// loads. The glyph-buffer fatal end is turned into an exception, so the fuzzer
// goes on past inputs that end the program by design.
#include "base/fatal.hpp"
#include "fuzz_file.hpp"
#include "gfx_loader_cases.hpp"

namespace {
struct FatalRaised {};
[[noreturn]] void throwFatal(const char*) { throw FatalRaised{}; }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    setFatalHook(throwFatal);
    const std::string& path = fuzzFilePath(".fnt");
    if (!writeFuzzFile(path, data, size)) return 0;
    try {
        if (auto font = loadFont(path)) drawLoadedFont(*font);
    } catch (const FatalRaised&) {
    }
    return 0;
}
