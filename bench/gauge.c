/* The host's speed at the moment: a fixed piece of integer work on one core,
   timed. The benchmark runs it in every round, so that two runs whose
   absolute figures differ can be told apart from a host that ran slower. */
#include <stdint.h>
#include <stdio.h>
#include <time.h>

int main(void)
{
    struct timespec t0, t1;
    volatile uint64_t sink;
    uint64_t x = 88172645463325252u, sum = 0;
    clock_gettime(CLOCK_MONOTONIC, &t0);
    for (long i = 0; i < 50000000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        sum += x % 1000003u;
    }
    sink = sum;
    (void)sink;
    clock_gettime(CLOCK_MONOTONIC, &t1);
    printf("%.1f\n", (t1.tv_sec - t0.tv_sec) * 1e3 + (t1.tv_nsec - t0.tv_nsec) / 1e6);
    return 0;
}
