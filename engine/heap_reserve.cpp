#include "engine/heap_reserve.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace kotonel {

namespace {

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

// glibc's own starting limits for both: a block this large is mapped on its own, and this much
// free memory at the top of the heap is given back.
constexpr int kUsualThreshold = 128 * 1024;

}  // namespace

HeapReserve::HeapReserve(size_t bytes) {
  // Blocks of any size the loaders make come from the heap, and the heap keeps what is freed.
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes + bytes / 2));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * bytes));
  void* block = std::malloc(bytes);
  if (!block) return;
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + page - 1) & ~(page - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + bytes) & ~(page - 1);
  // An older kernel refuses the request (EINVAL): the pages are then taken one by one as ever.
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
  std::free(block);
}

HeapReserve::~HeapReserve() {
  mallopt(M_MMAP_THRESHOLD, kUsualThreshold);
  mallopt(M_TRIM_THRESHOLD, kUsualThreshold);
}

}  // namespace kotonel
