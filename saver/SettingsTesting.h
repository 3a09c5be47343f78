// A settings store in memory that answers as GetPrivateProfileStringA does
// (a value up to its first zero byte, at most 255 bytes) and records every
// call: the key read, "key=value" written, the path looked for; "misplaced"
// for a call naming another section or settings file.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Settings.h"

namespace mosaika {

struct FakeSettingsPort final : SettingsPort {
    explicit FakeSettingsPort(std::string settingsFile) : file(std::move(settingsFile)) {}

    std::string file;
    std::map<std::string, std::string> values;
    std::set<std::string> files;  // the paths that open
    std::vector<std::string> calls;

    static std::string AsReturned(const std::string& value) {
        return value.substr(0, std::min<std::size_t>(value.find('\0'), 255));
    }
    std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& f) override {
        calls.push_back(section == kIniSection && f == file ? key : "misplaced");
        return values.contains(key) ? AsReturned(values[key]) : std::string();
    }
    bool WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& f) override {
        calls.push_back(section == kIniSection && f == file ? key + '=' + value : "misplaced");
        values[key] = value;
        return true;
    }
    bool CanOpenForReading(const std::string& path) override {
        calls.push_back(path);
        return files.contains(path);
    }
};

}  // namespace mosaika
