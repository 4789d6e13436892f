#include "engine/heap_reserve.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>

namespace kotonel {
namespace {

// Once the engine has loaded, memory behaves as before: what is freed at the top of the heap
// goes back to the system, so neither the reserve nor a long reading keeps its peak.
TEST(HeapReserve, FreedMemoryGoesBackAfterLoading) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator replaces the C library's";
#endif
  { HeapReserve reserve(8 << 20); }
  void* block = std::malloc(4 << 20);
  ASSERT_NE(block, nullptr);
  std::free(block);
  EXPECT_LT(mallinfo2().keepcost, size_t{1} << 20);
}

}  // namespace
}  // namespace kotonel
