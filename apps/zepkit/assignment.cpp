#include "zepkit/assignment.h"

#include <limits>

namespace zepkit {

// Rows are added one at a time; each finds the shortest path, over reduced
// costs, from itself to a free column and flips the assignment along it.
// Index 0 of the potentials and links stands for "no row" and "no column".
std::vector<size_t> CheapestAssignment(const CostTable& cost) {
    const size_t n = cost.size();
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::vector<double> row_potential(n + 1, 0), column_potential(n + 1, 0);
    std::vector<size_t> row_of_column(n + 1, 0), previous_column(n + 1, 0);
    for (size_t row = 1; row <= n; ++row) {
        row_of_column[0] = row;
        size_t column = 0;
        std::vector<double> shortest(n + 1, kInfinity);
        std::vector<bool> reached(n + 1, false);
        do {
            reached[column] = true;
            const size_t from_row = row_of_column[column];
            double step = kInfinity;
            size_t next = 0;
            for (size_t c = 1; c <= n; ++c) {
                if (reached[c]) continue;
                const double reduced =
                    cost[from_row - 1][c - 1] - row_potential[from_row] - column_potential[c];
                if (reduced < shortest[c]) {
                    shortest[c] = reduced;
                    previous_column[c] = column;
                }
                if (shortest[c] < step) {
                    step = shortest[c];
                    next = c;
                }
            }
            for (size_t c = 0; c <= n; ++c) {
                if (reached[c]) {
                    row_potential[row_of_column[c]] += step;
                    column_potential[c] -= step;
                } else {
                    shortest[c] -= step;
                }
            }
            column = next;
        } while (row_of_column[column] != 0);
        while (column != 0) {
            const size_t before = previous_column[column];
            row_of_column[column] = row_of_column[before];
            column = before;
        }
    }
    std::vector<size_t> columns(n);
    for (size_t c = 1; c <= n; ++c) columns[row_of_column[c] - 1] = c - 1;
    return columns;
}

double AssignmentCost(const CostTable& cost, const std::vector<size_t>& columns) {
    double sum = 0;
    for (size_t row = 0; row < columns.size(); ++row) sum += cost[row][columns[row]];
    return sum;
}

}  // namespace zepkit
