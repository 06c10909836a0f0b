#include "model/UContainer.h"

#include "model/BalkorError.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

UContainer::UContainer(int elementSize, int growth) : elementSize_(elementSize), growth_(growth) {}

UContainer::~UContainer() {
    std::free(data_);
}

void UContainer::Clear() {
    std::free(data_);
    data_ = nullptr;
    capacity_ = 0;
    count_ = 0;
}

void UContainer::Grow(int k) {
    const long long wanted = static_cast<long long>(capacity_) + std::max(k, growth_);
    if (wanted > INT_MAX / elementSize_)
        throw BalkorError("Nicht genug Speicher");
    void* grown = std::realloc(data_, static_cast<size_t>(wanted) * elementSize_);
    if (!grown)
        throw BalkorError("Nicht genug Speicher");
    data_ = static_cast<char*>(grown);
    capacity_ = static_cast<int>(wanted);
}

void* UContainer::Append(const void* source, int k) {
    if (capacity_ < count_ + k)
        Grow(k);
    std::memcpy(At(count_), source, static_cast<size_t>(k) * elementSize_);
    count_ += k;
    return At(count_ - 1);
}

void UContainer::Put(const void* source, int i, int k) {
    std::memcpy(At(i), source, static_cast<size_t>(k) * elementSize_);
}

void UContainer::Insert(const void* source, int i) {
    if (capacity_ < count_ + 1)
        Grow(count_ + 1);
    std::memmove(At(i + 1), At(i), static_cast<size_t>(count_ - i) * elementSize_);
    std::memcpy(At(i), source, static_cast<size_t>(elementSize_));
    count_ += 1;
}
