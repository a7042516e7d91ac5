#include "model/LargeArray.h"

#include <cstdint>
#include <sys/mman.h>

namespace
{

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapLargeArrays = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMapLargeArrays = false;
#else
constexpr bool kMapLargeArrays = true;
#endif
#else
constexpr bool kMapLargeArrays = true;
#endif

constexpr size_t kHugePage = LargeArray::kMinBytes;
constexpr size_t kPage = 4096;

// The length of the mapping of an array: whole huge pages from kMinBytes on, else whole pages.
size_t roundedUp(size_t bytes)
{
    const size_t unit = bytes >= kHugePage ? kHugePage : kPage;
    return (bytes + unit - 1) & ~(unit - 1);
}

// An array under a huge page, with its pages in place: one system call instead of a fault
// per page.
void *allocateFilled(size_t bytes)
{
    void *mapped = mmap(nullptr, roundedUp(bytes), PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    return mapped;
}

// Whether a block of this size and alignment gets a mapping of its own (which starts on a huge
// page).
bool mapsOnItsOwn(size_t bytes, size_t alignment)
{
    return LargeArray::isLarge(bytes) && alignment <= kHugePage;
}

class LargePageResource : public std::pmr::memory_resource
{
    void *do_allocate(size_t bytes, size_t alignment) override
    {
        if (mapsOnItsOwn(bytes, alignment))
            return LargeArray::allocate(bytes);
        return ::operator new(bytes, std::align_val_t(alignment));
    }
    void do_deallocate(void *p, size_t bytes, size_t alignment) override
    {
        if (mapsOnItsOwn(bytes, alignment))
            LargeArray::release(p, bytes);
        else // not the sized form: clang leaves sized deallocation off by default
            ::operator delete(p, std::align_val_t(alignment));
    }
    bool do_is_equal(const std::pmr::memory_resource &other) const noexcept override
    {
        return this == &other;
    }
};

} // namespace

bool LargeArray::isLarge(size_t bytes)
{
    return kMapLargeArrays && bytes >= kMinBytes;
}

bool LargeArray::isLargeKept(size_t bytes)
{
    return kMapLargeArrays && bytes >= kKeptMinBytes;
}

void *LargeArray::allocate(size_t bytes)
{
    if (bytes < kHugePage)
        return allocateFilled(bytes);
    const size_t length = roundedUp(bytes);
    if (length < bytes)
        throw std::bad_alloc();
    // One huge page more than needed, so that the block can start on a huge-page boundary;
    // the slack before and after it goes back at once.
    auto *mapped = static_cast<char *>(mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    auto *start = reinterpret_cast<char *>((address + kHugePage - 1) & ~(kHugePage - 1));
    if (start > mapped)
        munmap(mapped, size_t(start - mapped));
    const size_t after = size_t(mapped + length + kHugePage - (start + length));
    if (after > 0)
        munmap(start + length, after);
    // Only a request: without transparent huge pages the block works with small pages.
    madvise(start, length, MADV_HUGEPAGE);
    return start;
}

void LargeArray::release(void *block, size_t bytes)
{
    if (block)
        munmap(block, roundedUp(bytes));
}

void LargeArray::adviseHugePages(void *block, size_t bytes)
{
    if (!kMapLargeArrays || bytes < 2 * kMinBytes)
        return;
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t start = (address + kHugePage - 1) & ~std::uintptr_t(kHugePage - 1);
    const std::uintptr_t end = (address + bytes) & ~std::uintptr_t(kHugePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
}

std::pmr::memory_resource *LargeArray::resource()
{
    static LargePageResource resource;
    return &resource;
}
