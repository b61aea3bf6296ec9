// Captures per second with numbered names, by how many numbered files the date directory holds
// already: the capture probes the numbers from 1 upward, one existence test each.
#include "app/ClipSaving.h"
#include "platform/posix/PosixFileSystem.h"

#include "fake/FakeClipboard.h"
#include "fake/FakeClock.h"
#include "fake/FakeRegistry.h"
#include "fake/TempDir.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace quillbox;
using TClock = std::chrono::steady_clock;

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main()
{
    std::printf("%10s %12s %12s %12s\n", "existing", "captures/s", "p50 ms", "p99 ms");
    double baseline = 0;
    for (const int existing : {10, 1000, 10000, 100000}) {
        test::TTempDir dir(true);
        ::mkdir("980304", 0777);
        for (int n = 1; n <= existing; ++n) {
            const std::string name = "980304/" + std::to_string(n) + ".txt";
            ::close(::open(name.c_str(), O_WRONLY | O_CREAT, 0666));
        }
        test::TFakeClipboard clipboard;
        test::TFakeRegistry registry;
        test::TFakeClock clock;
        posix::TPosixFileSystem files;
        const TCaptureServices services{clipboard, registry, clock, files, nullptr, nullptr};
        const int captures = existing >= 100000 ? 20 : existing >= 10000 ? 100 : 500;
        std::vector<double> times;
        const auto start = TClock::now();
        for (int i = 0; i < captures; ++i) {
            const auto before = TClock::now();
            SaveClip(services, std::string(1024, 'x'));
            times.push_back(std::chrono::duration<double, std::milli>(TClock::now() - before).count());
        }
        const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
        const double rate = captures / seconds;
        if (baseline == 0)
            baseline = rate;
        std::printf("%10d %12.1f %12.3f %12.3f   (%.3fx the rate at 10)\n", existing, rate, Percentile(times, 0.5),
                    Percentile(times, 0.99), rate / baseline);
    }
    return 0;
}
