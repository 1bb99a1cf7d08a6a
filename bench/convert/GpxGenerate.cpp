// Writes a large GPX file of ordinary, indented waypoints for the converter benchmarks.
//   geofill-gpx-generate COUNT FILE.gpx
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: geofill-gpx-generate COUNT FILE.gpx\n");
        return 2;
    }
    const long count = std::strtol(argv[1], nullptr, 10);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || count < 0) {
        std::perror(argv[2]);
        return 2;
    }
    static char buffer[1 << 20];
    std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
    std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<gpx version=\"1.1\" creator=\"geofill-gpx-generate\" "
               "xmlns=\"http://www.topografix.com/GPX/1/1\">\n",
               out);
    unsigned long seed = 12345;
    auto next = [&seed](long range) {
        seed = seed * 6364136223846793005UL + 1442695040888963407UL;
        return long((seed >> 33) % range);
    };
    for (long i = 0; i < count; ++i) {
        const long lat = next(180000000) - 90000000;
        const long lon = next(360000000) - 180000000;
        std::fprintf(out,
                     "  <wpt lat=\"%s%ld.%06ld\" lon=\"%s%ld.%06ld\">\n"
                     "    <ele>%ld.%ld</ele>\n"
                     "    <time>2024-05-01T10:%02ld:%02ldZ</time>\n"
                     "    <name>Point %ld</name>\n"
                     "    <desc>Spring &amp; mill no. %ld, O'Neill's farm</desc>\n"
                     "    <sym>Flag, Blue</sym>\n"
                     "  </wpt>\n",
                     lat < 0 ? "-" : "", std::labs(lat) / 1000000, std::labs(lat) % 1000000,
                     lon < 0 ? "-" : "", std::labs(lon) / 1000000, std::labs(lon) % 1000000,
                     next(3000), next(10), next(60), next(60), i, i);
    }
    std::fputs("</gpx>\n", out);
    return std::fclose(out) == 0 ? 0 : 2;
}
