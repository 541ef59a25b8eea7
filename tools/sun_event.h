// SPDX-License-Identifier: MIT
// The sun's events that a script can ask the next one of, or wait for: rise
// and setting, noon, and the dawn and dusk of the three twilights.
#pragma once

#include <optional>
#include <string_view>

#include "app/coordinate.h"

namespace kestrow {

enum class SunEvent {
    Sunrise,
    Sunset,
    Noon,
    CivilDawn,
    CivilDusk,
    NauticalDawn,
    NauticalDusk,
    AstronomicalDawn,
    AstronomicalDusk,
};

// "sunrise", "sunset", "noon", "civil_dawn", "civil_dusk", "nautical_dawn",
// "nautical_dusk", "astronomical_dawn" or "astronomical_dusk"; nothing for
// any other text.
std::optional<SunEvent> SunEventNamed(std::string_view name);

// The name of `event`, as SunEventNamed takes it.
std::string_view SunEventName(SunEvent event);

// Every name SunEventNamed takes, separated by ", ", for messages.
std::string_view SunEventNames();

// The first instant of `event` at `place` strictly after `after`, by the
// precise method, searching up to 366 days ahead; nothing when there is none
// in that time. Instants are UT days since 1899-12-30 on a continuous line
// (ToLinear of a DateValue). Sunrise and sunset are the sun's centre at
// kHorizonAltitude lowered by the dip of the horizon for an eye `height`
// metres above the land around; the twilights are the centre's altitude
// below the true horizon, which the observer's height does not move.
std::optional<double> NextSunEvent(const Place& place, SunEvent event, double height, double after);

}  // namespace kestrow
