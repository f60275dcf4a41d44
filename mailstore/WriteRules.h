// The rules by which the records of the mail store normalise what is written to them, so that
// every value that reaches the reconciliation has one shape.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dks {

/// The scheme in front of a location in requests and in SourceURL.
inline constexpr std::string_view kLocationScheme = "dkemail://";

/// Time rule: the text trimmed; "" stays ""; any other text is read as a date and time
/// ("dd/mm/yyyy hh:nn:ss", "dd/mm/yyyy" or ISO 8601, see readTimeText) and written back as
/// "dd/mm/yyyy hh:nn:ss". Applying it twice changes nothing.
/// Throws Failure 13 "Type mismatch" for a text that is not a date and time.
std::string timeRule(std::string_view text);

/// Stores timeRule(value) in `field`. A text that is no date records (object, property, 13)
/// and keeps `field`.
void writeTime(std::string_view object, std::string_view property, std::string& field,
               std::string_view value) noexcept;

/// Location rule: the text trimmed; when it then contains "dkemail://" (exact letter case),
/// everything up to and including the first occurrence is cut off. Nothing is trimmed after the
/// cut.
std::string locationRule(std::string_view text);

/// Size floor: a negative size is 0.
inline int32_t sizeFloor(int32_t size) {
  return size < 0 ? 0 : size;
}

/// Id floor: a document id below -1 is -1.
inline int32_t documentIdFloor(int32_t id) {
  return id < -1 ? -1 : id;
}

}  // namespace dks
