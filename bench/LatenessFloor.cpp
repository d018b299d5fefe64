// The floor of bench/lateness.sh: the least a program can do to start a command in a given second, written as
// a plain C program would be. It sleeps to each second on the wall clock and spawns the stamp program, as
// Halvika's alarms do. lateness_floor FIRST COUNT STAMP FILE [OFFSET_MS]: at FIRST, FIRST+1, ... (each
// OFFSET_MS into its second) runs "STAMP FILE i".
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        fprintf(stderr, "usage: lateness_floor FIRST COUNT STAMP FILE [OFFSET_MS]\n");
        return 2;
    }
    const long first = atol(argv[1]);
    const int count = atoi(argv[2]);
    const long offsetNs = argc == 6 ? atol(argv[5]) * 1000000L : 0;
    for (int i = 0; i < count; ++i) {
        const timespec due = {first + i, offsetNs};
        while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &due, NULL) != 0) {
        }
        char label[16];
        snprintf(label, sizeof label, "%d", i);
        char* args[] = {argv[3], argv[4], label, NULL};
        pid_t child;
        if (posix_spawn(&child, argv[3], NULL, NULL, args, environ) == 0) {
            waitpid(child, NULL, 0);
        }
    }
    return 0;
}
