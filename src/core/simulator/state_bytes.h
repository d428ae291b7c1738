#pragma once

// The state of a simulation as bytes, for the record that steps a run back:
// each part writes its fields in order and reads them back in the same
// order. The bytes never leave the process.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace korvo {

class TStateWriter {
public:
    explicit TStateWriter(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    template <class T>
    void Put(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        const auto* first = reinterpret_cast<const std::uint8_t*>(&value);
        bytes_.insert(bytes_.end(), first, first + sizeof(T));
    }
    void PutText(std::string_view text) {
        Put<std::uint64_t>(text.size());
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

class TStateReader {
public:
    explicit TStateReader(const std::vector<std::uint8_t>& bytes) : at_(bytes.data()) {}

    template <class T>
    void Get(T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        std::memcpy(&value, at_, sizeof(T));
        at_ += sizeof(T);
    }
    std::string GetText() {
        std::uint64_t size = 0;
        Get(size);
        std::string text(reinterpret_cast<const char*>(at_), size);
        at_ += size;
        return text;
    }

private:
    const std::uint8_t* at_;
};

} // namespace korvo
