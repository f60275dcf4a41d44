// BusValue: how each value of the object model travels on the bus. A specialisation gives the
// D-Bus signature of its type, `read` (an argument, or a property a client writes) and `write`
// (a result, an out parameter, or a property a client reads).
//
// Objects travel as paths: a class the server exports gets its path on first hand-out; a
// mail-client object is never exported, so it is written as "/" and read as unset.
#pragma once

#include <sdbus-c++/sdbus-c++.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "automation/ObjectTable.h"
#include "platform/Outlook.h"
#include "platform/Platform.h"
#include "platform/Variant.h"
#include "platform/XmlDocument.h"

namespace dks::automation {

template <class T, class = void>
struct BusValue;

template <>
struct BusValue<int32_t> {
  static constexpr const char* signature = "i";
  static int32_t read(sdbus::Message& message, ObjectTable&) {
    int32_t value = 0;
    message >> value;
    return value;
  }
  static void write(sdbus::Message& message, int32_t value, ObjectTable&) { message << value; }
};

template <>
struct BusValue<bool> {
  static constexpr const char* signature = "b";
  static bool read(sdbus::Message& message, ObjectTable&) {
    bool value = false;
    message >> value;
    return value;
  }
  static void write(sdbus::Message& message, bool value, ObjectTable&) { message << value; }
};

template <>
struct BusValue<std::string> {
  static constexpr const char* signature = "s";
  static std::string read(sdbus::Message& message, ObjectTable&) {
    std::string value;
    message >> value;
    return value;
  }
  static void write(sdbus::Message& message, const std::string& value, ObjectTable&) {
    message << value;
  }
};

/// A text argument taken by view is read into a string that lives for the call.
template <>
struct BusValue<std::string_view> : BusValue<std::string> {};

/// vntIndex: a variant holding a position (any integer type) or a key (a text). Any other
/// content is neither, and reaches the member as an empty index, which it refuses as an
/// invalid argument.
template <>
struct BusValue<Variant> {
  static constexpr const char* signature = "v";
  static Variant read(sdbus::Message& message, ObjectTable&);
};

/// A DOM document cannot cross the bus: it is written as its XML text.
template <>
struct BusValue<std::shared_ptr<XmlDocument>> {
  static constexpr const char* signature = "s";
  static void write(sdbus::Message& message, const std::shared_ptr<XmlDocument>& document,
                    ObjectTable&);
};

/// An object of the model: its path, exported on first hand-out. A mail-client object is never
/// exported: it is written as "/" and read as unset.
template <class X>
struct BusValue<std::shared_ptr<X>> {
  static constexpr const char* signature = "o";
  static constexpr bool kExported = !std::is_base_of_v<AutomationObject, X>;

  static std::shared_ptr<X> read(sdbus::Message& message, ObjectTable& table) {
    sdbus::ObjectPath path;
    message >> path;
    if constexpr (kExported) {
      return table.find<X>(path);
    } else {
      return nullptr;
    }
  }
  static void write(sdbus::Message& message, const std::shared_ptr<X>& object,
                    ObjectTable& table) {
    if constexpr (kExported) {
      message << sdbus::ObjectPath(table.pathOf(object));
    } else {
      message << sdbus::ObjectPath(kNoObject);
    }
  }
};

/// The members of a collection, in order (NewEnum).
template <class X>
struct BusValue<std::vector<std::shared_ptr<X>>> {
  static constexpr const char* signature = "ao";
  static void write(sdbus::Message& message, const std::vector<std::shared_ptr<X>>& objects,
                    ObjectTable& table) {
    std::vector<sdbus::ObjectPath> paths;
    paths.reserve(objects.size());
    for (const auto& object : objects) paths.emplace_back(table.pathOf(object));
    message << paths;
  }
};

/// The BusValue of a parameter or result type as it is declared (`const std::string&`,
/// `std::string_view`, `const vntIndex&`, `bool&`).
template <class T>
using BusValueOf = BusValue<std::remove_cvref_t<T>>;

}  // namespace dks::automation
