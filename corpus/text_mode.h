// Text files are read the way a text-mode stream on the program's original platform
// reads them: a CR LF pair is one line end (LF), and a 1A byte (Ctrl+Z) ends the
// text: nothing after it is read. A lone CR stays a byte of the line.
#pragma once

#include <string>
#include <string_view>

namespace tavro {

inline constexpr char kEndOfText = '\x1A';

// `raw` as a text-mode read returns it.
std::string TextModeContents(std::string_view raw);

}  // namespace tavro
