#pragma once
// The run directory every text-loader fuzz target works in: made once, removed
// when the fuzzer ends.
#include "text_loader_cases.hpp"

namespace text_fuzz {

inline std::filesystem::path fuzzRoot;

inline void removeFuzzRoot() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(fuzzRoot, ignored);
}

inline void startFuzzTarget() {
    fuzzRoot = enterRunDirectory(TESSARON_CONTENT_DIR);
    std::atexit(removeFuzzRoot);
}

} // namespace text_fuzz
