// What id3lib does on 64-bit Linux that would stall the tag fuzzer at inputs that are harmless
// on the 32-bit Windows the plug-in ships for.
#include <sys/mman.h>

#include <cstdlib>
#include <new>

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
