#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "base/Errors.h"

namespace pg {

// An array of Rank dimensions, each with its own lower and upper bound (the files count from 1,
// a few tables from 0). Sizing clears every element; an index outside the bounds raises
// Subscript out of range (9), as a damaged file must never reach past the end of a table.
// The lower and upper index of one dimension.
struct Bounds {
  int lower = 1;
  int upper = 0;
};

template <class T, std::size_t Rank>
class Array {
 public:
  Array() {
    bounds_.fill(Bounds{1, 0});
    extents_.fill(0);
  }

  // Sizes the array to the given bounds, every element a default T.
  void Dim(const std::array<Bounds, Rank>& bounds) {
    std::size_t total = 1;
    for (std::size_t i = 0; i < Rank; ++i) {
      const long extent = static_cast<long>(bounds[i].upper) - bounds[i].lower + 1;
      extents_[i] = extent > 0 ? static_cast<std::size_t>(extent) : 0;
      total *= extents_[i];
    }
    bounds_ = bounds;
    data_.assign(total, T{});
  }

  // Sizes every dimension from 1 to the given upper bound.
  template <class... Upper>
  void DimFrom1(Upper... upper) {
    static_assert(sizeof...(Upper) == Rank);
    Dim({Bounds{1, static_cast<int>(upper)}...});
  }

  void Clear() { Dim(bounds_); }

  template <class... Index>
  T& operator()(Index... index) {
    return data_[Offset({static_cast<int>(index)...})];
  }
  template <class... Index>
  const T& operator()(Index... index) const {
    return data_[Offset({static_cast<int>(index)...})];
  }

  // Every element in index order, the last index running fastest: the order in which the
  // files store their tables.
  std::span<T> elements() { return data_; }
  std::span<const T> elements() const { return data_; }

  int lower(std::size_t dimension = 0) const { return bounds_[dimension].lower; }
  int upper(std::size_t dimension = 0) const { return bounds_[dimension].upper; }
  std::size_t size() const { return data_.size(); }
  bool empty() const { return data_.empty(); }

 private:
  std::size_t Offset(const std::array<int, Rank>& index) const {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < Rank; ++i) {
      // An index below the lower bound wraps round to far beyond the extent: one test finds
      // both sides, on the program's busiest path.
      const auto position =
          static_cast<std::size_t>(static_cast<long>(index[i]) - bounds_[i].lower);
      if (position >= extents_[i]) Raise(err::kSubscript);
      offset = offset * extents_[i] + position;
    }
    return offset;
  }

  std::array<Bounds, Rank> bounds_;
  std::array<std::size_t, Rank> extents_;  // upper - lower + 1, or 0 for an empty dimension
  std::vector<T> data_;
};

template <class T>
using Array1 = Array<T, 1>;
template <class T>
using Array2 = Array<T, 2>;
template <class T>
using Array3 = Array<T, 3>;

// 16-bit arithmetic of counts and indices: a result outside -32768..32767 raises Overflow (6).
short CheckedShort(long value);
short MulShort(long a, long b);
short AddShort(long a, long b);

}  // namespace pg
