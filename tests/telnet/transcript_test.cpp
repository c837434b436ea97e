// Telnet transcripts: each file in transcripts/ is one scenario that the
// protocol core runs in memory, after a `case` line with its title:
//
//   recv IAC DO TTYPE        feed these bytes as one received chunk
//   send IAC WILL TTYPE      the next event: bytes for the host
//   data "abc"               the next event: data (neighbouring runs joined)
//   eor                      the next event: end of record
//   wants ttype | location   the next event: a request, answered at once
//   trace "TNCH_EOR\r\n"     the next event: a trace line
//   set ttype | location BYTES   the text of later answers (VT100, TNCNX)
//   set negotiation classic | xterm   the table of answers (classic)
//   size COLS ROWS           the window size the client reports (80 25)
//   option NAME local|remote on|off   the state of an option
//   reset                    a new session
//
// Bytes are written as in the screen tests ("text", 0xHH, CR, LF, NUL, *N),
// plus telnet's command names and, after WILL, WONT, DO, DONT and SB, option
// names. Every event must be checked. Each scenario also runs with every
// chunk cut into single bytes and cut in two at each offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>

#include "telnet/tn_protocol.h"
#include "tests/screen/screen_script.h"

namespace corvane::tntest {
namespace {

using test::TScriptCase;

const std::map<std::string_view, int> kCommands = {
    {"IAC", 255}, {"DONT", 254}, {"DO", 253}, {"WONT", 252}, {"WILL", 251}, {"SB", 250},
    {"GA", 249},  {"EL", 248},   {"EC", 247}, {"AYT", 246},  {"AO", 245},   {"IP", 244},
    {"DM", 242},  {"NOP", 241},  {"SE", 240}, {"EOR", 239},  {"IS", 0},     {"SEND", 1}};
const std::map<std::string_view, int> kOptions = {{"BINARY", 0}, {"ECHO", 1}, {"SGA", 3},   {"SEND-LOCATION", 23},
                                                  {"TTYPE", 24}, {"EOR", 25}, {"NAWS", 31}, {"ENCRYPT", 38}};
const std::set<std::string_view> kVerbs = {"WILL", "WONT", "DO", "DONT", "SB"};
const char* const kEventNames[] = {"data", "send", "eor", "wants ttype", "wants location", "trace"};

std::string Bytes(const std::vector<std::string>& words, std::size_t from) {
  std::string bytes;
  for (std::size_t i = from; i < words.size(); ++i) {
    const auto option = kOptions.find(words[i]);
    const auto command = kCommands.find(words[i]);
    if (option != kOptions.end() && i > from && kVerbs.count(words[i - 1]))
      bytes += static_cast<char>(option->second);
    else if (command != kCommands.end())
      bytes += static_cast<char>(command->second);
    else
      bytes += test::TokenBytes(words[i]);
  }
  return bytes;
}

// One run of a scenario; chunks are fed whole (cut 0), byte by byte (cut 1)
// or in two at offset cut - 1.
class Transcript {
 public:
  explicit Transcript(int cut) : cut_(cut) {}

  std::string Run(const TScriptCase& c) {
    for (const auto& line : c.Lines) {
      if (std::string problem = Step(line.Words); !problem.empty())
        return "line " + std::to_string(line.Number) + ": " + problem;
    }
    return events_.empty() ? "" : "unchecked " + Describe(events_.front());
  }

 private:
  using Event = std::pair<TnEventType, std::string>;

  static std::string Describe(const Event& e) {
    return kEventNames[static_cast<int>(e.first)] + std::string(" ") + test::Visible(e.second);
  }

  void Record(const TnEvent& e) {
    if (e.Type == TnEventType::Data && !events_.empty() && events_.back().first == TnEventType::Data)
      events_.back().second += e.Bytes;
    else
      events_.emplace_back(e.Type, std::string(e.Bytes));
    if (e.Type == TnEventType::TermTypeWanted) protocol_.SendTermType(ttype_);
    if (e.Type == TnEventType::LocationWanted) protocol_.SendLocation(location_);
  }

