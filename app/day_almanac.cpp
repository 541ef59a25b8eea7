// SPDX-License-Identifier: MIT
#include "day_almanac.h"

#include "almanac/rise_set.h"

namespace kestrow {

CalendarDay CalendarDayOf(DateValue date) {
    CalendarDay day;
    day.day = static_cast<std::int16_t>(DayOf(date));
    day.month = static_cast<std::int16_t>(MonthOf(date));
    day.year = static_cast<std::int16_t>(YearOf(date));
    return day;
}

CalendarDay ReadToday(const ClockReading& reading) { return CalendarDayOf(reading.local); }

CalendarDay DayBefore(const CalendarDay& day) {
    return {static_cast<std::int16_t>(day.day - 1), day.month, day.year};
}

namespace {

DayEvents ComputePreciseDay(const DayRequest& request, DateValue local) {
    const LocalDayBounds day = LocalDayOn(local, request.clock);
    DayEvents events = PreciseDayEvents(request.place.latitude, request.place.longitude, day.start,
                                        day.end, request.altitude - HorizonDip(request.height));
    // Instants of the almanac count days on a continuous line; DateValues
    // keep a time of day counted forward from a negative serial's day.
    if (events.rise) events.rise = ToStored(*events.rise);
    if (events.set) events.set = ToStored(*events.set);
    return events;
}

}  // namespace

DayEvents ComputeDay(const DayRequest& request) {
    const CalendarDay& date = request.date;
    const Place& place = request.place;
    if (request.method == AlmanacMethod::Precise) {
        return ComputePreciseDay(request, MakeDate(date.year, date.month, date.day));
    }
    const RiseSetUT ut =
        SunRiseSetUT(place.latitude, place.longitude, date.day, date.month, date.year);
    // On a zone's clock the computation is still for the local date, even
    // where the zone puts that day's sunrise on the UT day before (east of
    // Greenwich) or keeps a clock a whole day from the sun's (Chatham): the
    // sun of the neighbouring UT day differs by a minute or two at most, and
    // the local date keeps the almanac on the day the user's clock shows and
    // its change since yesterday the same on both clocks.
    const DateValue local = MakeDate(date.year, date.month, date.day);
    DayEvents events;
    events.rise = EventInstant(ut.rise, local, place.longitude, true, request.clock);
    events.set = EventInstant(ut.set, local, place.longitude, false, request.clock);
    // Both clock times moved to the design's clock first: the change since
    // yesterday compares these very values, to their last bit.
    const double shift = DesignShift(request.clock.design);
    events.length = Elapsed(AddDuration(ut.rise, shift), AddDuration(ut.set, shift));
    if (ut.halfDayArc == kPiLong) events.state = DayState::PolarDay;
    if (ut.halfDayArc == 0) events.state = DayState::PolarNight;
    return events;
}

}  // namespace kestrow
