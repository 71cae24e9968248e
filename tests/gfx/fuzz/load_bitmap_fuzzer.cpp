// Feeds each input to loadBitmap as a file and draws whatever loads.
#include "gfx_loader_cases.hpp"

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    const std::string path = "/tmp/gfx_fuzz_" + std::to_string(::getpid()) + ".bmp";
    if (writeFileBytes(path, data, size)) loadAndDrawBitmap(path);
    return 0;
}
