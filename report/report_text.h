// The report: one line per listed word whose count is not 0 — the word's bytes,
// one space, the count in decimal, a line feed. Nothing else: no header, no
// totals, no padding. The bytes are cp1253, exactly as stored.
#pragma once

#include <string>

#include "report/word_list.h"

namespace tavro {

// The report lines of `list`, in list order.
std::string RenderReport(const DisplayList& list);

}  // namespace tavro
