// The program's failure type. Platform code turns every failure of a library or of the system
// into a Failure carrying the number and description that the replaced platform would give;
// the operations of the program record it once (app/attempt.h) and report False.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace dks {

class Failure : public std::exception {
 public:
  Failure(int32_t number, std::string description)
      : number_(number), description_(std::move(description)) {}

  int32_t number() const noexcept { return number_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

  static Failure invalidCall() { return {5, "Invalid procedure call or argument"}; }
  static Failure overflow() { return {6, "Overflow"}; }
  static Failure outOfMemory() { return {7, "Out of memory"}; }
  static Failure subscriptOutOfRange() { return {9, "Subscript out of range"}; }
  static Failure typeMismatch() { return {13, "Type mismatch"}; }
  static Failure fileNotFound() { return {53, "File not found"}; }
  static Failure fileAlreadyExists() { return {58, "File already exists"}; }
  static Failure diskFull() { return {61, "Disk full"}; }
  static Failure permissionDenied() { return {70, "Permission denied"}; }
  static Failure pathFileAccessError() { return {75, "Path/File access error"}; }
  static Failure pathNotFound() { return {76, "Path not found"}; }
  static Failure objectNotSet() { return {91, "Object variable or With block variable not set"}; }
  static Failure cannotCreateObject() { return {429, "ActiveX component can't create object"}; }
  static Failure notSupported() { return {438, "Object doesn't support this property or method"}; }
  static Failure duplicateKey() {
    return {457, "This key is already associated with an element of this collection"};
  }
  /// The mail client's failure for a folder, message or property the store does not hold.
  static Failure objectNotFound() {
    return {-2147221233, "The operation failed. An object could not be found."};
  }
  /// The mail client's failure for a property that an item holds no value for.
  static Failure propertyNotFound() {
    return {-2147221233, "The property is unknown or cannot be found."};
  }
  /// The mail client's failure for an argument it does not accept.
  static Failure invalidParameter() {
    return {-2147024809, "One or more parameter values are not valid."};
  }
  /// The program's own failure for a required argument that was not given.
  static Failure parameterMissing() { return {-99987, "Parameter missing"}; }

  /// The failure for a file operation that failed with `error` (an errno value).
  /// `parentMissing` tells ENOENT on a missing folder (76) from a missing file (53).
  static Failure fromErrno(int error, bool parentMissing = false);

 private:
  int32_t number_;
  std::string description_;
};

/// The program's own numbers for a record added without a usable number or description.
inline constexpr int32_t kUnknownErrorNumber = -99999;
inline constexpr const char* kUnknownErrorDescription = "Unknown error";

}  // namespace dks
