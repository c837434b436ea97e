#include "app/command_line.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using TAction = TCommandLine::TAction;

struct TCase {
  std::vector<std::string> Args;
  TAction Action;
  std::string Host, Port;
};

TEST(CommandLineTest, HostsPortsAddressesAndOptions) {
  const TCase cases[] = {
      {{}, TAction::Run, "", ""},
      {{""}, TAction::Run, "", ""},  // an empty host: start without connecting
      {{"bbs.example.org"}, TAction::Run, "bbs.example.org", ""},
      {{"127.0.0.1", "2323"}, TAction::Run, "127.0.0.1", "2323"},
      {{"host", "telnet"}, TAction::Run, "host", "telnet"},
      {{"telnet://host"}, TAction::Run, "host", ""},
      {{"telnet://host:65535/"}, TAction::Run, "host", "65535"},
      {{"host:2323"}, TAction::Run, "host", "2323"},
      {{"[::1]:2323"}, TAction::Run, "::1", "2323"},
      {{"::1"}, TAction::Run, "::1", ""},
      {{"[::1]", "2323"}, TAction::Run, "::1", "2323"},
      {{"host", "--help"}, TAction::Help, "", ""},
      {{"-h"}, TAction::Help, "", ""},
      {{"--version", "host"}, TAction::Version, "", ""},
  };
  for (const TCase& c : cases) {
    const TCommandLine parsed = ParseCommandLine(c.Args);
    const std::string name = c.Args.empty() ? "(none)" : c.Args[0];
    EXPECT_EQ(parsed.Action, c.Action) << name;
    EXPECT_EQ(parsed.Host, c.Host) << name;
    EXPECT_EQ(parsed.Port, c.Port) << name;
    EXPECT_EQ(parsed.Error, "") << name;
  }
}

TEST(CommandLineTest, BadArgumentsGetOneLineEach) {
  const std::vector<std::vector<std::string>> bad = {
      {"--colour"},      {"-x", "host"},       {"a", "b", "c"},
      {"host", "0"},     {"host", "65536"},    {"host", "23x"},
      {"host", "-"},     {"host", "tel net"},  {"telnet://"},
      {"telnet://:23"},  {"telnet://host:"},   {"telnet://host:99999"},
      {"telnet://h/x"},  {"telnet://h", "23"}, {"host:"},
      {"[::1]x"},        {"ssh://host"},       {"bad host"},
      {"host\n"},        {"host", "1234567"},  {"host", std::string(33, 'a')},
      {"host:23", "24"}, {"[::1", "23"},
  };
  for (const auto& args : bad) {
    const TCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.Action, TAction::Fail) << args[0];
    EXPECT_FALSE(parsed.Error.empty()) << args[0];
    EXPECT_EQ(parsed.Error.find('\n'), std::string::npos) << args[0];
  }
}

// The emulation may stand anywhere among the arguments; the last one counts.
TEST(CommandLineTest, EmulationIsChosenByNameOrReportedInOneLine) {
  using TArgs = std::vector<std::string>;
  EXPECT_EQ(ParseCommandLine({"host"}).Emulation, std::nullopt);
  EXPECT_EQ(ParseCommandLine({"--emulation", "xterm", "host", "23"}).Emulation, TEmulation::Xterm);
  EXPECT_EQ(ParseCommandLine({"host", "--emulation", "Classic"}).Emulation, TEmulation::Classic);
  EXPECT_EQ(ParseCommandLine({"--emulation", "classic", "--emulation", "XTERM"}).Emulation, TEmulation::Xterm);
  const TCommandLine withHost = ParseCommandLine({"--emulation", "xterm", "telnet://h:2323"});
  EXPECT_EQ(withHost.Host + ":" + withHost.Port, "h:2323");
  for (const auto& [args, error] : std::vector<std::pair<TArgs, std::string>>{
           {{"--emulation", "vt52", "host"}, "bad emulation 'vt52': give xterm or classic"},
           {{"host", "--emulation"}, "--emulation needs xterm or classic"},
           {{"--emulation", "x\tterm"}, "bad emulation 'x?term': give xterm or classic"},
           {{"--emulation", ""}, "--emulation needs xterm or classic"}}) {
    const TCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.Action, TAction::Fail) << error;
    EXPECT_EQ(parsed.Error, error);
  }
}

TEST(CommandLineTest, HelpAndVersionTexts) {
  EXPECT_TRUE(HelpText().starts_with("usage: cvtelnet [--emulation xterm|classic] [HOST [PORT]]\n"));
  EXPECT_EQ(VersionText(), "Corvane Telnet 0.2 (Pre-release version)\n");
}

}  // namespace
}  // namespace corvane
