// Greek test data written readably: UTF-8 in the source, cp1253 bytes in the test.
#pragma once

#include <string>
#include <string_view>

namespace tavro::testing {

// The cp1253 bytes of `utf8`; throws std::invalid_argument for text cp1253 cannot hold.
std::string Greek(std::string_view utf8);

}  // namespace tavro::testing
