#pragma once
// The text a run writes: a growable byte buffer whose appends stay inline. A run appends
// millions of short pieces (a few characters of template text, a name, some digits), and
// std::string takes an out-of-line call for each.

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

namespace morva::tpx {

class OutputText {
  public:
    OutputText()
        : data_(std::make_unique_for_overwrite<char[]>(kFirstCapacity)),
          capacity_(kFirstCapacity) {}
    OutputText(const OutputText&) = delete;
    OutputText& operator=(const OutputText&) = delete;

    size_t size() const { return size_; }
    std::string_view view() const { return {data_.get(), size_}; }
    /// The text from `from` on (`from` at most size()).
    std::string_view view(size_t from) const { return {data_.get() + from, size_ - from}; }

    void Append(const char* bytes, size_t n) {
        if (n > capacity_ - size_) Grow(n);
        char* to = data_.get() + size_;
        size_ += n;
        if (n <= 32) {
            CopyShort(to, bytes, n);
        } else {
            std::memcpy(to, bytes, n);
        }
    }
    void Append(std::string_view text) { Append(text.data(), text.size()); }
    /// As Append, for bytes followed by at least kReadAhead more that may be read (not
    /// written): short pieces then go across in one fixed-size copy.
    void AppendFromPadded(const char* bytes, size_t n) {
        if (n > kReadAhead) return Append(bytes, n);
        if (kReadAhead > capacity_ - size_) Grow(kReadAhead);
        std::memcpy(data_.get() + size_, bytes, kReadAhead);
        size_ += n;
    }

    static constexpr size_t kReadAhead = 16;
    void Append(size_t n, char ch) {
        if (n > capacity_ - size_) Grow(n);
        std::memset(data_.get() + size_, ch, n);
        size_ += n;
    }
    void Push(char ch) {
        if (size_ == capacity_) Grow(1);
        data_[size_++] = ch;
    }
    /// Cuts the text to its first `n` bytes (`n` at most size()).
    void Truncate(size_t n) { size_ = n; }
    /// Removes `n` bytes at `at` (both within the text).
    void Erase(size_t at, size_t n) {
        std::memmove(data_.get() + at, data_.get() + at + n, size_ - at - n);
        size_ -= n;
    }
    void Clear() { size_ = 0; }

  private:
    static constexpr size_t kFirstCapacity = 4096;

    // Copies the first and the last `kWidth` bytes of `n` (kWidth <= n <= 2 * kWidth), which
    // together cover all of them; both are read before either is written.
    template <size_t kWidth>
    static void CopyEnds(char* to, const char* from, size_t n) {
        char head[kWidth], tail[kWidth];
        std::memcpy(head, from, kWidth);
        std::memcpy(tail, from + n - kWidth, kWidth);
        std::memcpy(to, head, kWidth);
        std::memcpy(to + n - kWidth, tail, kWidth);
    }

    // Copies up to 32 bytes with a few overlapping loads and stores, reading and writing
    // only the `n` bytes; a call to memcpy costs more than the copy at these sizes.
    static void CopyShort(char* to, const char* from, size_t n) {
        if (n >= 16) {
            CopyEnds<16>(to, from, n);
        } else if (n >= 8) {
            CopyEnds<8>(to, from, n);
        } else if (n >= 4) {
            CopyEnds<4>(to, from, n);
        } else if (n > 0) {
            to[0] = from[0];
            to[n / 2] = from[n / 2];
            to[n - 1] = from[n - 1];
        }
    }

    void Grow(size_t n) {
        size_t capacity = std::max(2 * capacity_, size_ + n);
        auto data = std::make_unique_for_overwrite<char[]>(capacity);
        std::memcpy(data.get(), data_.get(), size_);
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char[]> data_;
    size_t size_ = 0;
    size_t capacity_;
};

}  // namespace morva::tpx
