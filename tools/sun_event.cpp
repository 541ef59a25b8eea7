// SPDX-License-Identifier: MIT
#include "tools/sun_event.h"

#include "almanac/precise_sun.h"

namespace kestrow {
namespace {

struct Kind {
    std::string_view name;
    SunEvent event;
    double altitude;
    Crossing crossing;
};

constexpr Kind kKinds[] = {
    {"sunrise", SunEvent::Sunrise, kHorizonAltitude, Crossing::Rising},
    {"sunset", SunEvent::Sunset, kHorizonAltitude, Crossing::Setting},
    {"noon", SunEvent::Noon, 0, Crossing::Rising},
    {"civil_dawn", SunEvent::CivilDawn, kCivilTwilight, Crossing::Rising},
    {"civil_dusk", SunEvent::CivilDusk, kCivilTwilight, Crossing::Setting},
    {"nautical_dawn", SunEvent::NauticalDawn, kNauticalTwilight, Crossing::Rising},
    {"nautical_dusk", SunEvent::NauticalDusk, kNauticalTwilight, Crossing::Setting},
    {"astronomical_dawn", SunEvent::AstronomicalDawn, kAstronomicalTwilight, Crossing::Rising},
    {"astronomical_dusk", SunEvent::AstronomicalDusk, kAstronomicalTwilight, Crossing::Setting},
};

// Listed in the order of SunEvent, which indexes it.
static_assert(kKinds[static_cast<std::size_t>(SunEvent::AstronomicalDusk)].event ==
              SunEvent::AstronomicalDusk);

}  // namespace

std::optional<SunEvent> SunEventNamed(std::string_view name) {
    for (const Kind& kind : kKinds) {
        if (kind.name == name) return kind.event;
    }
    return std::nullopt;
}

std::string_view SunEventName(SunEvent event) {
    return kKinds[static_cast<std::size_t>(event)].name;
}

std::string_view SunEventNames() {
    return "sunrise, sunset, noon, civil_dawn, civil_dusk, nautical_dawn, nautical_dusk, "
           "astronomical_dawn, astronomical_dusk";
}

std::optional<double> NextSunEvent(const Place& place, SunEvent event, double height,
                                   double after) {
    if (event == SunEvent::Noon) return NextTransit(place.longitude, after);
    const Kind& kind = kKinds[static_cast<std::size_t>(event)];
    const bool horizon = event == SunEvent::Sunrise || event == SunEvent::Sunset;
    const double altitude = kind.altitude - (horizon ? HorizonDip(height) : 0);
    return NextCrossing(place.latitude, place.longitude, after, altitude, kind.crossing);
}

}  // namespace kestrow
