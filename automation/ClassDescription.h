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

/// Runs one served member: the gate first, then `body` on the live target. A failure that the
/// member did not handle itself is recorded under the class and member, and answered as
/// kFailedError; the server goes on.
template <class T, class Body>
void serveMember(ObjectTable& table, const std::function<std::shared_ptr<T>()>& targetOf,
                 const std::string& className, const std::string& member, Body&& body) {
  table.admit();
  std::shared_ptr<T> target = targetOf();
  if (!target) throw sdbus::Error(kUnknownObjectError, "The " + className + " object has ended");
  try {
    body(*target);
  } catch (const sdbus::Error&) {
    throw;
  } catch (...) {
    dks::detail::recordCurrentException(className, member);
    throw sdbus::Error(kFailedError, className + "." + member + " failed; see the error log");
  }
}

}  // namespace detail

template <class T>
class ClassDescription {
 public:
  /// What a registration reaches at each call: the live object, or nullptr once it has ended.
  using TargetOf = std::function<std::shared_ptr<T>()>;

  /// The description of the class `className`, exported on kInterfacePrefix + `className`.
  explicit ClassDescription(std::string className) : className_(std::move(className)) {}

  const std::string& className() const noexcept { return className_; }
  std::string interfaceName() const { return kInterfacePrefix + className_; }

  /// A read-only property: `getter` is a const member function or a function of `const T&`.
  template <class Getter>
  ClassDescription& property(std::string name, Getter getter) {
    using Value = std::remove_cvref_t<std::invoke_result_t<Getter, const T&>>;
    members_.push_back([name, getter, className = className_](
                           sdbus::IObject& object, const std::string& interface,
                           const TargetOf& targetOf, ObjectTable& table) {
      object.registerProperty(interface, name, BusValue<Value>::signature,
                              reader(getter, targetOf, className, name, table), propertyFlags());
    });
    return *this;
  }

  /// A read-write property: `setter` takes the value the client writes.
  template <class Getter, class Setter>
  ClassDescription& property(std::string name, Getter getter, Setter setter) {
    using Value = std::remove_cvref_t<std::invoke_result_t<Getter, const T&>>;
    members_.push_back([name, getter, setter, className = className_](
                           sdbus::IObject& object, const std::string& interface,
                           const TargetOf& targetOf, ObjectTable& table) {
      object.registerProperty(interface, name, BusValue<Value>::signature,
                              reader(getter, targetOf, className, name, table),
                              writer(setter, targetOf, className, name, table), propertyFlags());
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
    members_.push_back([name, function, inNames, outNames, className = className_](
                           sdbus::IObject& object, const std::string& interface,
                           const TargetOf& targetOf, ObjectTable& table) {
      object.registerMethod(
          interface, name, detail::inputSignature(Parameters{}), inNames,
          detail::outputSignature<Result>(Parameters{}), outNames,
          [=, &table](sdbus::MethodCall call) {
            detail::serveMember<T>(table, targetOf, className, name, [&](T& target) {
              detail::serveMethod<Result>(function, target, call, table, Parameters{});
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
      description.registerOn(
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
  /// object `target` holds. The caller finishes the registration.
  void exportOn(sdbus::IObject& object, const std::weak_ptr<T>& target, ObjectTable& table) const {
    TargetOf targetOf = [target] { return target.lock(); };
    registerOn(object, interfaceName(), targetOf, table);
    for (const auto& presented : presented_) presented(object, targetOf, table);
  }

  /// Registers the members on `interface` of `object`, each call reaching what `targetOf`
  /// gives.
  void registerOn(sdbus::IObject& object, const std::string& interface, const TargetOf& targetOf,
                  ObjectTable& table) const {
    for (const auto& member : members_) member(object, interface, targetOf, table);
  }

 private:
  using Registration = std::function<void(sdbus::IObject&, const std::string&, const TargetOf&,
                                          ObjectTable&)>;
  using Presentation = std::function<void(sdbus::IObject&, const TargetOf&, ObjectTable&)>;

  // Values change without notice (a run changes them), so no change signal is promised.
  static sdbus::Flags propertyFlags() {
    sdbus::Flags flags;
    flags.set(sdbus::Flags::EMITS_NO_SIGNAL);
    return flags;
  }

  template <class Getter>
  static sdbus::property_get_callback reader(Getter getter, TargetOf targetOf,
                                             std::string className, std::string name,
                                             ObjectTable& table) {
    using Value = std::remove_cvref_t<std::invoke_result_t<Getter, const T&>>;
    return [=, &table](sdbus::PropertyGetReply& reply) {
      detail::serveMember<T>(table, targetOf, className, name, [&](T& target) {
        BusValue<Value>::write(reply, std::invoke(getter, std::as_const(target)), table);
      });
    };
  }

  template <class Setter>
  static sdbus::property_set_callback writer(Setter setter, TargetOf targetOf,
                                             std::string className, std::string name,
                                             ObjectTable& table) {
    return [=, &table](sdbus::PropertySetCall& call) {
      detail::serveMember<T>(table, targetOf, className, name, [&](T& target) {
        write(setter, target, call, table, typename detail::Callable<Setter>::Parameters{});
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
