// Counts heap allocations made through operator new, so that a test can show a loop allocates
// nothing. Include it in exactly one source file of a test program: it replaces every form of
// operator new and delete for that program (all forms together, so that memory from any form is
// released by the matching one, which AddressSanitizer checks).
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace orv::test {
inline std::atomic<long> g_allocations{0};
inline long AllocationCount() { return g_allocations.load(); }
}  // namespace orv::test

namespace orv::test::detail {
inline void* Allocate(std::size_t n, std::size_t align) {
    ++g_allocations;
    if (n == 0) n = 1;
    if (align <= alignof(std::max_align_t)) return std::malloc(n);
    void* p = nullptr;
    return posix_memalign(&p, align, n) == 0 ? p : nullptr;
}
inline void* AllocateOrThrow(std::size_t n, std::size_t align) {
    if (void* p = Allocate(n, align)) return p;
    throw std::bad_alloc();
}
}  // namespace orv::test::detail

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) { return orv::test::detail::AllocateOrThrow(n, 0); }
void* operator new[](std::size_t n) { return orv::test::detail::AllocateOrThrow(n, 0); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return orv::test::detail::Allocate(n, 0);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return orv::test::detail::Allocate(n, 0);
}
void* operator new(std::size_t n, std::align_val_t a) {
    return orv::test::detail::AllocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a) {
    return orv::test::detail::AllocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return orv::test::detail::Allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return orv::test::detail::Allocate(n, static_cast<std::size_t>(a));
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop
