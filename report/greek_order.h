// Greek dictionary order, by ICU's collator for Greek: at the first level
// accents, diaeresis and case are ignored and final sigma equals sigma, so that
// ά sits with α and ώρα among the words in ω; equal words at that level are
// ordered by their accents, then by their bytes (word order, word_entry.h), so
// the order is total. Greek script comes before Latin, as ICU's Greek order
// puts it. Words are cp1253; they are decoded to UTF-16 for ICU here
// and nowhere else. Bytes that cp1253 leaves undefined sort as U+FFFD.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavro {

class GreekCollator {
  public:
    GreekCollator();
    ~GreekCollator();
    GreekCollator(const GreekCollator&) = delete;
    GreekCollator& operator=(const GreekCollator&) = delete;

    // A key whose byte order is the Greek order of `cp1253Word` up to its
    // accents (the first two levels); equal keys are then ordered by the words.
    std::string Key(std::string_view cp1253Word) const;
    // Whether `a` comes before `b` in Greek dictionary order.
    bool Less(std::string_view a, std::string_view b) const;

  private:
    struct Impl;
    Impl* m_impl;
};

// The order of `words` (cp1253) in Greek dictionary order: positions into `words`.
std::vector<std::uint32_t> GreekOrder(const std::vector<std::string_view>& words);

}  // namespace tavro
