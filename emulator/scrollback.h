#pragma once
// Rows that scrolled off the top of the screen, oldest first. A ring: once it
// holds its capacity, each new row takes the place of the oldest, so memory
// never grows beyond the setting.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane {

constexpr int kDefaultScrollback = 10000;
constexpr int kMaxScrollback = 100000;

template <typename TRow>
class TScrollback {
 public:
  int Capacity() const { return FCapacity; }
  int Size() const { return static_cast<int>(FRows.size()); }
  // Rows the ring has room for without allocating: never above Capacity().
  std::size_t Reserved() const { return FRows.capacity(); }
  // Row I, 0 the oldest; the caller keeps I within 0..Size()-1.
  // Rows that have left the ring (pushed out, cut or cleared): with Size()
  // it numbers every row for good, so a place in the text outlives scrolling.
  std::int64_t Dropped() const { return FDropped; }
  const TRow& At(int I) const { return FRows[(FOldest + static_cast<std::size_t>(I)) % FRows.size()]; }

  // A new capacity (clamped to 0..kMaxScrollback) keeps the newest rows that fit.
  void SetCapacity(int Value) {
    Value = std::clamp(Value, 0, kMaxScrollback);
    Unwind();
    if (static_cast<int>(FRows.size()) > Value) {
      FDropped += static_cast<std::int64_t>(FRows.size()) - Value;
      FRows.erase(FRows.begin(), FRows.end() - Value);
      FRows.shrink_to_fit();
    }
    FCapacity = Value;
  }

  // Assigning into the oldest slot reuses its storage once the ring is full.
  void Push(const TRow& Row) {
    if (FCapacity == 0) return;
    if (static_cast<int>(FRows.size()) < FCapacity) {
      Grow();
      FRows.push_back(Row);
      return;
    }
    FRows[FOldest] = Row;
    ++FDropped;
    FOldest = (FOldest + 1) % FRows.size();
  }

  // The newest row, taken out again (a screen that grows shows it once
  // more); the caller keeps Size() above 0.
  TRow TakeNewest() {
    Unwind();
    TRow row = std::move(FRows.back());
    FRows.pop_back();
    return row;
  }

  void Clear() {
    FDropped += static_cast<std::int64_t>(FRows.size());
    FRows.clear();
    FRows.shrink_to_fit();
    FOldest = 0;
  }

 private:
  // Puts the oldest row first, so that the rows are in order in the vector.
  void Unwind() {
    std::rotate(FRows.begin(), FRows.begin() + static_cast<std::ptrdiff_t>(FOldest), FRows.end());
    FOldest = 0;
  }

  // Doubling, but never reserving beyond the capacity.
  void Grow() {
    if (FRows.size() < FRows.capacity()) return;
    const std::size_t wanted = std::max<std::size_t>(64, FRows.capacity() * 2);
    FRows.reserve(std::min(wanted, static_cast<std::size_t>(FCapacity)));
  }

  std::vector<TRow> FRows;
  std::size_t FOldest = 0;  // where the oldest row is once the ring is full
  int FCapacity = 0;
  std::int64_t FDropped = 0;
};

}  // namespace corvane
