#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ts {

// A compact, owning byte string for the fixed document tables. The document holds millions of
// text fields that are almost all empty, so an empty Text is one null pointer and costs no
// allocation; a set Text is one heap block holding its length and bytes. The bytes are
// Windows-1252 as read from the map file and are never re-encoded.
class Text {
public:
    Text() = default;
    Text(std::string_view s) { assign(s); }
    Text(const char* s) { assign(std::string_view(s)); }
    Text(const std::string& s) { assign(std::string_view(s)); }
    Text(const Text& other) { assign(other.view()); }
    Text(Text&& other) noexcept : mData(other.mData) { other.mData = nullptr; }
    ~Text() {
        if (mData) release();
    }

    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept {
        if (this != &other) {
            if (mData) release();
            mData = other.mData;
            other.mData = nullptr;
        }
        return *this;
    }
    Text& operator=(std::string_view s);
    Text& operator=(const char* s) { return *this = std::string_view(s); }
    Text& operator=(const std::string& s) { return *this = std::string_view(s); }

    void clear() {
        if (mData) release();
    }
    bool empty() const { return mData == nullptr; }
    // Inline: the document compares and scans millions of these, nearly all empty.
    std::size_t size() const {
        if (!mData) return 0;
        std::uint32_t n;
        std::memcpy(&n, mData, sizeof n);
        return n;
    }
    const char* data() const { return mData ? mData + sizeof(std::uint32_t) : ""; }
    std::string_view view() const { return {data(), size()}; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }

    friend bool operator==(const Text& a, const Text& b) { return a.view() == b.view(); }
    friend bool operator==(const Text& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const Text& a, const char* b) { return a.view() == std::string_view(b); }
    friend bool operator==(const Text& a, const std::string& b) { return a.view() == std::string_view(b); }

private:
    void assign(std::string_view s);
    void release();

    // Layout of the block: uint32 length, then the bytes, then a terminating zero.
    char* mData = nullptr;
};

static_assert(sizeof(Text) == sizeof(void*));

} // namespace ts
