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
      {"--colour"},
      {"-x", "host"},
      {"a", "b", "c"},
      {"host", "0"},
      {"host", "65536"},
      {"host", "23x"},
      {"host", "-"},
      {"host", "tel net"},
      {"telnet://"},
      {"telnet://:23"},
      {"telnet://host:"},
      {"telnet://host:99999"},
      {"telnet://h/x"},
      {"telnet://h", "23"},
      {"ssh://host"},
      {"bad host"},
      {"host\n"},
      {"host", "1234567"},
      {"host", std::string(33, 'a')},
  };
  for (const auto& args : bad) {
    const TCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.Action, TAction::Fail) << args[0];
    EXPECT_FALSE(parsed.Error.empty()) << args[0];
    EXPECT_EQ(parsed.Error.find('\n'), std::string::npos) << args[0];
  }
}

TEST(CommandLineTest, HelpAndVersionTexts) {
  EXPECT_TRUE(HelpText().starts_with("usage: cvtelnet [HOST [PORT]]\n"));
  EXPECT_EQ(VersionText(), "Corvane Telnet 0.2 (Pre-release version)\n");
}

}  // namespace
}  // namespace corvane
