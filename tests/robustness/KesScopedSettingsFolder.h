// Test support: a fresh, empty settings folder (KES_SETTINGS_DIR) for the life of the object,
// removed with everything in it afterwards; the previous value of the variable comes back.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

class KesScopedSettingsFolder {
public:
    KesScopedSettingsFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kes-robustness-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no temporary folder for the settings");
        }
        root_ = pattern;
        if (const char* previous = std::getenv("KES_SETTINGS_DIR")) {
            previous_ = previous;
        }
        Reset();
    }
    ~KesScopedSettingsFolder() {
        previous_ ? ::setenv("KES_SETTINGS_DIR", previous_->c_str(), 1)
                  : ::unsetenv("KES_SETTINGS_DIR");
        std::filesystem::remove_all(root_, ignored_);
    }
    KesScopedSettingsFolder(const KesScopedSettingsFolder&) = delete;
    KesScopedSettingsFolder& operator=(const KesScopedSettingsFolder&) = delete;

    // Points KES_SETTINGS_DIR at the settings sub-folder, emptied of what an earlier use left
    // there (the writes create it again); returns it.
    std::filesystem::path Reset() {
        const std::filesystem::path folder = root_ / "settings";
        std::filesystem::remove_all(folder, ignored_);
        ::setenv("KES_SETTINGS_DIR", folder.c_str(), 1);
        return folder;
    }

private:
    std::filesystem::path root_;
    std::optional<std::string> previous_;
    std::error_code ignored_; // a folder that cannot be removed is left behind
};
