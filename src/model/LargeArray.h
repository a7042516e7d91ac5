#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <new>
#include <vector>

// Memory for the large arrays of a log: the cells of a million rows, the orders of a sort, the
// lookup indexes, the text pool. On a virtual machine a page fault can cost ten times as much
// as filling the page, and each fresh 4 KiB page faults when it is first touched. So from
// 2 MiB on, an array is mapped on its own and the system is asked for huge pages: touching it
// the first time costs one page fault per 2 MiB. An array that lives as long as its log and
// grows with it (a column, the text pool) is mapped on its own from 32 KiB on, and below 2 MiB
// with all its pages filled in by the one system call that maps it: such arrays only ever get
// fresh pages. Other arrays under 2 MiB (the passes of a sort) come from the heap, whose pages
// the next one reuses; so does everything in a sanitized build, whose checks only watch the
// heap.
namespace LargeArray
{

constexpr size_t kMinBytes = size_t(2) << 20; // the size of a huge page
constexpr size_t kKeptMinBytes = size_t(32) << 10;

// Whether an array of this size gets a mapping of its own.
bool isLarge(size_t bytes);
// The same for an array kept as long as its log.
bool isLargeKept(size_t bytes);
// Memory for an array that gets a mapping of its own; throws std::bad_alloc when there is none.
void *allocate(size_t bytes);
void release(void *block, size_t bytes);

// Asks for huge pages for the 2 MiB-aligned inside of a block of at least 2 * kMinBytes that
// came from the heap and has not been touched yet (a string about to receive a large file).
void adviseHugePages(void *block, size_t bytes);

// A memory resource with the rule of isLarge, for the containers of the standard's pmr family.
std::pmr::memory_resource *resource();

} // namespace LargeArray

// Kept: the array lives as long as its log (see above).
template <typename T, bool Kept = false> struct LargePageAllocator {
    using value_type = T;
    template <typename U> struct rebind {
        using other = LargePageAllocator<U, Kept>;
    };

    LargePageAllocator() = default;
    template <typename U> LargePageAllocator(const LargePageAllocator<U, Kept> &) {}

    static bool mapped(size_t bytes)
    {
        return Kept ? LargeArray::isLargeKept(bytes) : LargeArray::isLarge(bytes);
    }
    T *allocate(size_t n)
    {
        if (n > size_t(-1) / sizeof(T))
            throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (mapped(bytes))
            return static_cast<T *>(LargeArray::allocate(bytes));
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T *p, size_t n)
    {
        const size_t bytes = n * sizeof(T);
        if (mapped(bytes))
            LargeArray::release(p, bytes);
        else
            std::allocator<T>().deallocate(p, n);
    }

    template <typename U> bool operator==(const LargePageAllocator<U, Kept> &) const
    {
        return true;
    }
};

template <typename T> using LargeVector = std::vector<T, LargePageAllocator<T>>;
template <typename T> using KeptVector = std::vector<T, LargePageAllocator<T, true>>;
