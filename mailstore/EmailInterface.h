// The interface of an email document record: what the document server says, or is told, about
// one e-mail. clsEmail implements it; InertEmail is the same interface presented without
// effect, as the item record presents it next to its own members.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dks {

class EmailInterface {
 public:
  virtual ~EmailInterface() = default;

  virtual const std::string& Action() const = 0;
  virtual void setAction(std::string_view value) = 0;
  virtual const std::string& CurrentLocation() const = 0;
  virtual void setCurrentLocation(std::string_view value) = 0;
  virtual const std::string& CurrentDate() const = 0;
  virtual void setCurrentDate(std::string_view value) = 0;
  virtual int32_t CurrentSize() const = 0;
  virtual void setCurrentSize(int32_t value) = 0;
  virtual const std::string& Description() const = 0;
  virtual void setDescription(std::string_view value) = 0;
  virtual int32_t DocumentID() const = 0;
  virtual void setDocumentID(int32_t value) = 0;
  virtual const std::string& PreviousLocation() const = 0;
  virtual void setPreviousLocation(std::string_view value) = 0;
  virtual const std::string& PreviousDate() const = 0;
  virtual void setPreviousDate(std::string_view value) = 0;
  virtual int32_t PreviousSize() const = 0;
  virtual void setPreviousSize(int32_t value) = 0;
  virtual bool Resave() const = 0;
  virtual void setResave(bool value) = 0;
  virtual const std::string& SnapshotLocation() const = 0;
  virtual void setSnapshotLocation(std::string_view value) = 0;
  virtual const std::string& Title() const = 0;
  virtual void setTitle(std::string_view value) = 0;
  virtual std::string DataType() const = 0;
  virtual std::string SourceURL() const = 0;

  virtual bool pblnReset() = 0;
};

/// The email interface without effect: every read gives the empty value of its type ("", 0,
/// False; DataType and SourceURL "" too), every write is ignored, pblnReset gives False.
/// Stateless; one instance serves every record that presents it.
class InertEmail final : public EmailInterface {
 public:
  /// The one shared instance.
  static InertEmail& instance();

  const std::string& Action() const override { return empty(); }
  void setAction(std::string_view) override {}
  const std::string& CurrentLocation() const override { return empty(); }
  void setCurrentLocation(std::string_view) override {}
  const std::string& CurrentDate() const override { return empty(); }
  void setCurrentDate(std::string_view) override {}
  int32_t CurrentSize() const override { return 0; }
  void setCurrentSize(int32_t) override {}
  const std::string& Description() const override { return empty(); }
  void setDescription(std::string_view) override {}
  int32_t DocumentID() const override { return 0; }
  void setDocumentID(int32_t) override {}
  const std::string& PreviousLocation() const override { return empty(); }
  void setPreviousLocation(std::string_view) override {}
  const std::string& PreviousDate() const override { return empty(); }
  void setPreviousDate(std::string_view) override {}
  int32_t PreviousSize() const override { return 0; }
  void setPreviousSize(int32_t) override {}
  bool Resave() const override { return false; }
  void setResave(bool) override {}
  const std::string& SnapshotLocation() const override { return empty(); }
  void setSnapshotLocation(std::string_view) override {}
  const std::string& Title() const override { return empty(); }
  void setTitle(std::string_view) override {}
  std::string DataType() const override { return {}; }
  std::string SourceURL() const override { return {}; }

  bool pblnReset() override { return false; }

 private:
  static const std::string& empty();
};

}  // namespace dks
