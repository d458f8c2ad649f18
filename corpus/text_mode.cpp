#include "corpus/text_mode.h"

namespace tavro {

std::string TextModeContents(std::string_view raw) {
    const std::size_t end = raw.find(kEndOfText);
    if (end != std::string_view::npos) raw = raw.substr(0, end);
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        text += raw[i];
    }
    return text;
}

}  // namespace tavro
