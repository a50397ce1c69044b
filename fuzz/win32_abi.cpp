// Two things id3lib does on 64-bit Linux that would stop the tag fuzzer at inputs that are
// harmless on the 32-bit Windows the plug-in ships for, or stall it there.
#include <dlfcn.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "fuzz/fuzz_check.h"

// id3lib's CompressedReader (io_decorators.cpp) hands zlib's uncompress() the address of its
// 32-bit frame size where zlib takes an unsigned long. On Windows both are 32 bits; on 64-bit
// Linux zlib reads 4 bytes past that size as part of the output capacity and writes 4 bytes
// past it into id3lib's stack frame, so any compressed frame corrupts memory
// (fuzz/regressions/id3lib/). Defined here, this uncompress() takes the place of zlib's for
// id3lib and reads and writes only the 32 bits that id3lib owns.
typedef int (*Uncompress)(unsigned char*, unsigned long*, const unsigned char*, unsigned long);

extern "C" int uncompress(unsigned char* dest, unsigned long* destLen, const unsigned char* source,
                          unsigned long sourceLen) {
  static const Uncompress zlibUncompress = (Uncompress)dlsym(RTLD_NEXT, "uncompress");
  if (zlibUncompress == nullptr) fuzzcheck::fail("zlib's uncompress not found", dlerror());
  uint32_t capacity;
  memcpy(&capacity, destLen, sizeof capacity);
  unsigned long length = capacity;
  int result = zlibUncompress(dest, &length, source, sourceLen);
  capacity = (uint32_t)length;
  memcpy(destLen, &capacity, sizeof capacity);
  return result;
}

// id3lib allocates whatever a compressed frame claims to unpack to, up to 4 GiB, before it
// looks at the data. Under AddressSanitizer a block that large costs seconds to hand out and
// take back (its shadow is written whole), which would stall the fuzzer at every such frame.
// Blocks past 256 MiB therefore come straight from mmap, untouched and so free of cost, as
// they would from the system's allocator. (All other blocks go through malloc, so this target
// does not tell new[] from malloc; the sanitize suite and the other targets still do.)
static const size_t LARGE_BLOCK = (size_t)256 << 20;
static const int MOST_LARGE_BLOCKS = 64;

struct LargeBlock {
  void* start;
  size_t size;
};
static LargeBlock largeBlocks[MOST_LARGE_BLOCKS];  // no allocation of its own: it serves new

static void* allocateOrNull(size_t size) noexcept {
  if (size <= LARGE_BLOCK) return malloc(size == 0 ? 1 : size);
  for (LargeBlock& block : largeBlocks) {
    if (block.start != nullptr) continue;
    void* start = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (start == MAP_FAILED) return nullptr;
    block = {start, size};
    return start;
  }
  return nullptr;
}

static void* allocate(size_t size) {
  void* block = allocateOrNull(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

static void release(void* start) noexcept {
  if (start == nullptr) return;
  for (LargeBlock& block : largeBlocks) {
    if (block.start != start) continue;
    munmap(block.start, block.size);
    block = {nullptr, 0};
    return;
  }
  free(start);
}

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return allocateOrNull(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { release(block); }
void operator delete(void* block, size_t) noexcept { release(block); }
void operator delete[](void* block, size_t) noexcept { release(block); }
