// The bytes the ranks of a job send each other: whole numbers as LEB128 (seven
// bits a byte, low bits first), byte strings as their length and then their
// bytes. Every rank runs the same program, so a message that does not parse is
// a fault of the program, not of its input: Reader says so by returning false,
// and the caller throws Malformed, which ends the job.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavro::wire {

// A message between ranks that does not parse.
class Malformed : public std::logic_error {
  public:
    explicit Malformed(const std::string& what) : std::logic_error("malformed " + what) {}
};

void AppendNumber(std::string& out, std::uint64_t value);
void AppendBytes(std::string& out, std::string_view bytes);
// A number that may be missing (below 2^64 - 1).
void AppendOptionalNumber(std::string& out, const std::optional<std::uint64_t>& value);

// Reads numbers and byte strings from the front of `bytes`, which it does not own.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : m_bytes(bytes) {}
    // False, and nothing consumed, when `bytes` holds no whole number here.
    bool Number(std::uint64_t& value);
    // A view into the bytes given to the constructor; false as Number.
    bool Bytes(std::string_view& bytes);
    bool OptionalNumber(std::optional<std::uint64_t>& value);
    bool AtEnd() const { return m_position == m_bytes.size(); }
    std::size_t Consumed() const { return m_position; }

  private:
    std::string_view m_bytes;
    std::size_t m_position = 0;
};

}  // namespace tavro::wire
