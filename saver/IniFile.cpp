#include "IniFile.h"

#include <vector>

#include "AsciiCase.h"
#include "ShiftJis.h"

namespace mosaika {

namespace {

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Bytes of the character at pos. A lead byte without a trail byte after it
// stands alone, so it never swallows a line break.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
    return pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) &&
                   IsTrailByte(static_cast<unsigned char>(text[pos + 1]))
               ? 2
               : 1;
}

// No blank, CR, LF or zero byte is ever the second byte of a character, so
// these can work on bytes.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The platform drops spaces, not tabs, around the names it is given.
std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// Equal with ASCII letters in either case. Where a's character is two bytes
// both must be equal as they are; then b's is the same character.
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t pos = 0; pos < a.size();) {
        const std::size_t length = CharacterLength(a, pos);
        if (length == 2 ? a.substr(pos, 2) != b.substr(pos, 2) : AsciiUpper(a[pos]) != AsciiUpper(b[pos])) {
            return false;
        }
        pos += length;
    }
    return true;
}

// The first "]" that is a character of its own, or the end.
std::size_t ClosingBracket(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] != ']') pos += CharacterLength(text, pos);
    return pos;
}

enum class Kind { Other, Section, Key };

// One line: its text [begin, end), the next line's start, and what it holds.
struct Line {
    std::size_t begin = 0, end = 0, next = 0;
    Kind kind = Kind::Other;
    std::string_view name;
    std::size_t valueBegin = 0;  // after the "=" of a key
};

Line ReadLine(std::string_view file, std::size_t begin) {
    Line line;
    line.begin = line.end = begin;
    while (line.end < file.size() && !IsLineBreak(file[line.end])) ++line.end;
    line.next = line.end;
    if (line.next < file.size()) {
        const bool cr = file[line.next++] == '\r';
        if (cr && line.next < file.size() && file[line.next] == '\n') ++line.next;  // CRLF is one line break
    }
    const std::string_view text = TrimBlanks(file.substr(begin, line.end - begin));
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        const std::string_view inside = text.substr(1);
        line.kind = Kind::Section;
        line.name = TrimBlanks(inside.substr(0, ClosingBracket(inside)));
    } else if (const std::size_t equals = text.find('='); equals != std::string_view::npos) {
        line.kind = Kind::Key;
        line.name = TrimBlanks(text.substr(0, equals));
        line.valueBegin = static_cast<std::size_t>(text.data() - file.data()) + equals + 1;
    }
    return line;
}

std::vector<Line> ReadLines(std::string_view file) {
    std::vector<Line> lines;
    for (std::size_t pos = 0; pos < file.size(); pos = lines.back().next) lines.push_back(ReadLine(file, pos));
    return lines;
}

// Where section and key are in the file. A new key goes after line `last`.
struct Place {
    bool section = false;
    const Line* key = nullptr;
    const Line* last = nullptr;
};

Place Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    auto line = lines.begin();
    while (line != lines.end() && !(line->kind == Kind::Section && SameName(line->name, section))) ++line;
    if (line == lines.end()) return place;
    place.section = true;
    place.last = &*line;
    for (++line; line != lines.end() && line->kind != Kind::Section; ++line) {
        if (line->kind != Kind::Key) continue;
        place.last = &*line;
        if (SameName(line->name, key)) {
            place.key = &*line;
            break;
        }
    }
    return place;
}

// At most kIniValueLimit bytes, never half a character.
std::string_view CutToLimit(std::string_view value) {
    std::size_t pos = 0;
    while (pos < value.size() && pos + CharacterLength(value, pos) <= kIniValueLimit) {
        pos += CharacterLength(value, pos);
    }
    return value.substr(0, pos);
}

bool HoldsLineBreakOrZero(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != text.npos; }

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
    return !HoldsLineBreakOrZero(section) && !HoldsLineBreakOrZero(key) && !HoldsLineBreakOrZero(value) &&
           ClosingBracket(section) == section.size() && !key.empty() && key.find('=') == key.npos &&
           key.front() != ';' && key.front() != '[';
}

}  // namespace

std::string ReadIniValue(std::string_view file, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = ReadLines(file);
    const Place place = Find(lines, TrimSpaces(section), TrimSpaces(key));
    if (!place.key) return {};
    std::string_view value = TrimBlanks(file.substr(place.key->valueBegin, place.key->end - place.key->valueBegin));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    value = CutToLimit(value);
    return std::string(value.substr(0, value.find('\0')));
}

std::optional<std::string> WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                                         std::string_view value) {
    section = TrimSpaces(section);
    key = TrimSpaces(key);
    if (!CanStore(section, key, value)) return std::nullopt;
    const std::vector<Line> lines = ReadLines(file);
    const Place place = Find(lines, section, key);
    std::string result(file);
    if (place.key) {
        return result.replace(place.key->valueBegin, place.key->end - place.key->valueBegin, value);
    }
    std::string added = std::string(key) + '=' + std::string(value) + "\r\n";
    if (!place.section) added = '[' + std::string(section) + "]\r\n" + added;
    const Line* after = place.section ? place.last : (lines.empty() ? nullptr : &lines.back());
    if (after && after->next == after->end) added = "\r\n" + added;  // that line had no line break
    return result.insert(after ? after->next : 0, added);
}

}  // namespace mosaika
