// ClassDescription: the one description of how a class of the model looks on the bus — its
// interface name and its members, in the class's order, each given by its C++ member (or a
// small function of the object). Everything else is derived from it: D-Bus signatures from the
// C++ types (automation/BusValue.h), the reading of arguments, the call, the answer, and the
// interfaces a class presents inertly.
//
// - property(name, getter[, setter]): a D-Bus property, read-only without a setter.
// - method(name, function, parameter names): a D-Bus method. Parameters taken by non-const
//   reference are out parameters: the answer is the function's result (if any), then the out
//   parameters in order.
// - presents<I>(as): the members of I's description on I's interface of the same object, each
//   reaching what `as` gives (the class's inert implementation of I).
#pragma once

#include <sdbus-c++/sdbus-c++.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "app/attempt.h"
#include "automation/BusValue.h"
#include "automation/ObjectTable.h"

namespace dks::automation {

/// Interfaces are named after their class: kInterfacePrefix + "clsInclude".
inline constexpr const char* kInterfacePrefix = "org.dksreconciler.";
/// The D-Bus error of a member whose object has ended between hand-out and call.
inline constexpr const char* kUnknownObjectError = "org.freedesktop.DBus.Error.UnknownObject";
/// The D-Bus error of a member that failed outside the member's own failure handling.
inline constexpr const char* kFailedError = "org.dksreconciler.Error.Failed";

namespace detail {

template <class... A>
struct TypeList {};

/// Result and parameter types of a lambda whose first parameter is the object.
template <class CallOperator>
struct LambdaCall;
template <class R, class L, class Object, class... A>
struct LambdaCall<R (L::*)(Object, A...) const> {
  using Result = R;
  using Parameters = TypeList<A...>;
};

/// Result and parameter types of a member function pointer, or of a lambda (above).
template <class F>
struct Callable : LambdaCall<decltype(&F::operator())> {};
template <class R, class C, class... A>
struct Callable<R (C::*)(A...)> {
  using Result = R;
  using Parameters = TypeList<A...>;
};
template <class R, class C, class... A>
struct Callable<R (C::*)(A...) const> : Callable<R (C::*)(A...)> {};
template <class R, class C, class... A>
struct Callable<R (C::*)(A...) noexcept> : Callable<R (C::*)(A...)> {};
template <class R, class C, class... A>
struct Callable<R (C::*)(A...) const noexcept> : Callable<R (C::*)(A...)> {};

template <class A>
inline constexpr bool kIsOut =
    std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

/// What holds a parameter for the length of the call.
template <class A>
using Held = std::conditional_t<std::is_same_v<std::remove_cvref_t<A>, std::string_view>,
                                std::string, std::remove_cvref_t<A>>;

template <class A>
Held<A> readParameter(sdbus::Message& call, ObjectTable& table) {
  if constexpr (kIsOut<A>) {
    return Held<A>{};
  } else {
    return BusValueOf<A>::read(call, table);
  }
}

template <class A>
void writeIfOut(sdbus::Message& reply, const Held<A>& value, ObjectTable& table) {
  if constexpr (kIsOut<A>) BusValueOf<A>::write(reply, value, table);
}

template <class... A>
std::string inputSignature(TypeList<A...>) {
  std::string signature;
  ((signature += kIsOut<A> ? "" : BusValueOf<A>::signature), ...);
  return signature;
}

template <class R, class... A>
std::string outputSignature(TypeList<A...>) {
  std::string signature;
  if constexpr (!std::is_void_v<R>) signature += BusValueOf<R>::signature;
  ((signature += kIsOut<A> ? BusValueOf<A>::signature : ""), ...);
  return signature;
}

/// Splits the parameter names into in and out names; the result, if any, is named "result".
template <class R, class... A>
std::pair<std::vector<std::string>, std::vector<std::string>> splitNames(
    TypeList<A...>, const std::string& member, const std::vector<std::string>& names) {
  if (names.size() != sizeof...(A))
    throw std::logic_error("the description of " + member + " names " +
                           std::to_string(names.size()) + " parameters, not " +
                           std::to_string(sizeof...(A)));
  std::pair<std::vector<std::string>, std::vector<std::string>> split;
  if constexpr (!std::is_void_v<R>) split.second.push_back("result");
  size_t index = 0;
  ((kIsOut<A> ? split.second : split.first).push_back(names[index++]), ...);
  return split;
}

/// Reads the in parameters, calls `function` on `target` and sends the answer.
template <class R, class T, class F, class... A>
void serveMethod(const F& function, T& target, sdbus::MethodCall& call, ObjectTable& table,
                 TypeList<A...>) {
  // A braced list reads the parameters in order.
  std::tuple<Held<A>...> held{readParameter<A>(call, table)...};
  auto reply = call.createReply();
  auto invoke = [&] {
    return std::apply([&](auto&... values) { return std::invoke(function, target, values...); },
                      held);
  };
  if constexpr (std::is_void_v<R>) {
    invoke();
  } else {
    BusValueOf<R>::write(reply, invoke(), table);
  }
  std::apply(
      [&](const auto&... values) { (writeIfOut<A>(reply, values, table), ...); },
      held);
  reply.send();
}

/// What the members of one exported interface reach at each call: the live object (nullptr
/// once it has ended) and the table. One per exported object and interface, kept by the table
/// for as long as the export; the member callbacks hold a plain pointer to it.
template <class T>
struct Binding {
  std::function<std::shared_ptr<T>()> targetOf;
  ObjectTable* table;
};

/// The fixed facts of one member, shared by every object its class exports.
template <class Access>
struct MemberInfo {
  std::string className;
  std::string name;
  Access access;  // the member function(s) or function that serve the member
};

/// Runs one served member: the gate first, then `body` on the live target. A failure that the
/// member did not handle itself is recorded under the class and member, and answered as
/// kFailedError; the server goes on.
template <class T, class Access, class Body>
void serveMember(const Binding<T>& binding, const MemberInfo<Access>& info, Body&& body) {
  binding.table->admit();
  std::shared_ptr<T> target = binding.targetOf();
  if (!target)
    throw sdbus::Error(kUnknownObjectError, "The " + info.className + " object has ended");
  try {
    body(*target);
  } catch (const sdbus::Error&) {
    throw;
  } catch (...) {
    dks::detail::recordCurrentException(info.className, info.name);
    throw sdbus::Error(kFailedError,
                       info.className + "." + info.name + " failed; see the error log");
  }
}

}  // namespace detail

template <class T>
class ClassDescription {
 public:
  /// What a registration reaches at each call: the live object, or nullptr once it has ended.
  using TargetOf = std::function<std::shared_ptr<T>()>;
  /// What an export keeps alive for as long as the exported object stays on the bus.
  using Keep = std::shared_ptr<void>;

