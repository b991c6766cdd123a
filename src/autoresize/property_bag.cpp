#include "autoresize/property_bag.h"

#include <cmath>
#include <limits>

namespace veltra {

void PropertyBag::WriteProperty(std::string_view name, PropertyValue value) {
    for (Entry& e : entries_) {
        if (e.first == name) {
            e.second = value;
            return;
        }
    }
    entries_.emplace_back(std::string(name), value);
}

std::optional<PropertyValue> PropertyBag::Find(std::string_view name) const {
    for (const Entry& e : entries_) {
        if (e.first == name) {
            return e.second;
        }
    }
    return std::nullopt;
}

bool PropertyBag::ReadBool(std::string_view name, bool fallback) const {
    const auto v = Find(name);
    if (!v) {
        return fallback;
    }
    if (const bool* b = std::get_if<bool>(&*v)) {
        return *b;
    }
    if (const std::int32_t* i = std::get_if<std::int32_t>(&*v)) {
        return *i != 0;
    }
    const double d = std::get<double>(*v);
    return std::isfinite(d) ? d != 0 : fallback;
}

std::int32_t PropertyBag::ReadInt(std::string_view name, std::int32_t fallback) const {
    const auto v = Find(name);
    if (!v) {
        return fallback;
    }
    if (const std::int32_t* i = std::get_if<std::int32_t>(&*v)) {
        return *i;
    }
    if (const double* d = std::get_if<double>(&*v)) {
        constexpr double lo = std::numeric_limits<std::int32_t>::min();
        constexpr double hi = std::numeric_limits<std::int32_t>::max();
        if (std::isfinite(*d) && *d == std::trunc(*d) && *d >= lo && *d <= hi) {
            return static_cast<std::int32_t>(*d);
        }
    }
    return fallback;
}

double PropertyBag::ReadDouble(std::string_view name, double fallback) const {
    const auto v = Find(name);
    if (!v) {
        return fallback;
    }
    if (const double* d = std::get_if<double>(&*v)) {
        return std::isfinite(*d) ? *d : fallback;
    }
    if (const std::int32_t* i = std::get_if<std::int32_t>(&*v)) {
        return *i;
    }
    return fallback;
}

}  // namespace veltra
