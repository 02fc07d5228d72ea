#pragma once
// Records the largest request made of operator new, so a test can show that hostile input
// caused no huge allocation. Requests above 1 GiB are refused with std::bad_alloc.

#include <cstddef>

namespace tabrel::test {

std::size_t LargestAllocation();  // since the last reset
void ResetLargestAllocation();

}  // namespace tabrel::test
