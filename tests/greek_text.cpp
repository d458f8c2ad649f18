#include "tests/greek_text.h"

#include <stdexcept>

#include "platform/cp1253.h"
#include "platform/text_encoding.h"

namespace tavro::testing {

std::string Greek(std::string_view utf8) {
    const std::optional<std::string> bytes = Utf8ToCp1253(utf8);
    if (!bytes) throw std::invalid_argument("not cp1253 text");
    return *bytes;
}

}  // namespace tavro::testing
