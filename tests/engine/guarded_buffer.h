// A text buffer of a given capacity followed by guard characters, for checking
// that nothing is ever written past the capacity.
#pragma once

#include <cstdint>
#include <string>

constexpr wchar_t kGuardChar = L'\x7777';

struct GuardedBuffer {
    explicit GuardedBuffer(int32_t capacity)
        : capacity(capacity), storage(static_cast<size_t>(capacity) + 8, kGuardChar) {
        if (capacity > 0) storage[0] = L'\0';
    }
    wchar_t* data() { return storage.data(); }
    bool GuardsIntact() const {
        for (size_t i = static_cast<size_t>(capacity); i < storage.size(); ++i) {
            if (storage[i] != kGuardChar) return false;
        }
        return true;
    }
    std::wstring Text() const { return std::wstring(storage.data()); }
    int32_t capacity;
    std::wstring storage;
};
