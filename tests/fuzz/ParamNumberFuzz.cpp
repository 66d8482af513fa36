// SPDX-License-Identifier: MIT
// libFuzzer target: the parameter fields' number parser must agree with the independent
// reference on every input, and neither may crash or read past the text.
#include "ParamNumberAgreement.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text gets a buffer of exactly its own size, so that the address sanitizer catches
    // any read beyond it.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string difference = ParamNumberDisagreement(text);
    if (!difference.empty()) {
        std::fprintf(stderr, "Disagreement on [%.*s]: %s\n", static_cast<int>(size),
                     reinterpret_cast<const char*>(data), difference.c_str());
        std::abort();
    }
    return 0;
}
