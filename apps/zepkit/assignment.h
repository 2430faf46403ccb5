// The cheapest one-to-one assignment of rows to columns of a square cost
// table (the Hungarian method, shortest augmenting paths, O(n^3)).
#pragma once

#include <cstddef>
#include <vector>

namespace zepkit {

using CostTable = std::vector<std::vector<double>>;  // cost[row][column], square

// The column given to each row, so that the sum of their costs is least.
[[nodiscard]] std::vector<size_t> CheapestAssignment(const CostTable& cost);

[[nodiscard]] double AssignmentCost(const CostTable& cost, const std::vector<size_t>& columns);

}  // namespace zepkit
