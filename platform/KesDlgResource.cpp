// KesDlgResource: finding, reading (once) and parsing resource files.
#include "platform/KesDlgResource.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <system_error>
#include <vector>

namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The folders searched, in turn, before the built-in texts.
std::vector<std::filesystem::path> Folders() {
    std::vector<std::filesystem::path> folders;
    if (const char* own = std::getenv("KES_RESOURCE_DIR"); own != nullptr && *own != '\0') {
        folders.emplace_back(own);
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path() && program.parent_path().has_parent_path()) {
        folders.push_back(program.parent_path().parent_path() / "share" / "kes"); // bin/..
    }
    return folders;
}

// Reads a file into `table`; false, with the reason on standard error, when it is unusable.
bool ReadFile(const std::filesystem::path& file, std::ifstream& in, KesDlgResource::Table& table) {
    std::ostringstream content;
    content << in.rdbuf();
    std::string error;
    if (!KesDlgResource::Parse(content.str(), table, error)) {
        std::cerr << "kes: resource file " << file.string() << ", " << error
                  << "; its texts are not used\n";
        table.clear();
        return false;
    }
    return true;
}

KesDlgResource::Table Load(const std::string& name) {
    KesDlgResource::Table table;
    const std::vector<std::filesystem::path> folders = Folders();
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path file = folder / (name + ".kesres");
        std::ifstream in(file, std::ios::binary);
        if (in && ReadFile(file, in, table)) {
            return table;
        }
    }
    const std::string_view builtIn = KesDlgResource::BuiltInText(KesString(name));
    std::string error;
    if (!builtIn.empty() && KesDlgResource::Parse(builtIn, table, error)) {
        return table;
    }
    table.clear();
    std::cerr << "kes: resource file " << name << ".kesres not found";
    const char* separator = " in ";
    for (const std::filesystem::path& folder : folders) {
        std::cerr << separator << folder.string();
        separator = ", ";
    }
    std::cerr << "; its widgets keep the texts their owner sets\n";
    return table;
}

using Files = std::map<std::string, KesDlgResource::Table, std::less<>>;

// Never freed: widgets destroyed during static destruction may still look.
Files& TheFiles() {
    static auto* files = new Files;
    return *files;
}

} // namespace

bool KesDlgResource::Parse(std::string_view content, Table& table, std::string& error) {
    int number = 0;
    while (!content.empty()) {
        const size_t end = content.find('\n');
        const std::string_view line = Trim(content.substr(0, end));
        content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
        ++number;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const size_t equals = line.find('=');
        const std::string_view key = Trim(line.substr(0, equals));
        const size_t dot = key.rfind('.');
        if (equals == std::string_view::npos || dot == std::string_view::npos || dot == 0) {
            error = "line " + std::to_string(number) + ": expected IDENTIFIER.PROPERTY = TEXT";
            return false;
        }
        const std::string_view property = Trim(key.substr(dot + 1));
        const std::string identifier(Trim(key.substr(0, dot)));
        const KesUnicodeString text{std::string(Trim(line.substr(equals + 1)))};
        if (property == "title") {
            table[identifier].title = text;
        } else if (property == "help") {
            table[identifier].help = text;
        } else if (property == "shorthelp") {
            table[identifier].shortHelp = text;
        } else {
            error = "line " + std::to_string(number) + ": unknown property \"" +
                    std::string(property) + "\" (title, help or shorthelp)";
            return false;
        }
    }
    return true;
}

const KesDlgResourceTexts* KesDlgResource::Find(const KesString& name,
                                                const KesString& identifier) {
    Files& files = TheFiles();
    auto file = files.find(name.Str());
    if (file == files.end()) {
        file = files.emplace(name.Str(), Load(name.Str())).first;
    }
    const auto found = file->second.find(identifier.Str());
    return found != file->second.end() ? &found->second : nullptr;
}

void KesDlgResource::Reload() {
    TheFiles().clear();
}
