// A settings store in memory: the settings file's bytes (nothing when it
// cannot be read), a replacement that can be made to fail, the paths that
// open, and every call recorded: "read", "replace", the path looked for.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Settings.h"

namespace mosaika {

struct FakeSettingsPort final : SettingsPort {
    std::optional<std::string> file = std::string();
    bool replaceFails = false;
    std::set<std::string> files;
    std::vector<std::string> calls;

    std::optional<std::string> ReadSettingsFile() override { return calls.push_back("read"), file; }
    bool ReplaceSettingsFile(const std::string& bytes) override {
        calls.push_back("replace");
        if (!replaceFails) file = bytes;
        return !replaceFails;
    }
    bool CanOpenForReading(const std::string& path) override {
        calls.push_back(path);
        return files.contains(path);
    }
};

}  // namespace mosaika
