#pragma once

#include <cstddef>
#include <vector>

// A stable merge sort that stays within bounds whatever the comparison answers. The cell
// comparison mixes kinds (dates, numbers, text), so it need not be a strict weak order, which
// the standard algorithms require.
template <typename T, typename Less> void StableMergeSort(std::vector<T> &items, Less less)
{
    const size_t n = items.size();
    if (n < 2)
        return;
    std::vector<T> buffer(n);
    std::vector<T> *from = &items;
    std::vector<T> *to = &buffer;
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = lo + width < n ? lo + width : n;
            const size_t hi = lo + 2 * width < n ? lo + 2 * width : n;
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                // Take from the right run only when it is strictly smaller: equal items keep
                // their order.
                if (less((*from)[j], (*from)[i]))
                    (*to)[k++] = (*from)[j++];
                else
                    (*to)[k++] = (*from)[i++];
            }
            while (i < mid)
                (*to)[k++] = (*from)[i++];
            while (j < hi)
                (*to)[k++] = (*from)[j++];
        }
        std::swap(from, to);
    }
    if (from != &items)
        items = std::move(*from);
}
