// The one failure path of the program. Every operation that can fail runs its algorithm
// through attempt(): a failure escaping the body is recorded once in gcolError with the
// operation's object and procedure names, and the operation reports False (or, for a property
// read, its type's empty value). Nothing is retried and nothing is passed up.
#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>
#include <utility>

namespace dks {

/// Adds one record to gcolError, when that collection exists; never fails.
void recordFailure(std::string_view object, std::string_view procedure, int32_t number,
                   std::string_view description) noexcept;

namespace detail {
/// Records the exception being handled: a Failure with its own number and description, an
/// allocation failure as 7 "Out of memory", anything else as "Unknown error" with its text.
void recordCurrentException(std::string_view object, std::string_view procedure) noexcept;
}  // namespace detail

/// Runs `body`, the algorithm of operation `procedure` of `object`. `body` returns bool (the
/// operation's own result; a plain False records nothing) or nothing (True). On a failure the
/// record is added and the result is False.
template <class Body>
bool attempt(std::string_view object, std::string_view procedure, Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
      std::forward<Body>(body)();
      return true;
    } else {
      return std::forward<Body>(body)();
    }
  } catch (...) {
    detail::recordCurrentException(object, procedure);
    return false;
  }
}

/// The same for a property read: what `body` returns, or T{} after the failure was recorded.
template <class T, class Body>
T attemptValue(std::string_view object, std::string_view procedure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    detail::recordCurrentException(object, procedure);
    return T{};
  }
}

/// Runs `body` and drops any failure without a record: what the termination of a class does.
template <class Body>
void ignoreFailures(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

}  // namespace dks
