// ObjectTable: the objects of the model that the server has handed out on the bus, by path.
//
// An object is exported the first time a member hands it out, under
// /org/dksreconciler/<class>/<n>, with the interfaces its class description gives. The table
// holds it weakly: the object's owner decides how long it lives, and once the owner dropped it
// the next sweep unexports its path.
#pragma once

#include <sdbus-c++/sdbus-c++.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <typeindex>
#include <utility>
#include <vector>

namespace dks::automation {

/// The path that stands for "no object".
inline constexpr const char* kNoObject = "/";
/// The root of every path the server exports.
inline constexpr const char* kObjectRoot = "/org/dksreconciler";

template <class T>
class ClassDescription;
/// The one description of class T's members (automation/Descriptions.h).
template <class T>
const ClassDescription<T>& describe();

/// The type whose description a class is exported with: the class itself, or the interface
/// that describes it (a docket is exported with the members of its interface).
template <class X>
struct DescribedAs {
  using type = X;
};
template <class X>
using DescribedType = typename DescribedAs<X>::type;

class ObjectTable {
 public:
  /// A table that exports its objects on `connection`.
  explicit ObjectTable(sdbus::IConnection& connection) : connection_(connection) {}
  ObjectTable(const ObjectTable&) = delete;
  ObjectTable& operator=(const ObjectTable&) = delete;

  /// The path of `object`: "/" for none; otherwise its path, exporting it with the interfaces of
  /// its class description on its first hand-out. Throws sdbus::Error when the bus refuses the
  /// export.
  template <class X>
  std::string pathOf(const std::shared_ptr<X>& object) {
    using Described = DescribedType<X>;
    std::shared_ptr<Described> described = object;
    if (!described) return kNoObject;
    const auto& description = describe<Described>();
    return exportedPath(described, typeid(Described), description.className(),
                        [this, weak = std::weak_ptr<Described>(described),
                         &description](sdbus::IObject& exported) {
                          return description.exportOn(exported, weak, *this);
                        });
  }

  /// The live object of class X exported at `path`; nullptr when the path names no object, an
  /// object of another class, or one that has ended.
  template <class X>
  std::shared_ptr<X> find(const std::string& path) const {
    static_assert(std::is_same_v<X, DescribedType<X>>, "found by the class it is exported with");
    return std::static_pointer_cast<X>(findLive(path, typeid(X)));
  }

  /// Unexports every object that has ended. Call it between calls, never inside one.
  void sweep();

  /// The number of objects exported now, ended ones not yet swept included.
  size_t size() const noexcept { return byPath_.size(); }

  /// Every exported member runs `gate` before it does anything; a gate that throws sdbus::Error
  /// turns the call into that D-Bus error.
  void setGate(std::function<void()> gate) { gate_ = std::move(gate); }
  void admit() const {
    if (gate_) gate_();
  }

 private:
  // Registers an object's interfaces and returns what its member callbacks reach.
  using Exporter = std::function<std::shared_ptr<void>(sdbus::IObject&)>;
  using ObjectKey = std::pair<const void*, std::type_index>;
  struct Entry {
    std::weak_ptr<void> object;
    ObjectKey key;
    std::shared_ptr<void> bindings;  // declared first: it outlives the export
    std::unique_ptr<sdbus::IObject> exported;
  };

  std::string exportedPath(const std::shared_ptr<void>& object, std::type_index type,
                           const std::string& className, const Exporter& exporter);
  std::shared_ptr<void> findLive(const std::string& path, std::type_index type) const;
  void retire(std::string path);

  sdbus::IConnection& connection_;
  std::map<std::string, Entry> byPath_;
  std::map<ObjectKey, std::string> pathByObject_;
  // Exports of ended objects found during a call; dropped at the next sweep, outside any call.
  std::vector<Entry> retired_;
  uint64_t nextNumber_ = 1;
  std::function<void()> gate_;
};

}  // namespace dks::automation
