// SPDX-License-Identifier: MIT
#include "atlas/common/print_scale.h"

#include <charconv>
#include <cmath>

#include "atlas/common/errors.h"

namespace atlas {

PrintScale parse_print_scale(std::string_view text) {
  if (text == "fit") return {PrintScale::Kind::kFit, 0};
  if (text == "battle") return {PrintScale::Kind::kFixed, kBattleMm};
  double mm = 0;
  const bool digits = !text.empty() && text.front() >= '0' && text.front() <= '9';
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), mm, std::chars_format::fixed);
  if (!digits || error != std::errc() || end != text.data() + text.size() || !std::isfinite(mm) ||
      mm < 1 || mm > kLargestMm) {
    throw UsageError(
        "--scale needs fit, battle or a number of millimetres a 10-foot square from 1 to 80, "
        "for example --scale 25");
  }
  return {PrintScale::Kind::kFixed, mm};
}

}  // namespace atlas
