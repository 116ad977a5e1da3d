// KesAtomicFile: a file written whole or not at all. The text goes into a temporary file in the
// target's folder (".NAME.tmp.XXXXXX"), which is flushed to disk and then renamed over the
// target, so a write that fails (a full disk, a folder that is gone, a name that is a folder)
// leaves the old file as it was and no temporary file behind. A file replaced keeps its
// permissions; a new one gets those the process's umask gives.
#pragma once

#include <string>
#include <string_view>

// Writes `text` as the whole content of the file at `path`. Answers "" when the file is whole on
// disk, else why it is not ("a folder has that name", "No such file or directory"); the old file
// is then unchanged.
std::string KesWriteFileAtomically(const std::string& path, std::string_view text);
