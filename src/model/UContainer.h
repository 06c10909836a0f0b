#pragma once

#include <cstddef>

// Growable array of fixed-size elements: one block, a capacity in elements,
// a growth step and a count. Elements are plain bytes; containers of owned
// pointers free what they point to before clearing.
class UContainer {
public:
    UContainer(int elementSize, int growth);
    ~UContainer();
    UContainer(const UContainer&) = delete;
    UContainer& operator=(const UContainer&) = delete;

    void Clear();
    // Count to zero, the block kept for the next fill.
    void Empty() { count_ = 0; }
    void* At(int i) const { return data_ + static_cast<size_t>(i) * elementSize_; }
    void Grow(int k);
    void* Append(const void* source, int k);
    void Put(const void* source, int i, int k);
    void Insert(const void* source, int i);

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    int ElementSize() const { return elementSize_; }
    int Growth() const { return growth_; }

private:
    char* data_ = nullptr;
    int capacity_ = 0;
    int elementSize_;
    int growth_;
    int count_ = 0;
};