  /// The description of the class `className`, exported on kInterfacePrefix + `className`.
  explicit ClassDescription(std::string className) : className_(std::move(className)) {}

  const std::string& className() const noexcept { return className_; }
  std::string interfaceName() const { return kInterfacePrefix + className_; }

  /// A read-only property: `getter` is a const member function or a function of `const T&`.
  template <class Getter>
  ClassDescription& property(std::string name, Getter getter) {
    using Value = std::remove_cvref_t<std::invoke_result_t<Getter, const T&>>;
    auto info = share(std::move(name), getter);
    members_.push_back([info](sdbus::IObject& object, const std::string& interface,
                              const Binding* binding) {
      object.registerProperty(interface, info->name, BusValue<Value>::signature,
                              reader<Value>(info.get(), binding), propertyFlags());
    });
    return *this;
  }

  /// A read-write property: `setter` takes the value the client writes.
  template <class Getter, class Setter>
  ClassDescription& property(std::string name, Getter getter, Setter setter) {
    using Value = std::remove_cvref_t<std::invoke_result_t<Getter, const T&>>;
    auto getterInfo = share(name, getter);
    auto setterInfo = share(std::move(name), setter);
    members_.push_back([getterInfo, setterInfo](sdbus::IObject& object,
                                                const std::string& interface,
                                                const Binding* binding) {
      object.registerProperty(interface, getterInfo->name, BusValue<Value>::signature,
                              reader<Value>(getterInfo.get(), binding),
                              writer(setterInfo.get(), binding), propertyFlags());
    });
    return *this;
  }

