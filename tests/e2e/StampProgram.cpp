// halvika_stamp FILE LABEL: appends "LABEL SECONDS.NANOSECONDS" (the wall clock at its start) to FILE, so
// that tests can see when an alarm's command began.
#include <cstdio>
#include <ctime>

int main(int argc, char** argv) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (argc < 3) {
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "a");
    if (!out) {
        return 1;
    }
    std::fprintf(out, "%s %lld.%09ld\n", argv[2], static_cast<long long>(now.tv_sec), now.tv_nsec);
    return std::fclose(out) == 0 ? 0 : 1;
}
