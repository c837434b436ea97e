#include "net/name_lookup.h"

#include <thread>

namespace corvane {

std::shared_ptr<TNameLookup> TNameLookup::Start(platform::Sockets::NameResolver resolver, std::string name,
                                                platform::WindowId window, std::uint32_t message,
                                                platform::MessageWord word) {
  std::shared_ptr<TNameLookup> lookup(new TNameLookup());
  lookup->inbox_ = platform::ThisThreadInbox();
  lookup->window_ = window;
  lookup->message_ = message;
  lookup->word_ = word;
  std::thread([lookup, resolver = std::move(resolver), name = std::move(name)] {
    lookup->Run(resolver, name);
  }).detach();
  return lookup;
}

// The answer is posted under the lock, so that an Abandon that returned has
// either seen it posted or kept it from ever being posted.
void TNameLookup::Run(const platform::Sockets::NameResolver& resolver, const std::string& name) {
  TAnswer answer;
  answer.Error = resolver(name, answer.Addresses);
  const std::lock_guard<std::mutex> lock(mutex_);
  if (abandoned_) return;
  answer_ = std::move(answer);
  inbox_->Post(window_, message_, word_, 0);
}

void TNameLookup::Abandon() {
  const std::lock_guard<std::mutex> lock(mutex_);
  abandoned_ = true;
}

TNameLookup::TAnswer TNameLookup::Answer() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return answer_;
}

}  // namespace corvane
