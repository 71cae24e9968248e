// Loads each input as "textures.dat" and samples every texture that loads.
#include "fuzz_target.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    text_fuzz::startFuzzTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    text_fuzz::fuzzTextures(data, size);
    return 0;
}
