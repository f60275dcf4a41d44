#include "app/clsError.h"

#include "app/modApplication.h"
#include "platform/Failure.h"

namespace dks {

clsError::clsError() {
  pblnReset();
}

bool clsError::pblnReset() noexcept {
  object_.clear();
  procedure_.clear();
  number_ = kUnknownErrorNumber;
  description_ = kUnknownErrorDescription;
  stamp_.clear();
  return gobjUtility && gobjUtility->GetTimeStamp(stamp_);
}

}  // namespace dks
