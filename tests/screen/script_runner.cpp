#include "tests/screen/script_runner.h"

#include <cstdio>

namespace corvane::test {

std::vector<std::string> TScriptRunner::Run() {
  for (const auto& line : FCase.Lines) {
    FLine = &line;
    Execute(line.Words[0]);
  }
  Finish();
  return std::move(FFailures);
}

void TScriptRunner::Fail(const std::string& Text) {
  FFailures.push_back(FCase.File + ":" + std::to_string(FLine ? FLine->Number : FCase.Line) + ": " + Text);
}

std::string TScriptRunner::BytesFrom(std::size_t First) const {
  std::string bytes;
  for (std::size_t i = First; i < Words().size(); ++i) bytes += TokenBytes(Words()[i]);
  return bytes;
}

std::vector<long> TScriptRunner::Numbers(std::size_t First, int Base) {
  std::vector<long> values;
  for (std::size_t i = First; i < Words().size(); ++i) {
    auto value = ParseNumber(Words()[i], Base);
    if (!value) Fail("not a number: " + Words()[i]);
    values.push_back(value.value_or(-1));
  }
  return values;
}

long TScriptRunner::NumberAt(std::size_t Index) {
  const auto value = Index < Words().size() ? ParseNumber(Words()[Index], 10) : std::nullopt;
  if (!value) Fail("a number is missing at word " + std::to_string(Index));
  return value.value_or(-1);
}

void TScriptRunner::Expect(const std::string& What, const std::vector<long>& Wanted, const std::vector<long>& Actual,
                           bool Hex) {
  if (Wanted == Actual) return;
  const auto text = [Hex](long v) {
    char number[24];
    std::snprintf(number, sizeof number, Hex ? " %02lX" : " %ld", v);
    return std::string(number);
  };
  std::string wanted, actual;
  for (long v : Wanted) wanted += text(v);
  for (long v : Actual) actual += text(v);
  Fail(What + " is" + actual + ", expected" + wanted);
}

void TScriptRunner::CheckModes() {
  for (std::size_t i = 1; i < Words().size(); ++i) {
    const std::string& word = Words()[i];
    const std::size_t equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const std::string actual = ModeValue(key);
    if (equals == std::string::npos || actual != word.substr(equals + 1))
      Fail("mode " + key + " is " + actual + ", expected " + word);
  }
}

}  // namespace corvane::test
