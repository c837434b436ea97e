#pragma once
// One client of the demo host: the server side of the telnet negotiation, the
// showcase screen and the key tester. It only transforms bytes; the program's
// loop moves them to and from the network.
#include <string>
#include <string_view>

namespace corvane::demo {

class DemoSession {
 public:
  // Queues the opening negotiation: WILL ECHO, WILL SUPPRESS-GO-AHEAD,
  // DO TERMINAL-TYPE, DO SEND-LOCATION.
  DemoSession();

  // Takes bytes received from the client.
  void Receive(std::string_view bytes);
  // The client did not finish negotiating in time: greet with what is known.
  void NegotiationTimedOut();

  // Removes and returns the bytes to send to the client.
  std::string TakeOutput();
  bool HasOutput() const { return !output_.empty(); }
  bool Greeted() const { return greeted_; }
  // The user pressed q; the output holds the goodbye and the client can go.
  bool Finished() const { return finished_; }

  const std::string& TermType() const { return term_type_; }
  const std::string& Location() const { return location_; }

 private:
  enum class State { Data, Iac, Verb, SubNeg, SubNegIac };

  void ProcessByte(unsigned char c);
  void HandleVerb(unsigned char verb, unsigned char option);
  void HandleSubNegotiation();
  void SendCommand(unsigned char verb, unsigned char option);
  void GreetWhenReady();
  void TestKeys(std::string_view data);

  State state_ = State::Data;
  unsigned char verb_ = 0;
  std::string sub_neg_;
  std::string data_;
  std::string output_;
  std::string term_type_;
  std::string location_;
  bool term_type_settled_ = false;
  bool location_settled_ = false;
  bool greeted_ = false;
  bool finished_ = false;
};

}  // namespace corvane::demo
