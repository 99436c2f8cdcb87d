#include "race/autopilot.h"

#include "data/settings.h"

namespace {

FlightSample SampleOf(const CCamera& c, float time) {
    return {time, {c.x, c.y, c.z}, c.yaw, c.pitch, c.roll};
}

}  // namespace

AutopilotFlight FlyRoute(CHeadlessRace& race, const std::vector<AutopilotPoint>& route, const AutopilotTuning& tuning,
                         float dt, float timeLimit, float sampleStep) {
    AutopilotFlight flight;
    CCamera& cam = race.camera;
    VehicleDynamics& d = race.dynamics;
    RoutePilot pilot{route, tuning};
    float clock = 0.0f, nextSample = 0.0f;
    flight.outcome = race.Outcome();
    while (clock < timeLimit && !route.empty()) {
        if (clock >= nextSample) {
            flight.samples.push_back(SampleOf(cam, clock));
            nextSample += sampleStep;
        }
        const PilotInput in = SteerAlongRoute(pilot, cam, d, gSettings.mouseSensitivity, dt);
        if (in.dx != 0 || in.dy != 0)
            race.physics.onMouseMove(in.dx, in.dy);
        d.thrustOn = in.thrust;
        d.brakeOn = in.brake;

        race.Frame(dt);
        clock += dt;
        flight.outcome = race.Outcome();
        if (flight.outcome.finished || flight.outcome.paused)
            break;
    }
    flight.samples.push_back(SampleOf(cam, clock));
    return flight;
}
