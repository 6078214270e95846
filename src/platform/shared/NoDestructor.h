// ---- A holder whose object is never destroyed -----------------------------
//
// Process-wide tables (handles, mappings, finders, modules, windows, ...)
// live in one of these: built on first use and never destroyed, so a host's
// static object that closes a handle or unmaps a view in its destructor, at
// exit, never meets a table that static destruction has already torn down
// (the way absl::NoDestructor does it). The object stays reachable, so leak
// checkers do not count it.
#pragma once

#include <new>
#include <utility>

template <typename T>
class NoDestructor {
public:
    template <typename... Args>
    explicit NoDestructor(Args&&... args) {
        new (m_storage) T(std::forward<Args>(args)...);
    }
    NoDestructor(const NoDestructor&) = delete;
    NoDestructor& operator=(const NoDestructor&) = delete;

    T& operator*() { return *get(); }
    T* operator->() { return get(); }
    T* get() { return std::launder(reinterpret_cast<T*>(m_storage)); }

private:
    alignas(T) unsigned char m_storage[sizeof(T)];
};
