// Counts the heap allocations (operator new in all its forms) made by the calling thread. The
// unit-test executable replaces the global operator new for this; nothing else changes.
#pragma once

#include <cstddef>

namespace quelmo::testing {

std::size_t AllocationsOnThisThread();

} // namespace quelmo::testing
