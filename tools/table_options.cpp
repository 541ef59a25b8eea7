// SPDX-License-Identifier: MIT
#include "tools/table_options.h"

#include <getopt.h>

#include <algorithm>
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

enum OptionCode : int {
    kLat = 1,
    kLon,
    kFrom,
    kDays,
    kOffset,
    kZone,
    kHelp,
    kVersion,
    kPrecise,
    kFormat,
    kNoHeader,
    kEvents,
    kHeight,
    kNext,
    kWait,
    kShift,
};

const option kLongOptions[] = {
    {"lat", required_argument, nullptr, kLat},
    {"lon", required_argument, nullptr, kLon},
    {"from", required_argument, nullptr, kFrom},
    {"days", required_argument, nullptr, kDays},
    {"offset", required_argument, nullptr, kOffset},
    {"zone", required_argument, nullptr, kZone},
    {"help", no_argument, nullptr, kHelp},
    {"version", no_argument, nullptr, kVersion},
    {"precise", no_argument, nullptr, kPrecise},
    {"format", required_argument, nullptr, kFormat},
    {"no-header", no_argument, nullptr, kNoHeader},
    {"events", required_argument, nullptr, kEvents},
    {"height", required_argument, nullptr, kHeight},
    {"next", required_argument, nullptr, kNext},
    {"wait", required_argument, nullptr, kWait},
    {"shift", required_argument, nullptr, kShift},
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

// A decimal number: an optional sign, then digits with at most one decimal
// point or comma. No exponent, infinity or NaN.
std::optional<double> ParseDecimal(std::string_view text) {
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
        double value = 0;
        const char* last = plain.data() + plain.size();
        const auto result = std::from_chars(plain.data(), last, value);
        if (result.ec == std::errc() && result.ptr == last) return value;
    }
    return std::nullopt;
}

double ParseOffset(std::string_view text) {
    if (const std::optional<double> hours = ParseDecimal(text)) return *hours;
    throw UsageError("--offset: \"" + std::string(text) + "\" is not a number of hours");
}

double ParseHeight(std::string_view text) {
    const std::optional<double> metres = ParseDecimal(text);
    if (!metres || *metres < 0 || *metres > kMaxHeight) {
        throw UsageError("--height: \"" + std::string(text) +
                         "\" is not a height in metres from 0 to " +
                         std::to_string(static_cast<int>(kMaxHeight)));
    }
    return *metres;
}

double ParseShift(std::string_view text) {
    const std::optional<double> minutes = ParseDecimal(text);
    if (!minutes || *minutes < -kMaxShiftMinutes || *minutes > kMaxShiftMinutes) {
        throw UsageError("--shift: \"" + std::string(text) +
                         "\" is not a number of minutes from -1440 to 1440");
    }
    return *minutes;
}

// A comma-separated list of noon, civil, nautical and astronomical, in any
// order; one named twice is taken once.
TableEvents ParseEvents(std::string_view text) {
    TableEvents events;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, end - start);
        bool* asked = item == "noon"           ? &events.noon
                      : item == "civil"        ? &events.civil
                      : item == "nautical"     ? &events.nautical
                      : item == "astronomical" ? &events.astronomical
                                               : nullptr;
        if (asked == nullptr) {
            throw UsageError("--events: \"" + std::string(item) +
                             "\" is not one of noon, civil, nautical, astronomical");
        }
        *asked = true;
        start = end + 1;
    }
    return events;
}

