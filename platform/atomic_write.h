// Saving a file so that it is either wholly replaced or left as it was: the bytes go
// to a temporary file beside the target, which is then renamed over it.
#pragma once

#include <string>
#include <string_view>

namespace tavro {

// Writes `bytes` to `path`; on failure returns a text naming the file and the problem.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tavro
