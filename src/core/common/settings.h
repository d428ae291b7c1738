#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace korvo {

// A failed typed read: a value that is missing or does not have the type the
// caller asked for.
class ESettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The persistent settings: a tree of keys (paths joined with "/", such as
// "SVF/Before/0"), each holding named values. Values are kept as text;
// integers are decimal and booleans the numbers 0 and 1, so any non-zero
// number reads as true.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual bool KeyExists(std::string_view key) const = 0;
    virtual std::optional<std::string> ReadValue(std::string_view key,
                                                 std::string_view name) const = 0;
    virtual void WriteValue(std::string_view key, std::string_view name,
                            std::string_view value) = 0;
    // Integers are text to every reader; a store with typed values (the
    // Windows registry) keeps them as numbers.
    virtual void WriteIntegerValue(std::string_view key, std::string_view name,
                                   std::int32_t value) {
        WriteValue(key, name, std::to_string(value));
    }
    // Removes one value; a missing value is no error.
    virtual void DeleteValue(std::string_view key, std::string_view name) = 0;
    // Removes the key with all its values and sub-keys.
    virtual void DeleteKey(std::string_view key) = 0;
    // Writes pending changes to the backing store; throws ESettingsError when
    // it cannot be written.
    virtual void Flush() {}
};

// Typed access on top of the raw text values.
std::string ReadString(const ISettingsStore& store, std::string_view key, std::string_view name);
// Throws ESettingsError("Invalid data type for 'name'") when the value is
// missing or not a 32-bit integer.
std::int32_t ReadInteger(const ISettingsStore& store, std::string_view key, std::string_view name);
bool ReadBool(const ISettingsStore& store, std::string_view key, std::string_view name);
// The default replaces a missing or unreadable value; never throws.
std::int32_t ReadIntegerOr(const ISettingsStore& store, std::string_view key, std::string_view name,
                           std::int32_t fallback);
bool ReadBoolOr(const ISettingsStore& store, std::string_view key, std::string_view name,
                bool fallback);
// Nothing for a missing or unreadable value, so the caller keeps its own.
std::optional<std::int32_t> ReadOptionalInteger(const ISettingsStore& store, std::string_view key,
                                                std::string_view name);
std::optional<bool> ReadOptionalBool(const ISettingsStore& store, std::string_view key,
                                     std::string_view name);
void WriteString(ISettingsStore& store, std::string_view key, std::string_view name,
                 std::string_view value);
void WriteInteger(ISettingsStore& store, std::string_view key, std::string_view name,
                  std::int32_t value);
void WriteBool(ISettingsStore& store, std::string_view key, std::string_view name, bool value);
// Writes the value when there is one.
void WriteIfSet(ISettingsStore& store, std::string_view key, std::string_view name,
                const std::optional<bool>& value);
void WriteIfSet(ISettingsStore& store, std::string_view key, std::string_view name,
                const std::optional<std::int32_t>& value);

// Parses a whole decimal 32-bit integer (optional sign); nothing otherwise.
std::optional<std::int32_t> ParseInteger(std::string_view text);

// Settings held in memory; for tests and for runs without a settings file.
class TMemorySettingsStore : public ISettingsStore {
public:
    bool KeyExists(std::string_view key) const override;
    std::optional<std::string> ReadValue(std::string_view key,
                                         std::string_view name) const override;
    void WriteValue(std::string_view key, std::string_view name, std::string_view value) override;
    void DeleteValue(std::string_view key, std::string_view name) override;
    void DeleteKey(std::string_view key) override;

    // Two stores are equal when they hold the same keys and values.
    friend bool operator==(const TMemorySettingsStore& a, const TMemorySettingsStore& b) {
        return a.keys_ == b.keys_;
    }

private:
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>> keys_;
};

} // namespace korvo
