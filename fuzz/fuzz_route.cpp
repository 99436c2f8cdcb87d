// Track routes: any bytes must parse without crashing, a route taken whole or not at all, and a taken route
// must cut into gates in order that a flight along it passes without leaving the route's length.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/sectorfiles.h"
#include "fuzzinput.h"
#include "race/splits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<RoutePoint> points;
    std::string why;
    if (!ReadRoute(reinterpret_cast<const char*>(data), size, points, why)) {
        if (!points.empty() || why.empty()) abort();
        return 0;
    }
    if (points.size() < 2 || !why.empty()) abort();
    const Route route = RouteOf(points);
    // Finite points can still sum to an infinite length; gates must then be in order all the same.
    for (int g = 1; g < kNumGates; ++g)
        if (route.gates[g] < route.gates[g - 1]) abort();
    std::vector<RecordingSample> flight = route.path;
    for (size_t i = 0; i < flight.size(); ++i) flight[i].time = float(i);
    const RouteProgress progress = ProjectFlight(route, flight);
    if (progress.next < 0 || progress.next > kNumGates) abort();
    return 0;
}
