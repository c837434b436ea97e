#include "tools/demo_host/demo_session.h"

#include "tools/demo_host/key_names.h"
#include "tools/demo_host/showcase.h"

namespace corvane::demo {
namespace {

constexpr unsigned char kSe = 240, kSb = 250, kWill = 251, kWont = 252, kDo = 253, kDont = 254, kIac = 255;
constexpr unsigned char kEcho = 1, kSga = 3, kSendLoc = 23, kTermType = 24;
constexpr unsigned char kIs = 0, kSend = 1;
// Terminal type names are at most 40 characters; anything longer is cut.
constexpr size_t kMaxSubNegotiation = 64;
constexpr int kNameWidth = 24;

std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

DemoSession::DemoSession() {
  output_ = Bytes({kIac, kWill, kEcho, kIac, kWill, kSga, kIac, kDo, kTermType, kIac, kDo, kSendLoc});
}

void DemoSession::Receive(std::string_view bytes) {
  for (unsigned char c : bytes) {
    if (finished_) return;
    ProcessByte(c);
  }
  if (greeted_ && !data_.empty()) TestKeys(data_);
  data_.clear();
}

void DemoSession::ProcessByte(unsigned char c) {
  switch (state_) {
    case State::Data:
      if (c == kIac)
        state_ = State::Iac;
      else
        data_ += static_cast<char>(c);
      return;
    case State::Iac:
      state_ = State::Data;
      if (c == kIac) data_ += static_cast<char>(c);
      if (c == kSb) {
        sub_neg_.clear();
        state_ = State::SubNeg;
      }
      if (c >= kWill && c <= kDont) {
        verb_ = c;
        state_ = State::Verb;
      }
      return;
    case State::Verb:
      state_ = State::Data;
      HandleVerb(verb_, c);
      return;
    case State::SubNeg:
      if (c == kIac)
        state_ = State::SubNegIac;
      else if (sub_neg_.size() < kMaxSubNegotiation)
        sub_neg_ += static_cast<char>(c);
      return;
    case State::SubNegIac:
      state_ = State::SubNeg;
      if (c == kSe) {
        state_ = State::Data;
        HandleSubNegotiation();
      } else if (c == kIac && sub_neg_.size() < kMaxSubNegotiation) {
        sub_neg_ += static_cast<char>(c);
      }
      return;
  }
}

// Options offered by the host are confirmed by the client's DO and need no
// answer; everything else is refused with the matching negative verb.
void DemoSession::HandleVerb(unsigned char verb, unsigned char option) {
  bool offered = option == kEcho || option == kSga;
  bool requested = option == kTermType || option == kSendLoc;
  if (verb == kWill && option == kTermType)
    output_ += Bytes({kIac, kSb, kTermType, kSend, kIac, kSe});
  else if (verb == kWill && !requested)
    SendCommand(kDont, option);
  else if (verb == kDo && !offered)
    SendCommand(kWont, option);
  else if (verb == kWont && option == kTermType)
    term_type_settled_ = true;
  else if (verb == kWont && option == kSendLoc)
    location_settled_ = true;
  GreetWhenReady();
}

void DemoSession::HandleSubNegotiation() {
  if (sub_neg_.size() >= 2 && sub_neg_[0] == static_cast<char>(kTermType) && sub_neg_[1] == kIs) {
    term_type_ = sub_neg_.substr(2);
    term_type_settled_ = true;
  }
  if (!sub_neg_.empty() && sub_neg_[0] == static_cast<char>(kSendLoc)) {
    location_ = sub_neg_.substr(1);
    location_settled_ = true;
  }
  GreetWhenReady();
}

void DemoSession::SendCommand(unsigned char verb, unsigned char option) { output_ += Bytes({kIac, verb, option}); }

void DemoSession::NegotiationTimedOut() {
  term_type_settled_ = location_settled_ = true;
  GreetWhenReady();
}

void DemoSession::GreetWhenReady() {
  if (greeted_ || !term_type_settled_ || !location_settled_) return;
  greeted_ = true;
  output_ += ShowcaseScreen(term_type_, location_);
}

void DemoSession::TestKeys(std::string_view data) {
  for (const auto& sequence : SplitKeySequences(data)) {
    if (sequence == "q") {
      output_ += "\r\nGoodbye.\r\n";
      finished_ = true;
      return;
    }
    std::string name = NameKeySequence(sequence);
    if (name.size() < kNameWidth) name.resize(kNameWidth, ' ');
    output_ += "\r\n  " + name + "  " + HexBytes(sequence);
    if (const std::string key = KeyOfSequence(sequence); !key.empty()) output_ += "  " + key;
  }
}

std::string DemoSession::TakeOutput() {
  std::string out;
  out.swap(output_);
  return out;
}

}  // namespace corvane::demo
