// A fixed list indexed from 1 to N, as the game counts rows and lines.
#pragma once

#include <array>
#include <cstddef>

template <class T, int N>
struct OneBased {
    std::array<T, N> items{};

    // An index outside 1..N throws std::out_of_range: the editor reports it as its
    // "Subscript out of range" error, and every window callback catches it.
    T& operator[](int i) { return items.at(static_cast<std::size_t>(i - 1)); }
    const T& operator[](int i) const { return items.at(static_cast<std::size_t>(i - 1)); }
    static constexpr int upperBound() { return N; }
};
