// Reads each input with the token reader under the operation script it carries.
#include "fuzz_target.hpp"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    text_fuzz::startFuzzTarget();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const u8* data, size_t size) {
    text_fuzz::fuzzTokenReader(data, size);
    return 0;
}
