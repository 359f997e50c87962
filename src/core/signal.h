#ifndef ECU_CORE_SIGNAL_H_
#define ECU_CORE_SIGNAL_H_

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace ecu {

// Ends a listener's subscription when destroyed (or cancelled). The source it
// came from must outlive it.
class Subscription {
 public:
  Subscription() = default;
  explicit Subscription(std::function<void()> cancel)
      : cancel_(std::move(cancel)) {}
  ~Subscription() { Cancel(); }
  Subscription(Subscription&& other) noexcept
      : cancel_(std::exchange(other.cancel_, nullptr)) {}
  Subscription& operator=(Subscription&& other) noexcept {
    if (this != &other) {
      Cancel();
      cancel_ = std::exchange(other.cancel_, nullptr);
    }
    return *this;
  }
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

  void Cancel() {
    if (cancel_) std::exchange(cancel_, nullptr)();
  }

 private:
  std::function<void()> cancel_;
};

// Something that happened, told to whoever listens: core records announce
// changes without knowing which windows exist, and a window hears them for
// as long as it holds its Subscription.
template <typename... Args>
class Signal {
 public:
  using Listener = std::function<void(Args...)>;

  Signal() = default;
  Signal(const Signal&) = delete;
  Signal& operator=(const Signal&) = delete;

  [[nodiscard]] Subscription Subscribe(Listener listener) {
    const long id = next_id_++;
    listeners_[id] = std::make_shared<Listener>(std::move(listener));
    return Subscription([this, id] { listeners_.erase(id); });
  }

  void Emit(Args... args) const {
    // A listener may subscribe or cancel while it runs: go through a
    // snapshot, skipping whoever has cancelled meanwhile.
    std::vector<std::pair<long, std::shared_ptr<Listener>>> snapshot(
        listeners_.begin(), listeners_.end());
    for (const auto& [id, listener] : snapshot) {
      if (listeners_.count(id) != 0) (*listener)(args...);
    }
  }

  bool empty() const { return listeners_.empty(); }

 private:
  std::map<long, std::shared_ptr<Listener>> listeners_;
  long next_id_ = 1;
};

}  // namespace ecu

#endif  // ECU_CORE_SIGNAL_H_
