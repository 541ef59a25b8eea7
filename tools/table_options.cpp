// SPDX-License-Identifier: MIT
#include "tools/table_options.h"

#include <getopt.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "almanac/errors.h"
#include "app/shown_clock.h"
#include "app/utc_offset.h"

namespace kestrow {
namespace {

enum OptionCode : int { kLat = 1, kLon, kFrom, kDays, kOffset, kZone, kHelp, kVersion };

const option kLongOptions[] = {
    {"lat", required_argument, nullptr, kLat},
    {"lon", required_argument, nullptr, kLon},
    {"from", required_argument, nullptr, kFrom},
    {"days", required_argument, nullptr, kDays},
    {"offset", required_argument, nullptr, kOffset},
    {"zone", required_argument, nullptr, kZone},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitsValue(std::string_view digits) {
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

std::string DateText(DateValue date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", YearOf(date), MonthOf(date), DayOf(date));
    return text;
}

// YYYY-MM-DD naming a real calendar day. MakeDate would carry 2013-02-30
// into March, so the fields are read back and must come out unchanged.
DateValue ParseDate(std::string_view text) {
    const std::string quoted = "--from: \"" + std::string(text) + "\"";
    bool shaped = text.size() == 10;
    for (std::size_t i = 0; shaped && i < text.size(); ++i) {
        shaped = (i == 4 || i == 7) ? text[i] == '-' : IsDigit(text[i]);
    }
    if (!shaped) throw UsageError(quoted + " is not a date of the form YYYY-MM-DD");
    const int year = DigitsValue(text.substr(0, 4));
    const int month = DigitsValue(text.substr(5, 2));
    const int day = DigitsValue(text.substr(8, 2));
    DateValue date = 0;
    try {
        date = MakeDate(static_cast<std::int16_t>(year), static_cast<std::int16_t>(month),
                        static_cast<std::int16_t>(day));
    } catch (const DateRangeError&) {
        throw UsageError(quoted + " is not a calendar date from 0100-01-01 to 9999-12-31");
    }
    if (YearOf(date) != year || MonthOf(date) != month || DayOf(date) != day) {
        throw UsageError(quoted + " is not a calendar date");
    }
    return date;
}

int ParseDays(std::string_view text) {
    int days = 0;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(text.data(), last, days);
    if (result.ec != std::errc() || result.ptr != last || days < 1 || days > kMaxTableDays) {
        throw UsageError("--days: \"" + std::string(text) + "\" is not a whole number from 1 to " +
                         std::to_string(kMaxTableDays));
    }
    return days;
}

// Decimal hours: an optional sign, then digits with at most one decimal
// point or comma. No exponent, infinity or NaN.
double ParseOffset(std::string_view text) {
    std::string plain;
    std::string_view rest = text;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        if (rest.front() == '-') plain += '-';
        rest.remove_prefix(1);
    }
    bool digit = false;
    bool mark = false;
    bool wellFormed = !rest.empty();
    for (const char c : rest) {
        if (IsDigit(c)) {
            digit = true;
            plain += c;
        } else if ((c == '.' || c == ',') && !mark) {
            mark = true;
            plain += '.';
        } else {
            wellFormed = false;
        }
    }
    if (wellFormed && digit) {
        if (plain.back() == '.') plain += '0';
        double hours = 0;
        const char* last = plain.data() + plain.size();
        const auto result = std::from_chars(plain.data(), last, hours);
        if (result.ec == std::errc() && result.ptr == last) return hours;
    }
    throw UsageError("--offset: \"" + std::string(text) + "\" is not a number of hours");
}

// The argument that getopt_long has just refused. A long option is always
// passed over whole; a group of short options only once its last character
// is read, so a refused character before the last leaves its group next.
const char* RefusedArgument(int argc, char* argv[]) {
    if (optopt != 0 && optind < argc) {
        const std::string_view next = argv[optind];
        const std::size_t at = next.find(static_cast<char>(optopt), 1);
        if (next.size() > 2 && next[0] == '-' && next[1] != '-' && at != std::string_view::npos &&
            at + 1 < next.size()) {
            return argv[optind];
        }
    }
    return argv[optind - 1];
}

double CheckedCoordinate(const std::string& text, Axis axis, std::string_view separator) {
    try {
        return ParseCoordinate(text, axis, separator);
    } catch (const CoordinateError& error) {
        throw UsageError(std::string(axis == Axis::Latitude ? "--lat: " : "--lon: ") +
                         error.what());
    }
}

}  // namespace

std::string_view TableUsage() {
    return "Usage: kestrow-table --lat DEGREES --lon DEGREES [--from YYYY-MM-DD] [--days N]\n"
           "                    [--offset HOURS | --zone ZONE]\n"
           "       kestrow-table -h|--help|--version\n"
           "Prints sunrise and sunset for a run of days as tab-separated lines: the date, the\n"
           "UT sunrise and sunset (H:MM:SS), and the sunrise, sunset, length of day and its\n"
           "change as the almanac window shows them. Latitude is north positive, longitude\n"
           "east positive, in decimal degrees. --from defaults to today, --days to 1 (at most\n"
           "100000), --offset to this machine's lead over UTC in hours (2 shows UT plus two\n"
           "hours, anything else UT plus one). --zone shows the sunrise and sunset on the\n"
           "clock of ZONE instead, a tz database name such as Asia/Kolkata or local for this\n"
           "machine's own zone, with its summer time on the days it applies. The last column,\n"
           "offset, is the shown clock's lead over UT at that day's sunrise, such as +05:30.\n";
}

TableOptions ParseTableOptions(int argc, char* argv[], const ClockReading& now,
                               std::string_view decimalSeparator) {
    struct FixedReading final : Clock {
        explicit FixedReading(const ClockReading& reading) : reading_(reading) {}
        ClockReading Read() const override { return reading_; }
        const ClockReading& reading_;
    };
    return ParseTableOptions(argc, argv, FixedReading(now), decimalSeparator);
}

TableOptions ParseTableOptions(int argc, char* argv[], const Clock& clock,
                               std::string_view decimalSeparator) {
    std::optional<ClockReading> reading;
    const auto now = [&clock, &reading]() -> const ClockReading& {
        try {
            if (!reading) reading = clock.Read();
        } catch (const Error& error) {
            throw ClockError(error.what());
        }
        return *reading;
    };
    std::optional<std::string> lat;
    std::optional<std::string> lon;
    std::optional<std::string> from;
    std::optional<std::string> days;
    std::optional<std::string> offset;
    TableOptions options;

    // 0 starts getopt afresh, so the parser can be run more than once.
    optind = 0;
    opterr = 0;
    int code = 0;
    while ((code = getopt_long(argc, argv, ":h", kLongOptions, nullptr)) != -1) {
        switch (code) {
            case kLat:
                lat = optarg;
                break;
            case kLon:
                lon = optarg;
                break;
            case kFrom:
                from = optarg;
                break;
            case kDays:
                days = optarg;
                break;
            case kOffset:
                offset = optarg;
                break;
            case kZone:
                options.zone = optarg;
                break;
            case kHelp:
            case 'h':
                options.help = true;
                break;
            case kVersion:
                options.version = true;
                break;
            case ':':
                throw UsageError(std::string(argv[optind - 1]) + " needs a value");
            default:
                // A printable optopt is an unknown short option, possibly
                // inside a group; any other byte belongs to a character
                // getopt cannot name, so the whole argument is named.
                if (optopt >= ' ' && optopt < 0x7F) {
                    throw UsageError(std::string("unknown option -") + static_cast<char>(optopt));
                }
                throw UsageError("unknown or ambiguous option " +
                                 std::string(RefusedArgument(argc, argv)));
        }
    }
    if (optind < argc)
        throw UsageError("unexpected argument \"" + std::string(argv[optind]) + "\"");
    if (options.help || options.version) return options;

    if (!lat) throw UsageError("--lat is missing");
    if (!lon) throw UsageError("--lon is missing");

    AlmanacTableRequest& request = options.request;
    request.place.latitude = CheckedCoordinate(*lat, Axis::Latitude, decimalSeparator);
    request.place.longitude = CheckedCoordinate(*lon, Axis::Longitude, decimalSeparator);
    request.first = from ? ParseDate(*from)
                         : MakeDate(static_cast<std::int16_t>(YearOf(now().local)),
                                    static_cast<std::int16_t>(MonthOf(now().local)),
                                    static_cast<std::int16_t>(DayOf(now().local)));
    request.days = days ? ParseDays(*days) : 1;
    if (options.zone && offset) {
        throw UsageError("--zone and --offset both choose the clock; give only one of them");
    }
    if (options.zone && *options.zone != "local" && !IsKnownZone(*options.zone)) {
        throw UsageError("--zone: \"" + *options.zone +
                         "\" is not a time zone name such as Asia/Kolkata, nor local");
    }
    request.clock.design =
        DesignClockFor(offset ? ParseOffset(*offset) : ComputeUtcOffset(now()).roundedHours);

    // The change of day length on the first date needs the day before it.
    const DateValue earliest = MakeDate(100, 1, 2);
    const DateValue latest = MakeDate(9999, 12, 31);
    if (request.first < earliest) {
        throw UsageError("--from: " + DateText(request.first) +
                         " is too early; the table starts on 0100-01-02 at the earliest");
    }
    if (request.first + (request.days - 1) > latest) {
        throw UsageError("--days: " + std::to_string(request.days) + " days from " +
                         DateText(request.first) + " run past 9999-12-31");
    }
    return options;
}

void UseZone(std::string_view name) {
    // The leading colon asks for the zone file by name, never a POSIX rule.
    // Appended: GCC 12 warns of a false overlap in ":" + std::string.
    std::string value(":");
    value.append(name);
    setenv("TZ", value.c_str(), 1);
    tzset();
}

}  // namespace kestrow
