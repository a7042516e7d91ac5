#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <new>
#include <vector>

// Memory for the large arrays of a log: the cells of a million rows, the orders of a sort, the
// lookup indexes. From 2 MiB on, an array is mapped on its own and the system is asked for huge
// pages, so that touching it the first time costs one page fault per 2 MiB instead of one per
// 4 KiB; on a virtual machine each fault can cost as much as filling the page. Smaller arrays
// come from the heap as usual (and so does everything in a sanitized build, whose checks only
// watch the heap).
namespace LargeArray
{

constexpr size_t kMinBytes = size_t(2) << 20;

// Whether an array of this size gets a mapping of its own.
bool isLarge(size_t bytes);
// Memory for an array of at least kMinBytes; throws std::bad_alloc when there is none.
void *allocate(size_t bytes);
void release(void *block, size_t bytes);

// Asks for huge pages for the 2 MiB-aligned inside of a block of at least 2 * kMinBytes that
// came from the heap and has not been touched yet (a string about to receive a large file).
void adviseHugePages(void *block, size_t bytes);

// A memory resource with the same rule, for the containers of the standard's pmr family.
std::pmr::memory_resource *resource();

} // namespace LargeArray

template <typename T> struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <typename U> LargePageAllocator(const LargePageAllocator<U> &) {}

    T *allocate(size_t n)
    {
        if (n > size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (LargeArray::isLarge(bytes))
            return static_cast<T *>(LargeArray::allocate(bytes));
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T *p, size_t n)
    {
        const size_t bytes = n * sizeof(T);
        if (LargeArray::isLarge(bytes))
            LargeArray::release(p, bytes);
        else
            std::allocator<T>().deallocate(p, n);
    }

    template <typename U> bool operator==(const LargePageAllocator<U> &) const { return true; }
};

template <typename T> using LargeVector = std::vector<T, LargePageAllocator<T>>;
