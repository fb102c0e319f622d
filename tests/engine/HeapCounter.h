#pragma once

#include <cstddef>

// Counts calls into the C heap (operator new goes through it too) made on the
// threads that switched counting on, for checks that real-time code does not
// allocate. The heap functions of the whole test binary are replaced for this;
// threads that never switch counting on only pay one flag check.
namespace heapCounter
{
void countThisThread(bool on);
std::size_t allocations();
std::size_t releases();
} // namespace heapCounter
