#pragma once
// One host name looked up on a worker thread, so that a resolver that is
// slow or never answers cannot hold the message loop. The answer comes back
// as a message to a target of the loop's thread. Abandoning a lookup lets it
// run on unheard: the worker shares only this state, never its requester,
// and nothing waits for it to end (not even the program's exit).
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/message_loop.h"
#include "platform/sockets.h"

namespace corvane {

class TNameLookup {
 public:
  struct TAnswer {
    int Error = 0;  // the library's error number, 0 with addresses
    std::vector<platform::SockAddr> Addresses;
  };

  // Starts the lookup of `name` by the library's resolver, which the worker
  // keeps; its answer is posted as (message, word) to `window` on the
  // calling thread's loop. Raises std::system_error when no thread can be
  // started.
  static std::shared_ptr<TNameLookup> Start(platform::Sockets::NameResolver resolver, std::string name,
                                            platform::WindowId window, std::uint32_t message,
                                            platform::MessageWord word);

  // No message will come after this returns; one already posted must be
  // told apart by its word.
  void Abandon();
  // The answer, once its message has arrived.
  TAnswer Answer();

 private:
  TNameLookup() = default;
  void Run(const platform::Sockets::NameResolver& resolver, const std::string& name);

  std::mutex mutex_;
  bool abandoned_ = false;
  TAnswer answer_;
  std::shared_ptr<platform::LoopInbox> inbox_;
  platform::WindowId window_ = 0;
  std::uint32_t message_ = 0;
  platform::MessageWord word_ = 0;
};

}  // namespace corvane
