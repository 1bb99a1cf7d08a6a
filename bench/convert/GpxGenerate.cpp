// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a large GPX file of ordinary, indented waypoints for the converter benchmarks.
//   geofill-gpx-generate [--realistic] [--types N] COUNT FILE.gpx
// --realistic writes what real exports hold: letters outside ASCII in most names, entities
// and character references, CDATA sections, CR LF line ends and longer descriptions.
// --types N gives the waypoints N types by turns, "Type 0" to "Type N-1".
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// clang-format off
const char* const kPlaces[] = {"Müllerstraße", "Café de l'Église", "Łódź Kaliska", "Ærøskøbing",
    "Zürich Hauptbahnhof", "Αθήνα", "Москва-Сити", "東京タワー", "Malmö & Lund", "Plaza Señor",
    "Český Krumlov", "Old Mill"};
const char* const kDescs[] = {
    "Water mill on the river bank, open Sundays from 10:00 to 16:00; entry &#8364;3, children "
    "free. Parking behind the church &amp; at the station.",
    "<![CDATA[Spring & well <restored 1998> \"Quelle\" beim Brunnen]]> with a bench and a view "
    "over the valley; water is drinkable &lt;safe&gt; according to the sign.",
    "Aussichtspunkt über dem Tal, Wanderweg Nr. 7, Rundweg ca. 2½ Stunden; Einkehr im "
    "Gasthof „Zur Linde“ möglich, montags Ruhetag.",
    "Camping municipal, douches chaudes, électricité &amp; Wi-Fi ; ouvert d'avril à octobre, "
    "réservation conseillée en été."};
// clang-format on

} // namespace

int main(int argc, char* argv[])
{
    bool realistic = false;
    long types = 0;
    int arg = 1;
    for (; arg + 2 < argc; ++arg) {
        if (std::strcmp(argv[arg], "--realistic") == 0)
            realistic = true;
        else if (std::strcmp(argv[arg], "--types") == 0 && arg + 3 < argc)
            types = std::strtol(argv[++arg], nullptr, 10);
        else
            break;
    }
    if (arg + 2 != argc || types < 0) {
        std::fprintf(stderr, "Usage: geofill-gpx-generate [--realistic] [--types N] COUNT FILE.gpx\n");
        return 2;
    }
    const long count = std::strtol(argv[argc - 2], nullptr, 10);
    std::FILE* out = std::fopen(argv[argc - 1], "wb");
    if (!out || count < 0) {
        std::perror(argv[argc - 1]);
        return 2;
    }
    static char buffer[1 << 20];
    std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
    const char* eol = realistic ? "\r\n" : "\n";
    std::fprintf(out,
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>%s"
                 "<gpx version=\"1.1\" creator=\"geofill-gpx-generate\" "
                 "xmlns=\"http://www.topografix.com/GPX/1/1\">%s",
                 eol, eol);
    unsigned long seed = 12345;
    auto next = [&seed](long range) {
        seed = seed * 6364136223846793005UL + 1442695040888963407UL;
        return long((seed >> 33) % range);
    };
    for (long i = 0; i < count; ++i) {
        const long lat = next(180000000) - 90000000;
        const long lon = next(360000000) - 180000000;
        std::fprintf(out,
                     "  <wpt lat=\"%s%ld.%06ld\" lon=\"%s%ld.%06ld\">%s"
                     "    <ele>%ld.%ld</ele>%s"
                     "    <time>2024-05-01T10:%02ld:%02ldZ</time>%s",
                     lat < 0 ? "-" : "", std::labs(lat) / 1000000, std::labs(lat) % 1000000,
                     lon < 0 ? "-" : "", std::labs(lon) / 1000000, std::labs(lon) % 1000000, eol,
                     next(3000), next(10), eol, next(60), next(60), eol);
        if (!realistic) {
            std::fprintf(out,
                         "    <name>Point %ld</name>\n"
                         "    <desc>Spring &amp; mill no. %ld, O'Neill's farm</desc>\n",
                         i, i);
        } else {
            // Nine names in ten hold letters outside ASCII.
            const long place = i % 10 == 0 ? 11 : next(11);
            std::fprintf(out, "    <name>%s %ld</name>\r\n    <desc>%s</desc>\r\n", kPlaces[place],
                         i, kDescs[next(4)]);
        }
        if (types > 0)
            std::fprintf(out, "    <type>Type %ld</type>%s", i % types, eol);
        std::fprintf(out, "    <sym>Flag, Blue</sym>%s  </wpt>%s", eol, eol);
    }
    std::fprintf(out, "</gpx>%s", eol);
    return std::fclose(out) == 0 ? 0 : 2;
}
