/* A C client of the Camera Link serial API, like clclient.c, using it from
 * several threads at once and trying the line's limits. usage: clconcurrency
 * <library> (the simulated grabber's: port0 a PTM-TW640M, port1 a PTM-R560CL,
 * both at 115200). Prints each failed check; exits 0 only when all passed. */

#include "CameraLinkSerialApi.h"

#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <time.h>

enum { kExchanges = 40, kLongMs = 3000 };
static const char* const kAnswers[] = {"MODEL\rPTM-TW640M\rOK\r", "MODEL\rPTM-R560CL\rOK\r"};

static clSerialInitFn serialInit;
static clSerialReadFn serialRead;
static clSerialWriteFn serialWrite;
static clSerialCloseFn serialClose;
static clGetNumBytesAvailFn numBytesAvail;
static clSetBaudRateFn setBaudRate;
static clGetErrorTextFn errorText;

static pthread_mutex_t reportLock = PTHREAD_MUTEX_INITIALIZER;
static int failures = 0;

static void check(int passed, const char* format, ...)
{
    if (passed)
        return;
    va_list args;
    va_start(args, format);
    pthread_mutex_lock(&reportLock);
    ++failures;
    fputs("FAIL: ", stdout);
    vprintf(format, args);
    fputc('\n', stdout);
    pthread_mutex_unlock(&reportLock);
    va_end(args);
}

