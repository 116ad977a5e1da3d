// The growable vector behind the value vectors and pointer lists, indexed from 1.
//
// Position 0 stands for "no element" (the answer of Locate when nothing matches). Reading or
// writing a position outside 1..Size() is a programmer error and stops the process
// (KES_ASSERT); callers that take positions from outside test them with IsValidPosition first.
// InsertAt accepts 1..Size()+1; RemovePosition and InsertAt outside their range are ignored
// and return false, since both are used with positions computed from widget states.
#pragma once

#include "platform/KesAssert.h"

#include <initializer_list>
#include <vector>

template <class T> class KesRawColl {
public:
    KesRawColl() = default;
    // The argument is an initial capacity, not a size.
    explicit KesRawColl(int capacity) {
        if (capacity > 0) {
            items_.reserve(static_cast<size_t>(capacity));
        }
    }

    KesRawColl(std::initializer_list<T> items) : items_(items) {}

    int Size() const { return static_cast<int>(items_.size()); }
    // Truncates or extends (with default values) to `count` elements; a negative count empties.
    void Size(int count) { items_.resize(count > 0 ? static_cast<size_t>(count) : 0); }
    // Truncates, or extends with copies of `filler`, to `count` elements.
    void Size(int count, const T& filler) {
        items_.resize(count > 0 ? static_cast<size_t>(count) : 0, filler);
    }
    bool IsValidPosition(int position) const { return position >= 1 && position <= Size(); }

    const T& operator[](int position) const {
        KES_ASSERT(IsValidPosition(position), "collection position out of range");
        return items_[static_cast<size_t>(position - 1)];
    }
    T& operator[](int position) {
        KES_ASSERT(IsValidPosition(position), "collection position out of range");
        return items_[static_cast<size_t>(position - 1)];
    }

    void Append(const T& item) { items_.push_back(item); }
    void Append(const KesRawColl& other) {
        if (&other == this) {
            // Appending a collection to itself: copy first, the insertion moves the elements.
            const std::vector<T> copy = other.items_;
            items_.insert(items_.end(), copy.begin(), copy.end());
            return;
        }
        items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    }
    bool InsertAt(int position, const T& item) {
        if (position < 1 || position > Size() + 1) {
            return false;
        }
        items_.insert(items_.begin() + (position - 1), item);
        return true;
    }
    bool RemovePosition(int position) {
        if (!IsValidPosition(position)) {
            return false;
        }
        items_.erase(items_.begin() + (position - 1));
        return true;
    }
    void RemoveAll() { items_.clear(); }

    // 1-based position of the first element equal to `item` at or after `start` (a start
    // below 1 is taken as 1); 0 when there is none.
    int Locate(const T& item, int start = 1) const {
        const int first = start < 1 ? 1 : start;
        for (int i = first; i <= Size(); ++i) {
            if (items_[static_cast<size_t>(i - 1)] == item) {
                return i;
            }
        }
        return 0;
    }

    bool operator==(const KesRawColl& other) const { return items_ == other.items_; }
    bool operator!=(const KesRawColl& other) const { return !(*this == other); }

    // Read-only view for tools and tests.
    const std::vector<T>& Items() const { return items_; }

private:
    std::vector<T> items_;
};
