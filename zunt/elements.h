// The element store of a script array: reads and writes by index, with room taken only for the
// elements a script has written, so that a declared size never reserves memory on its own.
#pragma once
#include <cstdint>
#include <map>
#include <vector>

namespace orvelt::zunt {

// Every index from 0 to size - 1 holds a value; unwritten ones hold T{} (0, 0.0 or "").
// The first kDense elements live in a vector grown up to the highest one written; the rest, rare
// and far apart in any sensible script, live in an ordered map.
template <typename T>
class Elements {
 public:
  static constexpr int32_t kDense = 1 << 16;

  Elements() = default;
  explicit Elements(int32_t size) : size_(size > 0 ? size : 0) {}

  int32_t size() const { return size_; }

  const T& Get(int32_t index) const {
    static const T kZero{};
    if (index < 0 || index >= size_) return kZero;
    if (index < kDense) return static_cast<std::size_t>(index) < dense_.size() ? dense_[index] : kZero;
    auto found = sparse_.find(index);
    return found == sparse_.end() ? kZero : found->second;
  }

  void Set(int32_t index, T value) {
    if (index < 0 || index >= size_) return;
    if (index < kDense) {
      if (static_cast<std::size_t>(index) >= dense_.size()) dense_.resize(static_cast<std::size_t>(index) + 1);
      dense_[index] = std::move(value);
    } else {
      sparse_[index] = std::move(value);
    }
  }

 private:
  int32_t size_ = 0;
  std::vector<T> dense_;
  std::map<int32_t, T> sparse_;
};

}  // namespace orvelt::zunt
