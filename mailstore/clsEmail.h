// clsEmail: one e-mail as a document of the server: its id, title, where it was and where it is
// (location, date, size) and the fields that requests carry. Locations are kept without the
// "dkemail://" scheme, dates in the pattern "dd/mm/yyyy hh:nn:ss" (or ""), sizes not below 0
// and ids not below -1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mailstore/EmailInterface.h"

namespace dks {

class clsEmail final : public EmailInterface {
 public:
  /// A record in its reset state (the defaults of pblnReset).
  clsEmail() = default;

  const std::string& Action() const override { return action_; }
  void setAction(std::string_view value) override;
  const std::string& CurrentLocation() const override { return currentLocation_; }
  /// Location rule: trimmed, then cut behind the first "dkemail://" (exact case).
  void setCurrentLocation(std::string_view value) override;
  const std::string& CurrentDate() const override { return currentDate_; }
  /// Time rule; a text that is no date records ("clsEmail", "CurrentDate", 13) and keeps the
  /// field. The same holds for PreviousDate.
  void setCurrentDate(std::string_view value) override;
  int32_t CurrentSize() const override { return currentSize_; }
  void setCurrentSize(int32_t value) override;
  const std::string& Description() const override { return description_; }
  void setDescription(std::string_view value) override;
  /// The server's document id; -1 and 0 are the values for none.
  int32_t DocumentID() const override { return documentID_; }
  void setDocumentID(int32_t value) override;
  const std::string& PreviousLocation() const override { return previousLocation_; }
  void setPreviousLocation(std::string_view value) override;
  const std::string& PreviousDate() const override { return previousDate_; }
  void setPreviousDate(std::string_view value) override;
  int32_t PreviousSize() const override { return previousSize_; }
  void setPreviousSize(int32_t value) override;
  bool Resave() const override { return resave_; }
  void setResave(bool value) override { resave_ = value; }
  const std::string& SnapshotLocation() const override { return snapshotLocation_; }
  void setSnapshotLocation(std::string_view value) override;
  const std::string& Title() const override { return title_; }
  void setTitle(std::string_view value) override;
  /// Always "eml".
  std::string DataType() const override { return "eml"; }
  /// "dkemail://" followed by CurrentLocation.
  std::string SourceURL() const override;

  /// Every field to its default: texts "", numbers 0, Resave False. True.
  bool pblnReset() override;

 private:
  std::string action_;
  std::string currentLocation_;
  std::string currentDate_;
  int32_t currentSize_ = 0;
  std::string description_;
  int32_t documentID_ = 0;
  std::string previousLocation_;
  std::string previousDate_;
  int32_t previousSize_ = 0;
  bool resave_ = false;
  std::string snapshotLocation_;
  std::string title_;
};

}  // namespace dks
