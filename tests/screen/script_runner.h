#pragma once
// What every runner of screen test cases shares: the words of the current
// line as bytes and numbers, failures with their file and line, and checks
// of KEY=VALUE mode lists.
#include <string>
#include <string_view>
#include <vector>

#include "tests/screen/screen_script.h"

namespace corvane::test {

class TScriptRunner {
 public:
  explicit TScriptRunner(const TScriptCase& Case) : FCase(Case) {}
  virtual ~TScriptRunner() = default;

  // Runs every line; returns one text per failed check.
  std::vector<std::string> Run();

 protected:
  virtual void Execute(const std::string& Command) = 0;
  // Called after the last line, for checks of what nothing claimed.
  virtual void Finish() {}
  // The value of one mode as the case writes it.
  virtual std::string ModeValue(std::string_view Key) const = 0;

  void Fail(const std::string& Text);
  const std::vector<std::string>& Words() const { return FLine->Words; }
  std::string BytesFrom(std::size_t First) const;
  // The words from First on as numbers; a word that is not one is a failure.
  std::vector<long> Numbers(std::size_t First, int Base);
  long NumberAt(std::size_t Index);
  void Expect(const std::string& What, const std::vector<long>& Wanted, const std::vector<long>& Actual,
              bool Hex = false);
  void CheckModes();

 private:
  const TScriptCase& FCase;
  const TScriptLine* FLine = nullptr;
  std::vector<std::string> FFailures;
};

}  // namespace corvane::test