  /// A method; `parameterNames` names every parameter of `function` (in and out), in order.
  template <class Function>
  ClassDescription& method(std::string name, Function function,
                           std::vector<std::string> parameterNames = {}) {
    using Signature = detail::Callable<Function>;
    using Result = typename Signature::Result;
    using Parameters = typename Signature::Parameters;
    auto [inNames, outNames] =
        detail::splitNames<Result>(Parameters{}, className_ + "." + name, parameterNames);
    auto info = share(std::move(name), function);
    members_.push_back([info, inNames, outNames](sdbus::IObject& object,
                                                 const std::string& interface,
                                                 const Binding* binding) {
      object.registerMethod(
          interface, info->name, detail::inputSignature(Parameters{}), inNames,
          detail::outputSignature<Result>(Parameters{}), outNames,
          [info = info.get(), binding](sdbus::MethodCall call) {
            detail::serveMember(*binding, *info, [&](T& target) {
              detail::serveMethod<Result>(info->access, target, call, *binding->table,
                                          Parameters{});
            });
          });
    });
    return *this;
  }

  /// Presents the interface of I on the same object: I's description, each call reaching the
  /// I that `as` (a member function of T returning I&) gives.
  template <class I, class As>
  ClassDescription& presents(As as) {
    presented_.push_back([as](sdbus::IObject& object, const TargetOf& targetOf,
                              ObjectTable& table) {
      const auto& description = describe<I>();
      return description.registerOn(
          object, description.interfaceName(),
          [targetOf, as]() -> std::shared_ptr<I> {
            std::shared_ptr<T> owner = targetOf();
            if (!owner) return nullptr;
            return std::shared_ptr<I>(owner, &std::invoke(as, *owner));
          },
          table);
    });
    return *this;
  }

  /// Registers the class's own interface and the interfaces it presents on `object`, for the
  /// object `target` holds. The caller finishes the registration, and keeps what this returns
  /// for as long as `object` is on the bus.
  Keep exportOn(sdbus::IObject& object, const std::weak_ptr<T>& target,
                ObjectTable& table) const {
    TargetOf targetOf = [target] { return target.lock(); };
    auto kept = std::make_shared<std::vector<Keep>>();
    kept->push_back(registerOn(object, interfaceName(), targetOf, table));
    for (const auto& presented : presented_) kept->push_back(presented(object, targetOf, table));
    return kept;
  }

  /// Registers the members on `interface` of `object`, each call reaching what `targetOf`
  /// gives. Returns what the members reach, to be kept for as long as `object` is on the bus.
  Keep registerOn(sdbus::IObject& object, const std::string& interface, TargetOf targetOf,
                  ObjectTable& table) const {
    auto binding = std::make_shared<Binding>(Binding{std::move(targetOf), &table});
    for (const auto& member : members_) member(object, interface, binding.get());
    return binding;
  }

 private:
  using Binding = detail::Binding<T>;
  using Registration =
      std::function<void(sdbus::IObject&, const std::string&, const Binding*)>;
  using Presentation = std::function<Keep(sdbus::IObject&, const TargetOf&, ObjectTable&)>;

  template <class Access>
  std::shared_ptr<const detail::MemberInfo<Access>> share(std::string name, Access access) const {
    return std::make_shared<const detail::MemberInfo<Access>>(
        detail::MemberInfo<Access>{className_, std::move(name), std::move(access)});
  }

  // Values change without notice (a run changes them), so no change signal is promised.
  static sdbus::Flags propertyFlags() {
    sdbus::Flags flags;
    flags.set(sdbus::Flags::EMITS_NO_SIGNAL);
    return flags;
  }

  // The callbacks hold two plain pointers, so no callback of any exported object allocates.
  template <class Value, class Getter>
  static sdbus::property_get_callback reader(const detail::MemberInfo<Getter>* info,
                                             const Binding* binding) {
    return [info, binding](sdbus::PropertyGetReply& reply) {
      detail::serveMember(*binding, *info, [&](T& target) {
        BusValue<Value>::write(reply, std::invoke(info->access, std::as_const(target)),
                               *binding->table);
      });
    };
  }

  template <class Setter>
  static sdbus::property_set_callback writer(const detail::MemberInfo<Setter>* info,
                                             const Binding* binding) {
    return [info, binding](sdbus::PropertySetCall& call) {
      detail::serveMember(*binding, *info, [&](T& target) {
        write(info->access, target, call, *binding->table,
              typename detail::Callable<Setter>::Parameters{});
      });
    };
  }

  template <class Setter, class V>
  static void write(const Setter& setter, T& target, sdbus::PropertySetCall& call,
                    ObjectTable& table, detail::TypeList<V>) {
    detail::Held<V> value = BusValueOf<V>::read(call, table);
    std::invoke(setter, target, value);
  }

  std::string className_;
  std::vector<Registration> members_;
  std::vector<Presentation> presented_;
};

}  // namespace dks::automation
