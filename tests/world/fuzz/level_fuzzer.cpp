// Loads each input as a level with the shipped definitions and plays a few steps
// of a small one.
#include "fuzz_target.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    text_fuzz::startFuzzTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    text_fuzz::fuzzLevel(data, size);
    return 0;
}
