// Feeds each input to loadBitmap as a file and draws whatever loads.
#include "fuzz_file.hpp"
#include "gfx_loader_cases.hpp"

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    const std::string& path = fuzzFilePath(".bmp");
    if (!writeFuzzFile(path, data, size)) return 0;
    for (int loadPalette : {0, 1})
        if (auto bm = loadBitmap(path, loadPalette)) drawLoadedBitmap(*bm);
    return 0;
}
