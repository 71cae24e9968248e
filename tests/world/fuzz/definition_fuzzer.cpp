// Loads each input as an object definition named by its first byte, through a
// small level that places it.
#include "fuzz_target.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    text_fuzz::startFuzzTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    text_fuzz::fuzzDefinition(data, size, TESSARON_CONTENT_DIR);
    return 0;
}
