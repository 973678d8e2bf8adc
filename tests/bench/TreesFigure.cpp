// Prints the time of one IP-set tree fill into the fake tree, with 1,000 and 10,000 sets spread
// over 50 connections, as the median of a few runs. The ratio of the two shows whether the fill
// grows linearly.
#include "TreeFill.h"
#include "fakes/FakeTree.h"

#include <cstdio>

int main() {
    FakeTree Small;
    std::printf("ipset_tree_1000_ms: %.1f ms\n", MedianTreeFillMilliseconds(Small, 1000, 5));
    FakeTree Large;
    std::printf("ipset_tree_10000_ms: %.1f ms\n", MedianTreeFillMilliseconds(Large, 10000, 3));
    return 0;
}
