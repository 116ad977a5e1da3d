// KesMfgSetting: the setting files.
//
// Index:
//   Folder and file names
//   Key escaping and real formatting
//   Reading a file into lines
//   Writing: lock, temporary file, rename
//   The built-in setting files: reading and writing a setting
//   Installation and the statics
#include "platform/KesMfgSetting.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Folder and file names
// ---------------------------------------------------------------------------------------------
namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

bool IsAcceptedFileName(const std::string& name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates the folder and its missing parents with mode 0700; true when it is a folder now.
bool MakeFolder(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string prefix = folder.substr(0, slash);
        if (!prefix.empty() && ::mkdir(prefix.c_str(), 0700) != 0 && !IsFolder(prefix)) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    return IsFolder(folder);
}

// A file descriptor closed when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Get() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes now and tells whether the close succeeded (it may report a failed write).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

// ---------------------------------------------------------------------------------------------
// Key escaping and real formatting
// ---------------------------------------------------------------------------------------------
bool IsPlainKeyByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

std::string EscapeKey(const std::string& key) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(key.size());
    for (char c : key) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsPlainKeyByte(byte)) {
            escaped.push_back(c);
        } else {
            escaped.push_back('%');
            escaped.push_back(kHex[byte >> 4]);
            escaped.push_back(kHex[byte & 0x0F]);
        }
    }
    return escaped;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1; // lower-case digits are never written, so they mark a damaged line
}

// False when the text is not an escaped key as EscapeKey writes it.
bool UnescapeKey(std::string_view escaped, std::string& key) {
    key.clear();
    for (size_t i = 0; i < escaped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(escaped[i]);
        if (IsPlainKeyByte(byte)) {
            key.push_back(escaped[i]);
            continue;
        }
        if (byte != '%' || i + 2 >= escaped.size()) {
            return false;
        }
        const int high = HexDigit(escaped[i + 1]);
        const int low = HexDigit(escaped[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        key.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return !key.empty();
}

std::string FormatReal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// The whole text as a finite real.
bool ParseReal(std::string_view text, double& value) {
    double parsed = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() ||
        !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reading a file into lines
// ---------------------------------------------------------------------------------------------
enum class FileState { Missing, Read, Unreadable };

FileState ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) {
        return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_size > KesMfgSetting::kMaxFileSize) {
        return FileState::Unreadable;
    }
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileState::Unreadable;
        }
        if (count == 0) {
            break;
        }
        content.append(buffer, static_cast<size_t>(count));
        if (content.size() > static_cast<size_t>(KesMfgSetting::kMaxFileSize)) {
            return FileState::Unreadable; // grew while being read
        }
    }
    return FileState::Read;
}

struct Line {
    std::string text; // as in the file, without its line end
    bool isSetting = false;
    std::string key; // unescaped, when isSetting
    double value = 0.0;
};

Line ParseLine(std::string text) {
    Line line;
    line.text = std::move(text);
    if (line.text.empty() || line.text.front() == '#') {
        return line;
    }
    const size_t equal = line.text.find('=');
    if (equal == std::string::npos) {
        return line;
    }
    const std::string_view view(line.text);
    if (UnescapeKey(view.substr(0, equal), line.key) &&
        ParseReal(view.substr(equal + 1), line.value)) {
        line.isSetting = true;
    }
    return line;
}

// The complete lines of `content`; an unterminated last line is left out.
std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    size_t begin = 0;
    for (size_t end = content.find('\n'); end != std::string::npos;
         end = content.find('\n', begin)) {
        lines.push_back(ParseLine(content.substr(begin, end - begin)));
        begin = end + 1;
    }
    return lines;
}

// ---------------------------------------------------------------------------------------------
// Writing: lock, temporary file, rename
// ---------------------------------------------------------------------------------------------
bool WriteAll(int fd, const std::string& content) {
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t count = ::write(fd, content.data() + written, content.size() - written);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

std::string TemporaryPrefix(const std::string& fileName) {
    return "." + fileName + ".tmp.";
}

// Removes the temporary files that an interrupted write left; called with the lock held.
void RemoveLeftovers(const std::string& folder, const std::string& fileName) {
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return;
    }
    const std::string prefix = TemporaryPrefix(fileName);
    std::vector<std::string> leftovers;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string_view name(entry->d_name);
        if (name.substr(0, prefix.size()) == prefix) {
            leftovers.emplace_back(name);
        }
    }
    ::closedir(directory);
    for (const std::string& name : leftovers) {
        ::unlink((folder + "/" + name).c_str());
    }
}

// Writes `content` to a new temporary file, flushes it and renames it over `path`.
bool ReplaceFile(const std::string& folder, const std::string& fileName, const std::string& path,
                 const std::string& content) {
    std::string temporary = folder + "/" + TemporaryPrefix(fileName) + "XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.IsOpen()) {
        return false;
    }
    const bool written = WriteAll(file.Get(), content) && ::fsync(file.Get()) == 0;
    if (!file.Close() || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; the new file is in place whatever this answers.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.IsOpen()) {
        ::fsync(directory.Get());
    }
    return true;
}

