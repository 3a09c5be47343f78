// A settings store in memory: the settings file's bytes (nothing when it
// cannot be read), a replacement that can be made to fail and is counted,
// and the paths that open.
#pragma once

#include <optional>
#include <set>
#include <string>

#include "Settings.h"

namespace mosaika {

struct FakeSettingsPort final : SettingsPort {
    std::optional<std::string> file = std::string();
    bool replaceFails = false;
    std::set<std::string> files;
    int replaced = 0;

    std::optional<std::string> ReadSettingsFile() override { return file; }
    bool ReplaceSettingsFile(const std::string& bytes) override {
        ++replaced;
        if (!replaceFails) file = bytes;
        return !replaceFails;
    }
    bool CanOpenForReading(const std::string& path) override { return files.contains(path); }
};

}  // namespace mosaika
