#pragma once
// Event handlers may destroy the object that raised the event. An object keeps
// a TLifeline; code that raises an event takes a watch first and returns at
// once, touching nothing, when the watch says the object is gone.
#include <memory>
#include <utility>

namespace corvane {

class TLifeline {
 public:
  class Watch {
   public:
    explicit Watch(std::shared_ptr<const bool> alive) : alive_(std::move(alive)) {}
    explicit operator bool() const { return *alive_; }

   private:
    std::shared_ptr<const bool> alive_;
  };

  TLifeline() = default;
  TLifeline(const TLifeline&) = delete;
  TLifeline& operator=(const TLifeline&) = delete;
  ~TLifeline() { *alive_ = false; }

  Watch Take() const { return Watch(alive_); }

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Calls a copy of the event, so that a handler that destroys the object
// holding the event does not destroy the handler while it runs.
template <typename Event, typename... Args>
void RaiseEvent(const Event& event, Args&&... args) {
  if (!event) return;
  const Event handler = event;
  handler(std::forward<Args>(args)...);
}

}  // namespace corvane
