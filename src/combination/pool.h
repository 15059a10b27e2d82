// The pool of drawable numbers, and the two reorderings a combination goes through.
#pragma once

#include "combination/number_list.h"
#include "random/generator.h"

namespace combogen {

// pool <- 1..n.
void FillPool(NumberList& pool, int n);

// pool <- the numbers 1..n that are not among the first fixedCount entries of fixed,
// ascending. Returns how many there are.
int BuildPool(NumberList& pool, const NumberList& fixed, int fixedCount, int n);

// For n = length down to 2: swap entry n-1 with entry RandomBelow(n). Fewer than two
// entries use no random value.
void Shuffle(RandomGenerator& g, NumberList& list, int length);

void SortAscending(NumberList& list, int length);

}  // namespace combogen
