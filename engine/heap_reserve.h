// Fresh heap memory costs a trap into the kernel for every page on its first touch; loading the
// dictionaries touches thousands of pages, and on a virtual machine each trap is dear. While a
// HeapReserve lives, the heap is grown ahead by a number of bytes, their pages taken in one call,
// and kept (not given back to the system when freed) so that the loaders find them ready.
#pragma once

#include <cstddef>

namespace kotonel {

class HeapReserve {
 public:
  explicit HeapReserve(size_t bytes);
  // Puts back the usual limits: freed memory at the top of the heap is returned again.
  ~HeapReserve();
  HeapReserve(const HeapReserve&) = delete;
  HeapReserve& operator=(const HeapReserve&) = delete;
};

}  // namespace kotonel
