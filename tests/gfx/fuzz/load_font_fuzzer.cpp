// Feeds each input to loadFont as a file and draws every character with whatever
// loads. The glyph-buffer fatal end is turned into an exception, so the fuzzer
// goes on past inputs that end the program by design.
#include "base/fatal.hpp"
#include "gfx_loader_cases.hpp"

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    setFatalHook(throwFatal);
    const std::string path = "/tmp/gfx_fuzz_" + std::to_string(::getpid()) + ".fnt";
    if (writeFileBytes(path, data, size)) loadAndDrawFont(path);
    return 0;
}
