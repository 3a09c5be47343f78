#include "PropertyBag.h"

#include <algorithm>

#include "AsciiCase.h"

namespace mosaika {

bool SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

PropertyBag::PropertyBag(std::initializer_list<Entry> entries) {
    for (const auto& [key, value] : entries) Set(key, value);
}

void PropertyBag::Set(std::string_view key, PropertyValue value) {
    for (auto& entry : entries_) {
        if (SameKey(entry.first, key)) {
            entry.second = std::move(value);
            return;
        }
    }
    entries_.emplace_back(key, std::move(value));
}

PropertyValue PropertyBag::ReadProperty(std::string_view key, PropertyValue defaultValue) const {
    for (const auto& entry : entries_) {
        if (SameKey(entry.first, key)) return entry.second;
    }
    return defaultValue;
}

void PropertyBag::WriteProperty(std::string_view key, PropertyValue value, const PropertyValue& defaultValue) {
    if (value == defaultValue) {
        std::erase_if(entries_, [key](const Entry& entry) { return SameKey(entry.first, key); });
    } else {
        Set(key, std::move(value));
    }
}

}  // namespace mosaika
