#include "app/attempt.h"

#include <exception>
#include <new>
#include <string>

#include "app/colError.h"
#include "app/modApplication.h"
#include "platform/Failure.h"

namespace dks {

void recordFailure(std::string_view object, std::string_view procedure, int32_t number,
                   std::string_view description) noexcept {
  ignoreFailures([&] {
    if (gcolError)
      gcolError->Add(std::string(object), std::string(procedure), number, std::string(description));
  });
}

namespace detail {

void recordCurrentException(std::string_view object, std::string_view procedure) noexcept {
  try {
    throw;
  } catch (const Failure& failure) {
    recordFailure(object, procedure, failure.number(), failure.description());
  } catch (const std::bad_alloc&) {
    Failure failure = Failure::outOfMemory();
    recordFailure(object, procedure, failure.number(), failure.description());
  } catch (const std::exception& error) {
    recordFailure(object, procedure, kUnknownErrorNumber, error.what());
  } catch (...) {
    recordFailure(object, procedure, kUnknownErrorNumber, kUnknownErrorDescription);
  }
}

}  // namespace detail
}  // namespace dks
