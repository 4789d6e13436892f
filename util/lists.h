// 1-based ordered lists of one kind of value, with the out-of-range rules the whole program
// relies on: reads outside 1..Count give a default, writes at 0 or past the end append.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <type_traits>
#include <vector>

namespace kotonel {

template <class T>
class OrderedList {
  // vector<bool> hands out proxies, not references; a deque keeps real bools.
  using Storage = std::conditional_t<std::is_same_v<T, bool>, std::deque<bool>, std::vector<T>>;

 public:
  OrderedList() = default;
  OrderedList(std::initializer_list<T> items) : items_(items) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  void Add(T value) { items_.push_back(std::move(value)); }
  void Clear() { items_.clear(); }
  void Reserve(size_t n) { items_.reserve(n); }

  // Unchecked access for loops that stay inside 1..Count.
  const T& operator[](int32_t index) const { return items_[static_cast<size_t>(index - 1)]; }
  T& operator[](int32_t index) { return items_[static_cast<size_t>(index - 1)]; }

  const Storage& Items() const { return items_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  Storage items_;
};

using StringList = OrderedList<std::u32string>;
using IntList = OrderedList<int32_t>;
using BoolList = OrderedList<bool>;

// The item at index. Outside 1..Count: the type's empty value (0, "", false) when the list is
// empty, otherwise -1 for numbers, the empty string for strings and false for Booleans.
template <class T>
T ItemOf(const OrderedList<T>& list, int64_t index) {
  if (index >= 1 && index <= list.Count()) return list[static_cast<int32_t>(index)];
  if (list.Empty()) return T{};
  if constexpr (std::is_same_v<T, bool>) {
    return false;
  } else if constexpr (std::is_arithmetic_v<T>) {
    return static_cast<T>(-1);
  } else {
    return T{};
  }
}

// Replaces the item at index when 1 <= index <= Count, otherwise appends.
template <class T>
void SetItem(OrderedList<T>& list, T value, int64_t index) {
  if (index >= 1 && index <= list.Count())
    list[static_cast<int32_t>(index)] = std::move(value);
  else
    list.Add(std::move(value));
}

}  // namespace kotonel
