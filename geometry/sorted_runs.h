#pragma once
#include <cstdint>
#include <vector>

namespace hlv {

// Walks a sorted order and numbers its runs: a run goes on while `same(a, b)`
// holds for each member a and the one after it, b. runOf[index] receives the
// run number of every index; lastOfRun (when given) the last member of every
// run. Returns the number of runs. Only neighbours in the order are compared.
template <typename Same>
uint32_t numberRuns(const std::vector<uint32_t>& order, Same same, std::vector<uint32_t>& runOf,
                    std::vector<uint32_t>* lastOfRun = nullptr)
{
    runOf.resize(order.size());
    if (lastOfRun)
        lastOfRun->clear();
    uint32_t runs = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        runOf[order[i]] = runs;
        const bool runEnds = i + 1 == order.size() || !same(order[i], order[i + 1]);
        if (runEnds) {
            if (lastOfRun)
                lastOfRun->push_back(order[i]);
            ++runs;
        }
    }
    return runs;
}

} // namespace hlv
