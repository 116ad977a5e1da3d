// Test support: a fresh, empty settings folder (KES_SETTINGS_DIR) for the life of the object,
// removed with everything in it afterwards; the previous value of the variable comes back.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>

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
        Use("settings");
    }
    ~KesScopedSettingsFolder() {
        if (previous_) {
            ::setenv("KES_SETTINGS_DIR", previous_->c_str(), 1);
        } else {
            ::unsetenv("KES_SETTINGS_DIR");
        }
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    KesScopedSettingsFolder(const KesScopedSettingsFolder&) = delete;
    KesScopedSettingsFolder& operator=(const KesScopedSettingsFolder&) = delete;

    // Points KES_SETTINGS_DIR at the empty sub-folder `name` (removing what an earlier use left
    // there); the writes create it.
    std::filesystem::path Use(const std::string& name) {
        const std::filesystem::path folder = root_ / name;
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
        ::setenv("KES_SETTINGS_DIR", folder.c_str(), 1);
        return folder;
    }
    const std::filesystem::path& Root() const { return root_; }

private:
    std::filesystem::path root_;
    std::optional<std::string> previous_;
};
