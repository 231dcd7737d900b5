#pragma once
// The context every component of one program (or one test) lives in: the platform, the
// process-wide format settings, and the process-wide state of the subsystems (the CPU usage
// sampler, the registry of dictionaries, ...). Components reach it through their owner chain,
// so several tests, each with its own fake platform, can run in one process.
#include <memory>
#include <typeindex>
#include <unordered_map>

#include "framework/format_settings.h"
#include "platform/platform.h"

namespace vsi {

class AppContext {
 public:
  explicit AppContext(Platform platform);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  Platform& platform() { return platform_; }
  TFormatSettings& format() { return format_; }

  // Per-context state of a subsystem, made on first use (T must be constructible from
  // AppContext&) and destroyed with the context, newest first.
  template <class T>
  T& Service() {
    auto it = services_.find(typeid(T));
    if (it == services_.end()) {
      auto holder = std::make_unique<Holder<T>>(*this);
      T& ref = holder->value;
      order_.push_back(holder.get());
      services_.emplace(typeid(T), std::move(holder));
      return ref;
    }
    return static_cast<Holder<T>*>(it->second.get())->value;
  }
  template <class T>
  T* FindService() {
    auto it = services_.find(typeid(T));
    return it == services_.end() ? nullptr : &static_cast<Holder<T>*>(it->second.get())->value;
  }

 private:
  struct HolderBase {
    virtual ~HolderBase() = default;
  };
  template <class T>
  struct Holder : HolderBase {
    explicit Holder(AppContext& ctx) : value(ctx) {}
    T value;
  };
  Platform platform_;
  TFormatSettings format_;
  std::unordered_map<std::type_index, std::unique_ptr<HolderBase>> services_;
  std::vector<HolderBase*> order_;
};

}  // namespace vsi
