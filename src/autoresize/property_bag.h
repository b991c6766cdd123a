#pragma once
// The named values a component's properties are saved as with the form that
// holds it. Entries keep the order they were written in. Readers take a
// default for a missing name, and also for a value that cannot stand for the
// type asked for (a fraction or a number out of range where a whole number is
// read, a value that is not finite), so a damaged set never stops loading.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace veltra {

using PropertyValue = std::variant<bool, std::int32_t, double>;

class PropertyBag {
public:
    using Entry = std::pair<std::string, PropertyValue>;

    // Replaces the value of an existing name in place, else appends.
    void WriteProperty(std::string_view name, PropertyValue value);
    std::optional<PropertyValue> Find(std::string_view name) const;

    bool ReadBool(std::string_view name, bool fallback) const;
    std::int32_t ReadInt(std::string_view name, std::int32_t fallback) const;
    double ReadDouble(std::string_view name, double fallback) const;

    const std::vector<Entry>& Entries() const { return entries_; }
    bool operator==(const PropertyBag&) const = default;

private:
    std::vector<Entry> entries_;
};

}  // namespace veltra