static double nowMs(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

static void* openPort(uint32_t index, uint32_t rateBit)
{
    void* ref = NULL;
    const int32_t status = serialInit(index, &ref);
    check(status == CLSER_NO_ERROR && ref && setBaudRate(ref, rateBit) == CLSER_NO_ERROR, "opening port %u: %d",
          index, status);
    return ref;
}

static int32_t writeModel(void* ref)
{
    char line[] = "MODEL\r";
    uint32_t size = 6;
    return serialWrite(ref, line, &size, kLongMs);
}

/* Reads one whole MODEL answer of the port's camera in one call. */
static int readAnswer(void* ref, uint32_t index)
{
    char answer[64] = {0};
    uint32_t size = (uint32_t)strlen(kAnswers[index]);
    return serialRead(ref, answer, &size, kLongMs) == CLSER_NO_ERROR && strcmp(answer, kAnswers[index]) == 0;
}

/* The most memory the process has held so far. */
static long peakKiB(void)
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Shared {
    void* ref;
    uint32_t index;
    int answered;
    int32_t status;
    double endedMs;
};

/* Writes the lines and asks how much is waiting while another thread reads. */
static void* writeModels(void* data)
{
    struct Shared* shared = data;
    uint32_t waiting = 0;
    for (int i = 0; i < kExchanges; ++i)
        check(writeModel(shared->ref) == CLSER_NO_ERROR && numBytesAvail(shared->ref, &waiting) == CLSER_NO_ERROR,
              "writer beside a reader, line %d", i);
    return NULL;
}

static void* readAnswers(void* data)
{
    struct Shared* shared = data;
    for (int i = 0; i < kExchanges; ++i)
        shared->answered += readAnswer(shared->ref, shared->index);
    return NULL;
}

static void* readUntilClosed(void* data)
{
    struct Shared* shared = data;
    char buffer[100];
    uint32_t size = sizeof buffer;
    shared->status = serialRead(shared->ref, buffer, &size, kLongMs);
    shared->endedMs = nowMs();
    return NULL;
}

static void* exchangeOnOwnPort(void* data)
{
    struct Shared* shared = data;
    void* ref = openPort(shared->index, CLSER_BAUD_115200);
    for (int i = 0; ref && i < kExchanges; ++i) {
        char text[64];
        uint32_t size = sizeof text;
        shared->answered += writeModel(ref) == CLSER_NO_ERROR && readAnswer(ref, shared->index);
        check(errorText(CLSER_TIMEOUT, text, &size) == CLSER_NO_ERROR, "error text beside exchanges");
    }
    if (ref)
        serialClose(ref);
    return NULL;
}

static void runThreads(void* (*const bodies[])(void*), struct Shared* shared[], int count)
{
    pthread_t threads[2];
    for (int i = 0; i < count; ++i)
        pthread_create(&threads[i], NULL, bodies[i], shared[i]);
    for (int i = 0; i < count; ++i)
        pthread_join(threads[i], NULL);
}

static void checkTwoThreadsOnOnePort(void)
{
    struct Shared shared = {openPort(0, CLSER_BAUD_115200), 0};
    void* (*const bodies[])(void*) = {readAnswers, writeModels};
    struct Shared* all[] = {&shared, &shared};
    runThreads(bodies, all, 2);
    check(shared.answered == kExchanges, "one port, two threads: %d of %d answers whole", shared.answered, kExchanges);
    serialClose(shared.ref);
}

static void checkCloseUnderAReader(void)
{
    struct Shared shared = {openPort(1, CLSER_BAUD_115200), 1};
    pthread_t reader;
    pthread_create(&reader, NULL, readUntilClosed, &shared);
    nanosleep(&(struct timespec){0, 50000000L}, NULL);
    const double closedMs = nowMs();
    serialClose(shared.ref);
    pthread_join(reader, NULL);
    check(shared.status == CLSER_INVALID_REFERENCE, "a read on a port closed under it: status %d", shared.status);
    check(shared.endedMs - closedMs < 500, "the read ended %.0f ms after the close", shared.endedMs - closedMs);
}

static void checkSeveralPortsOnSeveralThreads(void)
{
    struct Shared first = {NULL, 0}, second = {NULL, 1};
    void* (*const bodies[])(void*) = {exchangeOnOwnPort, exchangeOnOwnPort};
    struct Shared* all[] = {&first, &second};
    runThreads(bodies, all, 2);
    check(first.answered == kExchanges && second.answered == kExchanges, "two ports: %d and %d of %d answered",
          first.answered, second.answered, kExchanges);
}

/* 40 MB at 9600 baud (the cameras listen at 115200 and drop these bytes). */
static void checkALargeWriteTakesItsWireTime(void)
{
    enum { kLarge = 40 * 1024 * 1024, kTimeoutMs = 300, kBytesPerSecond = 960, kFifo = 64 };
    char* large = malloc(kLarge);
    void* ref = openPort(0, CLSER_BAUD_9600);
    if (!large || !ref)
        return;
    memset(large, 'x', kLarge);
    const long residentBefore = peakKiB();
    uint32_t size = kLarge;
    const double start = nowMs();
    const int32_t status = serialWrite(ref, large, &size, kTimeoutMs);
    const double took = nowMs() - start;
    const double most = kFifo + took * kBytesPerSecond / 1000.0 + 16;
    check(status == CLSER_TIMEOUT && took >= kTimeoutMs - 10 && took < kTimeoutMs + 500,
          "40 MB within %d ms: status %d after %.0f ms", kTimeoutMs, status, took);
    check(size > 0 && size <= most, "%u bytes went in %.0f ms (at most %.0f fit)", size, took, most);
    check(peakKiB() - residentBefore < 8 * 1024, "the write grew the process by %ld KiB",
          peakKiB() - residentBefore);
    free(large);
    serialClose(ref);

    uint32_t waiting = 12345;
    ref = openPort(0, CLSER_BAUD_115200);
    check(ref && numBytesAvail(ref, &waiting) == CLSER_NO_ERROR && waiting == 0, "a reopened port holds %u bytes",
          waiting);
    check(ref && writeModel(ref) == CLSER_NO_ERROR && readAnswer(ref, 0), "a reopened port answers at once");
    if (ref)
        serialClose(ref);
}

static void checkEveryCodeHasAText(void)
{
    const int32_t codes[] = {CLSER_NO_ERROR, CLSER_BUFFER_TOO_SMALL, CLSER_MANUFACTURER_DOES_NOT_EXIST,
                             CLSER_PORT_IN_USE, CLSER_TIMEOUT, CLSER_INVALID_INDEX, CLSER_INVALID_REFERENCE,
                             CLSER_ERROR_NOT_FOUND, CLSER_BAUD_RATE_NOT_SUPPORTED, CLSER_OUT_OF_MEMORY,
                             CLSER_UNABLE_TO_LOAD_LIBRARY, CLSER_FUNCTION_NOT_FOUND};
    for (size_t i = 0; i < sizeof codes / sizeof codes[0]; ++i) {
        char text[128] = {0};
        uint32_t size = sizeof text;
        check(errorText(codes[i], text, &size) == CLSER_NO_ERROR && text[0], "no text for code %d", codes[i]);
    }
}

int main(int argc, char** argv)
{
    void* library = argc == 2 ? dlopen(argv[1], RTLD_NOW | RTLD_LOCAL) : NULL;
    if (!library) {
        printf("FAIL: usage: clconcurrency <library> (%s)\n", argc == 2 ? dlerror() : "none given");
        return 1;
    }
#define RESOLVE(function, name)                                                                          \
    if (!(*(void**)&function = dlsym(library, name))) {                                                  \
        printf("FAIL: the library lacks %s\n", name);                                                   \
        return 1;                                                                                        \
    }
    RESOLVE(serialInit, "clSerialInit") RESOLVE(serialRead, "clSerialRead") RESOLVE(serialWrite, "clSerialWrite")
    RESOLVE(serialClose, "clSerialClose") RESOLVE(numBytesAvail, "clGetNumBytesAvail")
    RESOLVE(setBaudRate, "clSetBaudRate") RESOLVE(errorText, "clGetErrorText")
    const struct {
        const char* what;
        void (*run)(void);
    } scenarios[] = {
        {"two threads on one port", checkTwoThreadsOnOnePort},
        {"a port closed under a reader", checkCloseUnderAReader},
        {"several ports on several threads", checkSeveralPortsOnSeveralThreads},
        {"a large write takes its wire time", checkALargeWriteTakesItsWireTime},
        {"every status code has a text", checkEveryCodeHasAText},
    };
    for (size_t i = 0; i < sizeof scenarios / sizeof scenarios[0]; ++i) {
        printf("%s\n", scenarios[i].what);
        scenarios[i].run();
    }
    printf(failures ? "%d checks failed\n" : "all checks passed\n", failures);
    return failures ? 1 : 0;
}
