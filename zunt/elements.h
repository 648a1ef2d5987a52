// The element store of a script array: reads and writes by index, with room taken only for the
// pages of elements a script has written, so that a declared size never reserves memory on its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace orvelt::zunt {

// Every index from 0 to size - 1 holds a value; unwritten ones hold T{} (0, 0.0 or "").
// Elements live in pages of kPage, made on the first write into them; the page table grows up to
// the highest page written.
template <typename T>
class Elements {
 public:
  static constexpr std::size_t kPageBits = 10;
  static constexpr std::size_t kPage = std::size_t{1} << kPageBits;

  Elements() = default;
  explicit Elements(int32_t size) : size_(size > 0 ? size : 0) {}
  Elements(const Elements& other) : size_(other.size_) { CopyPages(other); }
  Elements& operator=(const Elements& other) {
    if (this != &other) {
      size_ = other.size_;
      pages_.clear();
      CopyPages(other);
    }
    return *this;
  }
  Elements(Elements&&) noexcept = default;
  Elements& operator=(Elements&&) noexcept = default;

  int32_t size() const { return size_; }

  const T& Get(int32_t index) const {
    static const T kZero{};
    if (index < 0 || index >= size_) return kZero;
    std::size_t page = static_cast<std::size_t>(index) >> kPageBits;
    if (page >= pages_.size() || !pages_[page]) return kZero;
    return pages_[page][static_cast<std::size_t>(index) & (kPage - 1)];
  }

  void Set(int32_t index, T value) {
    if (index < 0 || index >= size_) return;
    std::size_t page = static_cast<std::size_t>(index) >> kPageBits;
    if (page >= pages_.size()) pages_.resize(page + 1);
    if (!pages_[page]) pages_[page] = std::make_unique<T[]>(kPage);
    pages_[page][static_cast<std::size_t>(index) & (kPage - 1)] = std::move(value);
  }

 private:
  void CopyPages(const Elements& other) {
    pages_.resize(other.pages_.size());
    for (std::size_t i = 0; i < other.pages_.size(); ++i) {
      if (!other.pages_[i]) continue;
      pages_[i] = std::make_unique<T[]>(kPage);
      for (std::size_t k = 0; k < kPage; ++k) pages_[i][k] = other.pages_[i][k];
    }
  }

  int32_t size_ = 0;
  std::vector<std::unique_ptr<T[]>> pages_;
};

}  // namespace orvelt::zunt
