// The saved design of one control: named values that its container keeps and
// hands to the control when it is created, and asks it to fill when the design
// is saved. A value is a text, or a font kept whole.
//
// Keys are compared without regard to ASCII letter case; entries keep the
// order in which they were first written and the spelling they were first
// written with.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "FontDescription.h"

namespace mosaika {

using PropertyValue = std::variant<std::string, forms::FontDescription>;

// Texts equal but for the case of ASCII letters, as keys are compared.
bool SameKey(std::string_view a, std::string_view b);

class PropertyBag {
public:
    using Entry = std::pair<std::string, PropertyValue>;

    PropertyBag() = default;
    PropertyBag(std::initializer_list<Entry> entries);

    // Replaces the value of an existing key, or adds the key at the end.
    void Set(std::string_view key, PropertyValue value);

    // The stored value, or defaultValue when the key is missing.
    PropertyValue ReadProperty(std::string_view key, PropertyValue defaultValue) const;
    // A value equal to defaultValue is left out of the store (an entry of the
    // key already there is removed), so the store holds what differs only.
    void WriteProperty(std::string_view key, PropertyValue value, const PropertyValue& defaultValue);

    const std::vector<Entry>& Entries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};

}  // namespace mosaika
