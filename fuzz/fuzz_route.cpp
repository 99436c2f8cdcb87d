// Track routes: any bytes must parse without crashing, a route taken whole or not at all, and a taken route
// must cut into gates in order that a flight along it passes without leaving the route's length.
#include "data/sectorfiles.h"
#include "fuzz.h"
#include "race/splits.h"

FUZZ_TARGET {
    std::vector<RoutePoint> points;
    std::string why;
    if (!ReadRoute(reinterpret_cast<const char*>(data), size, points, why)) {
        Require(points.empty() && !why.empty());
        return;
    }
    Require(points.size() >= 2 && why.empty());
    const Route route = RouteOf(points);
    // Finite points can still sum to an infinite length; gates must then be in order all the same.
    for (int g = 1; g < kNumGates; ++g)
        Require(!(route.gates[g] < route.gates[g - 1]));
    std::vector<RecordingSample> flight = route.path;
    for (size_t i = 0; i < flight.size(); ++i) flight[i].time = float(i);
    const RouteProgress progress = ProjectFlight(route, flight);
    Require(progress.next >= 0 && progress.next <= kNumGates);
}