std::string Compose(const std::vector<Line>& lines) {
    std::string content;
    for (const Line& line : lines) {
        content += line.text;
        content.push_back('\n');
    }
    return content;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The built-in setting files: reading and writing a setting
// ---------------------------------------------------------------------------------------------
std::string KesMfgSetting::GetSettingsFolder() {
    const std::string chosen = Environment("KES_SETTINGS_DIR");
    if (!chosen.empty()) {
        return chosen;
    }
    const std::string configuration = Environment("XDG_CONFIG_HOME");
    if (!configuration.empty() && configuration.front() == '/') {
        return configuration + "/kes";
    }
    const std::string home = Environment("HOME");
    if (!home.empty()) {
        return home + "/.config/kes";
    }
    return std::string();
}

std::string KesMfgSetting::GetSettingPath(const KesString& fileName) {
    const std::string folder = GetSettingsFolder();
    if (folder.empty() || !IsAcceptedFileName(fileName.Str())) {
        return std::string();
    }
    return folder + "/" + fileName.Str();
}

namespace {

bool ReadFromFile(const KesUnicodeString& key, double* value, const KesString& fileName) {
    if (value == nullptr || key.IsEmpty()) {
        return false;
    }
    const std::string path = KesMfgSetting::GetSettingPath(fileName);
    std::string content;
    if (path.empty() || ReadWholeFile(path, content) != FileState::Read) {
        return false;
    }
    bool found = false;
    double stored = 0.0;
    for (const Line& line : SplitLines(content)) {
        if (line.isSetting && line.key == key.Str()) {
            found = true;
            stored = line.value;
        }
    }
    if (found) {
        *value = stored;
    }
    return found;
}

bool WriteToFile(const KesUnicodeString& key, const double* value, const KesString& fileName) {
    if (value == nullptr || key.IsEmpty() || !std::isfinite(*value)) {
        return false;
    }
    const std::string folder = KesMfgSetting::GetSettingsFolder();
    const std::string path = KesMfgSetting::GetSettingPath(fileName);
    if (path.empty() || !MakeFolder(folder)) {
        return false;
    }
    const std::string lockPath = folder + "/." + fileName.Str() + ".lock";
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.IsOpen()) {
        return false;
    }
    int locked = -1;
    do {
        locked = ::flock(lock.Get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        return false;
    }
    // From here to the end of the call no other writer runs: read, change, replace.
    RemoveLeftovers(folder, fileName.Str());
    std::string content;
    const FileState state = ReadWholeFile(path, content);
    if (state == FileState::Unreadable) {
        return false; // never replace a file that could not be read
    }
    std::vector<Line> lines = SplitLines(content);
    if (state == FileState::Missing) {
        lines.push_back(ParseLine("# Settings of the manufacturing dialogs: escaped key=real"));
    }
    Line updated = ParseLine(EscapeKey(key.Str()) + "=" + FormatReal(*value));
    bool placed = false;
    for (auto it = lines.begin(); it != lines.end();) {
        if (it->isSetting && it->key == key.Str()) {
            if (!placed) {
                *it = updated;
                placed = true;
            } else {
                it = lines.erase(it);
                continue;
            }
        }
        ++it;
    }
    if (!placed) {
        lines.push_back(std::move(updated));
    }
    return ReplaceFile(folder, fileName.Str(), path, Compose(lines));
}

class BuiltInSettings final : public KesMfgSettingService {
public:
    bool ReadSetting(const KesUnicodeString& key, double* value,
                     const KesString& fileName) override {
        return ReadFromFile(key, value, fileName);
    }
    bool WriteSetting(const KesUnicodeString& key, const double* value,
                      const KesString& fileName) override {
        return WriteToFile(key, value, fileName);
    }
};

// Never freed, so hosts may still reach the settings from static destructors.
BuiltInSettings& TheBuiltInSettings() {
    static auto* settings = new BuiltInSettings;
    return *settings;
}

KesMfgSettingService*& TheInstalled() {
    static KesMfgSettingService* installed = nullptr; // null: the built-in files answer
    return installed;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Installation and the statics
// ---------------------------------------------------------------------------------------------
KesMfgSettingService* KesMfgSetting::Install(KesMfgSettingService* service) {
    KesMfgSettingService* replaced = Installed();
    TheInstalled() = service == &TheBuiltInSettings() ? nullptr : service;
    return replaced;
}

KesMfgSettingService* KesMfgSetting::Installed() {
    KesMfgSettingService* installed = TheInstalled();
    return installed != nullptr ? installed : &TheBuiltInSettings();
}

KesMfgSettingService* KesMfgSetting::BuiltIn() {
    return &TheBuiltInSettings();
}

bool KesMfgSetting::ReadSetting(const KesUnicodeString& key, double* value,
                                const KesString& fileName) {
    if (value == nullptr || key.IsEmpty()) {
        return false;
    }
    // The service reads into a copy: whatever it leaves there on a failure or an exception
    // never reaches the caller's value.
    double read = *value;
    try {
        if (!Installed()->ReadSetting(key, &read, fileName)) {
            return false;
        }
    } catch (...) {
        return false;
    }
    *value = read;
    return true;
}

bool KesMfgSetting::WriteSetting(const KesUnicodeString& key, const double* value,
                                 const KesString& fileName) {
    if (value == nullptr || key.IsEmpty()) {
        return false;
    }
    try {
        return Installed()->WriteSetting(key, value, fileName);
    } catch (...) {
        return false;
    }
}
