// An allocator for large, randomly accessed tables: blocks of 2 MiB or more are
// aligned to 2 MiB and offered to the kernel for transparent huge pages, so that a
// count table far larger than the cache costs fewer address-translation misses.
// Smaller blocks come from the ordinary heap. AdviseHugePages gives the same
// advice for an ordinary vector's reserved room. Linux only honours the advice
// when transparent huge pages are enabled for it; elsewhere the allocator is a
// plain one and the advice does nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tavro {

template <typename T>
struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kHugePage)
            return static_cast<T*>(::operator new (bytes, std::align_val_t{alignof(T)}));
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* memory = std::aligned_alloc(kHugePage, rounded);
        if (memory == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
        return static_cast<T*>(memory);
    }

    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < kHugePage) {
            ::operator delete (p, std::align_val_t{alignof(T)});
        } else {
            std::free(p);
        }
    }

    template <typename U>
    bool operator==(const HugePageAllocator<U>&) const {
        return true;
    }
};

// Offers the whole 2 MiB pages of [data, data + bytes), memory reserved but not
// yet touched, for transparent huge pages, as HugePageAllocator does for its
// own blocks. For large arrays that are filled once, in order: a huge page is
// cleared and mapped in one fault where 512 small pages take 512, and on some
// virtual machines a page fault costs more than clearing the page.
inline void AdviseHugePages([[maybe_unused]] const void* data, [[maybe_unused]] std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kHugePage - 1);
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// The same for the room a vector has reserved.
template <typename T, typename Allocator>
void AdviseHugePages(const std::vector<T, Allocator>& reserved) {
    AdviseHugePages(reserved.data(), reserved.capacity() * sizeof(T));
}

}  // namespace tavro
