// The entry point every fuzz target defines: libFuzzer calls it with each
// input; the replay program calls it with each stored file.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);
