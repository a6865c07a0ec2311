// The message queue's storage: a ring of messages that grows only when it is
// full, so that posting and taking messages in a steady stream never touches
// the heap (a deque allocates a block every few messages as it moves on).
#pragma once

#include <cstddef>
#include <vector>

#include "platform/types.h"

namespace ziru::platform::detail {

class MessageRing {
  public:
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    MSG& operator[](std::size_t i) { return slots_[(head_ + i) % slots_.size()]; }

    void push_back(const MSG& msg) {
        Reserve();
        (*this)[count_] = msg;
        ++count_;
    }
    void push_front(const MSG& msg) {
        Reserve();
        head_ = (head_ + slots_.size() - 1) % slots_.size();
        ++count_;
        (*this)[0] = msg;
    }
    // Removes message I, keeping the order of the others.
    void erase(std::size_t i) {
        for (std::size_t j = i; j + 1 < count_; ++j) (*this)[j] = (*this)[j + 1];
        --count_;
    }
    template <typename Predicate>
    void erase_if(Predicate drop) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            if (!drop((*this)[i])) (*this)[kept++] = (*this)[i];
        }
        count_ = kept;
    }

  private:
    void Reserve() {
        if (count_ < slots_.size()) return;
        std::vector<MSG> grown(slots_.empty() ? 64 : slots_.size() * 2);
        for (std::size_t i = 0; i < count_; ++i) grown[i] = (*this)[i];
        slots_.swap(grown);
        head_ = 0;
    }

    std::vector<MSG> slots_;
    std::size_t head_ = 0;
    std::size_t count_ = 0;
};

}  // namespace ziru::platform::detail
