#pragma once
// Builds small chains for the model tests: one line per element.

#include <initializer_list>

#include "core/model/chain.h"

namespace zam1::test {

struct E {
    int predecessor;
    bool positive;
    long double distance;
    long double upper;
    long double lower;
};

template <typename Elements>
void fill(Chain& chain, const Elements& elements) {
    chain.clear();
    int n = 0;
    for (const E& e : elements) {
        Element& el = chain.element(++n);
        el.predecessor = e.predecessor;
        el.positive = e.positive ? 1 : 0;
        el.distance = e.distance;
        el.upperDev = e.upper;
        el.lowerDev = e.lower;
    }
    chain.setElementCount(n);
}

} // namespace zam1::test

namespace zam1::test {

inline void fill(Chain& chain, std::initializer_list<E> elements) { fill<std::initializer_list<E>>(chain, elements); }

} // namespace zam1::test