  void Feed(std::string_view chunk) {
    const std::size_t first = std::min<std::size_t>(chunk.size(), cut_ == 0 ? chunk.size() : cut_ == 1 ? 1 : cut_ - 1);
    protocol_.Feed(chunk.data(), first);
    chunk.remove_prefix(first);
    if (cut_ != 1) return protocol_.Feed(chunk.data(), chunk.size());
    for (const char& byte : chunk) protocol_.Feed(&byte, 1);
  }

  std::string Expect(TnEventType type, const std::string& bytes) {
    const Event wanted{type, bytes};
    if (events_.empty()) return "no " + Describe(wanted);
    const Event got = events_.front();
    events_.pop_front();
    return got == wanted ? "" : "expected " + Describe(wanted) + ", got " + Describe(got);
  }

  std::string Step(const std::vector<std::string>& w) {
    const std::string& word = w[0];
    const std::string arg = w.size() > 1 ? w[1] : "";
    if (word == "recv")
      Feed(Bytes(w, 1));
    else if (word == "send")
      return Expect(TnEventType::Send, Bytes(w, 1));
    else if (word == "data")
      return Expect(TnEventType::Data, Bytes(w, 1));
    else if (word == "trace")
      return Expect(TnEventType::Trace, Bytes(w, 1));
    else if (word == "eor")
      return Expect(TnEventType::EndOfRecord, "");
    else if (word == "wants" && arg == "ttype")
      return Expect(TnEventType::TermTypeWanted, "");
    else if (word == "wants" && arg == "location")
      return Expect(TnEventType::LocationWanted, "");
    else if (word == "set" && (arg == "ttype" || arg == "location"))
      (arg == "ttype" ? ttype_ : location_) = Bytes(w, 2);
    else if (word == "set" && arg == "negotiation" && w.size() == 3)
      protocol_.SetNegotiation(w[2] == "xterm" ? TnNegotiation::Xterm : TnNegotiation::Classic);
    else if (word == "size" && w.size() == 3)
      protocol_.SetWindowSize(std::stoi(w[1]), std::stoi(w[2]));
    else if (word == "reset")
      protocol_.Reset();
    else if (word == "option" && w.size() == 4 && kOptions.count(arg))
      return CheckOption(w);
    else
      return "cannot read this line";
    return "";
  }

  std::string CheckOption(const std::vector<std::string>& w) {
    const auto option = static_cast<std::uint8_t>(kOptions.at(w[1]));
    const bool on = w[2] == "local" ? protocol_.LocalEnabled(option) : protocol_.RemoteEnabled(option);
    return (on ? "on" : "off") == w[3] ? "" : w[1] + " " + w[2] + " is " + (on ? "on" : "off");
  }

  int cut_;
  TTnProtocol protocol_{[this](const TnEvent& e) { Record(e); }};
  std::deque<Event> events_;
  std::string ttype_ = "VT100", location_ = "TNCNX";
};

class TranscriptFile : public ::testing::TestWithParam<TScriptCase> {};

TEST_P(TranscriptFile, GivesItsEventsHoweverTheChunksAreCut) {
  std::size_t longest = 1;
  for (const auto& line : GetParam().Lines)
    if (line.Words[0] == "recv") longest = std::max(longest, Bytes(line.Words, 1).size());
  for (int cut = 0; cut <= static_cast<int>(std::min<std::size_t>(longest, 64)); ++cut) {
    const std::string failure = Transcript(cut).Run(GetParam());
    ASSERT_EQ(failure, "") << "cut " << cut;
  }
}

std::vector<TScriptCase> AllTranscripts() {
  auto cases = test::LoadScriptCases(CV_TRANSCRIPT_DIR);
  if (cases.empty()) cases.push_back({"(none)", "no .test files in " CV_TRANSCRIPT_DIR, 0, {{0, {"missing"}}}});
  return cases;
}

std::string FileName(const ::testing::TestParamInfo<TScriptCase>& info) {
  std::string name = info.param.File.substr(0, info.param.File.find('.'));
  std::replace_if(
      name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, TranscriptFile, ::testing::ValuesIn(AllTranscripts()), FileName);

}  // namespace
}  // namespace corvane::tntest
