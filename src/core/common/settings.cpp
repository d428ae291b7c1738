#include "common/settings.h"

#include <charconv>

namespace korvo {

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string ReadString(const ISettingsStore& store, std::string_view key, std::string_view name) {
    return store.ReadValue(key, name).value_or(std::string());
}

std::int32_t ReadInteger(const ISettingsStore& store, std::string_view key, std::string_view name) {
    if (auto text = store.ReadValue(key, name))
        if (auto value = ParseInteger(*text)) return *value;
    throw ESettingsError("Invalid data type for '" + std::string(name) + "'");
}

bool ReadBool(const ISettingsStore& store, std::string_view key, std::string_view name) {
    return ReadInteger(store, key, name) != 0;
}

std::int32_t ReadIntegerOr(const ISettingsStore& store, std::string_view key, std::string_view name,
                           std::int32_t fallback) {
    if (auto text = store.ReadValue(key, name))
        if (auto value = ParseInteger(*text)) return *value;
    return fallback;
}

bool ReadBoolOr(const ISettingsStore& store, std::string_view key, std::string_view name,
                bool fallback) {
    return ReadIntegerOr(store, key, name, fallback ? 1 : 0) != 0;
}

std::optional<bool> ReadOptionalBool(const ISettingsStore& store, std::string_view key,
                                     std::string_view name) {
    if (auto text = store.ReadValue(key, name))
        if (auto value = ParseInteger(*text)) return *value != 0;
    return std::nullopt;
}

std::optional<std::int32_t> ReadOptionalInteger(const ISettingsStore& store, std::string_view key,
                                                std::string_view name) {
    if (auto text = store.ReadValue(key, name)) return ParseInteger(*text);
    return std::nullopt;
}

void WriteString(ISettingsStore& store, std::string_view key, std::string_view name,
                 std::string_view value) {
    store.WriteValue(key, name, value);
}

void WriteInteger(ISettingsStore& store, std::string_view key, std::string_view name,
                  std::int32_t value) {
    store.WriteIntegerValue(key, name, value);
}

void WriteBool(ISettingsStore& store, std::string_view key, std::string_view name, bool value) {
    store.WriteIntegerValue(key, name, value ? 1 : 0);
}

void WriteIfSet(ISettingsStore& store, std::string_view key, std::string_view name,
                const std::optional<bool>& value) {
    if (value) WriteBool(store, key, name, *value);
}

void WriteIfSet(ISettingsStore& store, std::string_view key, std::string_view name,
                const std::optional<std::int32_t>& value) {
    if (value) WriteInteger(store, key, name, *value);
}

bool TMemorySettingsStore::KeyExists(std::string_view key) const {
    std::string prefix = std::string(key) + "/";
    for (const auto& [path, values] : keys_)
        if (path == key || path.starts_with(prefix)) return true;
    return false;
}

std::optional<std::string> TMemorySettingsStore::ReadValue(std::string_view key,
                                                           std::string_view name) const {
    auto found = keys_.find(key);
    if (found == keys_.end()) return std::nullopt;
    auto value = found->second.find(name);
    if (value == found->second.end()) return std::nullopt;
    return value->second;
}

void TMemorySettingsStore::WriteValue(std::string_view key, std::string_view name,
                                      std::string_view value) {
    keys_[std::string(key)][std::string(name)] = std::string(value);
}

void TMemorySettingsStore::DeleteValue(std::string_view key, std::string_view name) {
    auto found = keys_.find(key);
    if (found == keys_.end()) return;
    if (auto value = found->second.find(name); value != found->second.end())
        found->second.erase(value);
    if (found->second.empty()) keys_.erase(found);
}

void TMemorySettingsStore::DeleteKey(std::string_view key) {
    std::string prefix = std::string(key) + "/";
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (it->first == key || it->first.starts_with(prefix))
            it = keys_.erase(it);
        else
            ++it;
    }
}

} // namespace korvo
