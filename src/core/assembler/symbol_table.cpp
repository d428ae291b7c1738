#include "assembler/symbol_table.h"

namespace korvo {

namespace {
constexpr unsigned char UpperByte(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}
} // namespace

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
    return result;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperByte(static_cast<unsigned char>(a[i])) !=
            UpperByte(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::size_t TSymbolTable::TCaseInsensitiveHash::operator()(std::string_view text) const {
    std::size_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : text) {
        hash ^= UpperByte(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

bool TSymbolTable::TCaseInsensitiveEqual::operator()(std::string_view a, std::string_view b) const {
    return SameTextIgnoringCase(a, b);
}

void TSymbolTable::Add(std::string_view name, TSymbolValue value) {
    auto [position, inserted] = symbols_.try_emplace(UpperCase(name), value);
    if (!inserted) throw EDuplicateSymbol(std::string(name));
}

std::optional<TSymbolValue> TSymbolTable::Find(std::string_view name) const {
    auto found = symbols_.find(name);
    if (found == symbols_.end()) return std::nullopt;
    return found->second;
}

} // namespace korvo
