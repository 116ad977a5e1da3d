// KesAtomicFile: the temporary file, written, flushed, given its permissions and renamed.
#include "tools/KesAtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// Writes all of `text` into `descriptor`; 0 or the error.
int WriteAll(int descriptor, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return written < 0 ? errno : EIO;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

// The permissions of the file the text replaces, or those a new file gets under the umask.
mode_t ModeFor(const std::string& path) {
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0) {
        return old.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string KesWriteFileAtomically(const std::string& given, std::string_view text) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target(given);
    // A symbolic link keeps pointing at the file it names: that file is replaced.
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        const fs::path resolved = fs::canonical(target, error);
        if (!error) {
            target = resolved;
        }
    }
    if (target.filename().empty()) {
        return "the path names no file";
    }
    if (fs::is_directory(fs::status(target, error))) {
        return "a folder has that name";
    }
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string pattern =
        (folder / ("." + target.filename().string() + ".tmp.XXXXXX")).string();
    std::vector<char> temporary(pattern.begin(), pattern.end());
    temporary.push_back('\0');
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        return Reason(errno);
    }
    int fault = WriteAll(descriptor, text);
    if (fault == 0 && ::fchmod(descriptor, ModeFor(target.string())) != 0) {
        fault = errno;
    }
    if (fault == 0 && ::fsync(descriptor) != 0) {
        fault = errno;
    }
    if (::close(descriptor) != 0 && fault == 0) {
        fault = errno;
    }
    if (fault == 0 && std::rename(temporary.data(), target.c_str()) != 0) {
        fault = errno;
    }
    if (fault != 0) {
        ::unlink(temporary.data());
        return Reason(fault);
    }
    // The rename itself reaches the disk with the folder's entry.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return "";
}
