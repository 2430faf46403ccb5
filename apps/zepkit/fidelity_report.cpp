#include "zepkit/fidelity_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zepkit {

namespace {

constexpr int kBinsPerUnit = 20;         // bins of 0.05
constexpr int kBins = 2 * kBinsPerUnit;  // from -1 to 1
constexpr int kBarWidth = 50;

std::string Format(const char* format, double a, double b = 0) {
    char line[128];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

double Quantile(const std::vector<double>& sorted, double q) {
    return sorted[static_cast<size_t>(q * static_cast<double>(sorted.size() - 1))];
}

double Share(const std::vector<double>& values, bool (*test)(double)) {
    return 100.0 * static_cast<double>(std::count_if(values.begin(), values.end(), test)) /
           static_cast<double>(values.size());
}

std::string Histogram(const std::vector<double>& values) {
    std::vector<size_t> bins(kBins, 0);
    for (const double v : values) {
        ++bins[static_cast<size_t>(
            std::clamp(static_cast<int>(std::floor((v + 1) * kBinsPerUnit)), 0, kBins - 1))];
    }
    const size_t largest = *std::max_element(bins.begin(), bins.end());
    std::string text = "```\n";
    size_t first = 0;
    while (bins[first] == 0) ++first;
    for (size_t i = first; i < bins.size(); ++i) {
        const size_t width = (bins[i] * kBarWidth + largest - 1) / largest;
        const double low = static_cast<double>(i) / kBinsPerUnit - 1;
        text += Format("%5.2f to %5.2f ", low, low + 1.0 / kBinsPerUnit) +
                Format("%6.0f ", static_cast<double>(bins[i])) + std::string(width, '#') + "\n";
    }
    return text + "```\n";
}

}  // namespace

std::string FidelityReport(const std::vector<ImportResult>& results) {
    std::vector<double> all, ceilings, between;
    size_t characters = 0;
    for (const ImportResult& r : results) {
        if (!r.error.empty()) continue;
        ++characters;
        for (const OrderMeasures& m : r.strokes) {
            all.push_back(m.fidelity);
            ceilings.push_back(m.ceiling);
            between.push_back(m.between_frames);
        }
    }
    if (all.empty()) return "No stroke was imported.\n";
    for (auto* values : {&all, &ceilings, &between}) std::sort(values->begin(), values->end());
    std::string text = "| measure | value |\n|---|---|\n";
    text += Format("| characters | %.0f |\n", static_cast<double>(characters));
    text += Format("| strokes | %.0f |\n", static_cast<double>(all.size()));
    text += Format("| median fidelity | %.3f |\n", Quantile(all, 0.5));
    text += Format("| 5th percentile | %.3f |\n", Quantile(all, 0.05));
    text += Format("| lowest | %.3f |\n", all.front());
    text += Format("| strokes at or above 0.8 | %.1f%% |\n",
                   Share(all, [](double v) { return v >= 0.8; }));
    text += Format("| strokes below 0.3 | %.0f |\n",
                   static_cast<double>(
                       std::count_if(all.begin(), all.end(), [](double v) { return v < 0.3; })));
    text += Format("| median ceiling of the ties | %.3f |\n", Quantile(ceilings, 0.5));
    text += Format("| median order between frames | %.3f |\n", Quantile(between, 0.5));
    text += Format("| 5th percentile of order between frames | %.3f |\n", Quantile(between, 0.05));
    text += Format("| lowest order between frames | %.3f |\n", between.front());
    return text + "\nStrokes by order fidelity:\n\n" + Histogram(all);
}

}  // namespace zepkit