SunEvent ParseSunEvent(const char* option, std::string_view text) {
    if (const std::optional<SunEvent> event = SunEventNamed(text)) return *event;
    throw UsageError(std::string(option) + ": \"" + std::string(text) + "\" is not one of " +
                     std::string(SunEventNames()));
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
           "                    [--offset HOURS | --zone ZONE] [--precise [--events LIST]\n"
           "                    [--height METRES]] [--format tsv|csv|json] [--no-header]\n"
           "       kestrow-table --lat DEGREES --lon DEGREES (--next EVENT | --wait EVENT)\n"
           "                    [--shift MINUTES] [--height METRES]\n"
           "                    [--offset HOURS | --zone ZONE]\n"
           "       kestrow-table -h|--help|--version\n"
           "Prints sunrise and sunset for a run of days, one row a day: the date, the UT\n"
           "sunrise and sunset (H:MM:SS), the sunrise, sunset, length of day and its change\n"
           "as the almanac window shows them, the offset (the shown clock's lead over UT at\n"
           "sunrise, such as +05:30), the state (normal, polar_day or polar_night), sunrise\n"
           "and sunset as ISO 8601 instants with their offset (sunrise_iso, sunset_iso), and\n"
           "the length and change in whole seconds (length_s, change_s). An event the date\n"
           "lacks leaves its fields empty. Latitude is north positive, longitude east\n"
           "positive, in decimal degrees. --from defaults to today, --days to 1 (at most\n"
           "100000), --offset to this machine's lead over UTC in hours (2 shows UT plus two\n"
           "hours, anything else UT plus one). --zone shows the times on the clock of ZONE\n"
           "instead, a tz database name such as Asia/Kolkata or local for this machine's\n"
           "own zone, with its summer time on the days it applies.\n"
           "\n"
           "  --precise        the sun's position at each event's own instant, right to the\n"
           "                   minute, polar days and nights included, for every column;\n"
           "                   without it, the window's own low-precision method\n"
           "  --format F       tsv (the default), csv (RFC 4180) or json (an array of\n"
           "                   objects, numbers as numbers, absent values null)\n"
           "  --no-header      no line of column names (tsv and csv)\n"
           "  --events LIST    with --precise, columns for any of noon, civil, nautical,\n"
           "                   astronomical: noon_iso, then civil_dawn_iso, civil_dusk_iso\n"
           "                   and so on (the sun's centre 6, 12 and 18 degrees down)\n"
           "  --height METRES  the eye's height above the land around, which lowers the\n"
           "                   horizon of sunrise and sunset by 1.76' x sqrt(METRES)\n"
           "  --next EVENT     print the next instant of EVENT after now, within a year, as\n"
           "                   one ISO 8601 line, by the precise method: sunrise, sunset,\n"
           "                   noon, civil_dawn, civil_dusk, nautical_dawn, nautical_dusk,\n"
           "                   astronomical_dawn or astronomical_dusk (status 3 when none)\n"
           "  --wait EVENT     the same, then sleep until that instant by the wall clock\n"
           "  --shift MINUTES  move the instant of --next or --wait, -1440 to 1440\n"
           "\n"
           "Examples:\n"
           "  kestrow-table --lat 48.85 --lon 2.35 --from 2026-01-01 --days 365 \\\n"
           "      --zone Europe/Paris --precise --format csv > paris-2026.csv\n"
           "  kestrow-table --lat 48.85 --lon 2.35 --days 30 --precise --format json |\n"
           "      jq -r '.[] | [.date, .length_s] | @tsv'\n"
           "  echo lights-on | at \"$(date -d \"$(kestrow-table --lat 48.85 --lon 2.35 \\\n"
           "      --next sunset)\" '+%H:%M %F')\"\n"
           "  systemd-run --user --on-calendar=\"$(date -d \"$(kestrow-table --lat 48.85 \\\n"
           "      --lon 2.35 --next sunset)\" '+%F %T')\" lights-on\n"
           "  kestrow-table --lat 48.85 --lon 2.35 --wait sunrise --shift -15 && blinds-up\n";
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
    std::optional<std::string> format;
    std::optional<std::string> events;
    std::optional<std::string> height;
    std::optional<std::string> shift;
    std::optional<std::string> next;
    std::optional<std::string> wait;
    bool precise = false;
    bool noHeader = false;
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
            case kPrecise:
                precise = true;
                break;
            case kFormat:
                format = optarg;
                break;
            case kNoHeader:
                noHeader = true;
                break;
            case kEvents:
                events = optarg;
                break;
            case kHeight:
                height = optarg;
                break;
            case kNext:
                next = optarg;
                break;
            case kWait:
                wait = optarg;
                break;
            case kShift:
                shift = optarg;
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
    // The next event is one instant, not a table: what shapes a table is refused with it.
    const char* single = next ? "--next" : wait ? "--wait" : nullptr;
    if (next && wait) throw UsageError("--next and --wait both ask for one event; give only one");
    if (single) {
        options.next = ParseSunEvent(single, next ? *next : *wait);
        options.wait = wait.has_value();
        const std::pair<bool, const char*> tableOnly[] = {
            {from.has_value(), "--from"},     {days.has_value(), "--days"},
            {format.has_value(), "--format"}, {noHeader, "--no-header"},
            {events.has_value(), "--events"},
        };
        for (const auto& [given, name] : tableOnly) {
            if (given) {
                throw UsageError(std::string(name) + " shapes the table, which " + single +
                                 " does not print");
            }
        }
    }
    if (shift) {
        if (!single) throw UsageError("--shift moves the instant of --next or --wait; give one");
        options.shiftMinutes = ParseShift(*shift);
    }
    if (events && !precise) {
        throw UsageError("--events: the twilights and noon need the precise method: add --precise");
    }
    if (height && !precise && !single) {
        throw UsageError("--height: the observer's height needs the precise method: add --precise");
    }
    request.method = precise || single ? AlmanacMethod::Precise : AlmanacMethod::Design;
    if (height) request.height = ParseHeight(*height);
    if (events) request.events = ParseEvents(*events);
    if (format) {
        const std::optional<TableFormat> named = TableFormatNamed(*format);
        if (!named) throw UsageError("--format: \"" + *format + "\" is not one of tsv, csv, json");
        request.format = *named;
    }
    if (noHeader && request.format == TableFormat::Json) {
        throw UsageError("--no-header: JSON has no header line; it is for tsv and csv");
    }
    request.header = !noHeader;
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
