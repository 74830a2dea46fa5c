#pragma once

#include <cstdint>

// The heap a benchmark program holds, counted by the operators new and delete that
// CountingAllocator.cpp puts in place of the library's: bytes asked for and blocks, less those
// given back.
std::int64_t LiveHeapBytes();
std::int64_t LiveHeapBlocks();
