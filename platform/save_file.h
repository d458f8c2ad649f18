// Writing a whole file, so that a regular file is either wholly replaced or left
// as it was, and what is not a regular file is never replaced by one.
//
// - A regular file (or a new one) is replaced atomically: the bytes go to a
//   temporary file in the same folder, which is synced, renamed over the target,
//   and the folder is synced after the rename.
// - A symbolic link is followed: its target is written the same way, the link stays.
// - A device, a pipe or another file that is not regular is written directly.
// - A folder is an error.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace tavro {

// Writes `bytes` to `path`; on failure returns a text naming the file and the
// problem ("out.txt: No space left on device"), and the target is as it was.
std::string SaveFile(FileSystem& files, const std::string& path, std::string_view bytes);

}  // namespace tavro
