#include "human_samples.h"

#include <zlib.h>

#include <nlohmann/json.hpp>

namespace bench {

namespace {

// The handwriting's 1,000-unit box on the 254-pixel canvas.
constexpr double kHumanScale = 254.0 / 1000.0;

}  // namespace

std::map<std::string, std::vector<practice::Ink>> LoadHumanSamples(
    const std::filesystem::path& path) {
    std::map<std::string, std::vector<practice::Ink>> samples;
    const std::u8string name = path.u8string();
    gzFile file = gzopen(std::string(name.begin(), name.end()).c_str(), "rb");
    if (!file) return samples;
    std::string line;
    char buffer[1 << 16];
    while (gzgets(file, buffer, sizeof buffer)) {
        line += buffer;
        if (line.empty() || line.back() != '\n') continue;
        const auto json = nlohmann::json::parse(line, nullptr, false);
        line.clear();
        if (!json.is_object() || !json.contains("char") || !json.contains("strokes")) continue;
        std::vector<practice::Ink> strokes;
        for (const auto& s : json["strokes"]) {
            practice::Ink ink;
            for (const auto& p : s) {
                ink.push_back({p[0].get<double>() * kHumanScale, p[1].get<double>() * kHumanScale});
            }
            strokes.push_back(ink);
        }
        samples[json["char"].get<std::string>()] = strokes;
    }
    gzclose(file);
    return samples;
}

}  // namespace bench
