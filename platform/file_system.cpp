#include "platform/file_system.h"

namespace tavro {

std::optional<std::string> ReadAll(ByteSource& source) {
    std::string data;
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    for (;;) {
        const std::size_t used = data.size();
        data.resize(used + kBlock);
        const std::optional<std::size_t> n = source.Read(data.data() + used, kBlock);
        if (!n) return std::nullopt;
        data.resize(used + *n);
        if (*n == 0) return data;
    }
}

}  // namespace tavro
