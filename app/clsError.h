// clsError: one record of the error collection.
#pragma once

#include <string>

#include "platform/Variant.h"

namespace dks {

class clsError {
 public:
  /// A record with the initial values; its Stamp is the time of creation.
  clsError();

  const std::string& Object() const noexcept { return object_; }
  void setObject(std::string value) { object_ = std::move(value); }
  const std::string& Procedure() const noexcept { return procedure_; }
  void setProcedure(std::string value) { procedure_ = std::move(value); }
  const Variant& Number() const noexcept { return number_; }
  void setNumber(Variant value) { number_ = std::move(value); }
  const std::string& Description() const noexcept { return description_; }
  void setDescription(std::string value) { description_ = std::move(value); }
  const std::string& Stamp() const noexcept { return stamp_; }
  void setStamp(std::string value) { stamp_ = std::move(value); }

  /// Sets Object and Procedure to "", Number to -99999, Description to "Unknown error" and Stamp
  /// to the current time stamp. True only when the time stamp could be had; Stamp is "" otherwise.
  bool pblnReset() noexcept;

 private:
  std::string object_;
  std::string procedure_;
  Variant number_;
  std::string description_;
  std::string stamp_;
};

}  // namespace dks
