/* A client of the Camera Link serial API written in C, as a frame grabber
 * user's own program would be: it loads a library with dlopen, resolves the
 * API's functions by name and passes exactly the API's types. Every size it
 * hands over sits right beside a guard word and every buffer between guard
 * bytes, so a library that takes a size as wider than 32 bits, or copies past
 * a buffer, is caught here (or crashes here).
 *
 * usage: clclient <library>
 * The library is the simulated grabber's: port0 a PTM-TW640M, port1 a
 * PTM-R560CL, both listening at 9600. Prints each failed check; exits with 0
 * only when all passed. */

#include "CameraLinkSerialApi.h"

#include <dlfcn.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

enum { kGuardBytes = 16, kLongTimeoutMs = 3000 };
static const char kGuardByte = (char)0x5A;
static const uint32_t kGuardWord = 0xA5A5A5A5u;

struct Api {
    clSerialInitFn serialInit;
    clSerialReadFn serialRead;
    clSerialWriteFn serialWrite;
    clSerialCloseFn serialClose;
    clGetNumBytesAvailFn getNumBytesAvail;
    clFlushPortFn flushPort;
    clSetBaudRateFn setBaudRate;
    clGetSupportedBaudRatesFn getSupportedBaudRates;
    clGetNumSerialPortsFn getNumSerialPorts;
    clGetSerialPortIdentifierFn getSerialPortIdentifier;
    clGetManufacturerInfoFn getManufacturerInfo;
    clGetErrorTextFn getErrorText;
};

/* A size as a C client keeps it: 32 bits with other data right after it. */
struct Sized {
    uint32_t size;
    uint32_t neighbour;
};

/* A buffer of `capacity` bytes between two runs of guard bytes. */
struct Guarded {
    char area[kGuardBytes + 256 + kGuardBytes];
    uint32_t capacity;
};

static int failures = 0;

static void check(int passed, const char* format, ...)
{
    if (passed)
        return;
    ++failures;
    va_list args;
    va_start(args, format);
    fputs("FAIL: ", stdout);
    vprintf(format, args);
    fputc('\n', stdout);
    va_end(args);
}

static struct Sized sized(uint32_t size)
{
    struct Sized s = {size, kGuardWord};
    return s;
}

static char* guardedBuffer(struct Guarded* guarded, uint32_t capacity)
{
    memset(guarded->area, kGuardByte, sizeof guarded->area);
    guarded->capacity = capacity;
    return guarded->area + kGuardBytes;
}

static int guardsIntact(const struct Guarded* guarded)
{
    for (uint32_t i = 0; i < kGuardBytes; ++i) {
        if (guarded->area[i] != kGuardByte || guarded->area[kGuardBytes + guarded->capacity + i] != kGuardByte)
            return 0;
    }
    return 1;
}

static double nowMs(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

static int resolve(void* library, struct Api* api)
{
    const struct {
        const char* name;
        void** slot;
    } functions[] = {
        {"clSerialInit", (void**)&api->serialInit},
        {"clSerialRead", (void**)&api->serialRead},
        {"clSerialWrite", (void**)&api->serialWrite},
        {"clSerialClose", (void**)&api->serialClose},
        {"clGetNumBytesAvail", (void**)&api->getNumBytesAvail},
        {"clFlushPort", (void**)&api->flushPort},
        {"clSetBaudRate", (void**)&api->setBaudRate},
        {"clGetSupportedBaudRates", (void**)&api->getSupportedBaudRates},
        {"clGetNumSerialPorts", (void**)&api->getNumSerialPorts},
        {"clGetSerialPortIdentifier", (void**)&api->getSerialPortIdentifier},
        {"clGetManufacturerInfo", (void**)&api->getManufacturerInfo},
        {"clGetErrorText", (void**)&api->getErrorText},
    };
    int complete = 1;
    for (size_t i = 0; i < sizeof functions / sizeof functions[0]; ++i) {
        *functions[i].slot = dlsym(library, functions[i].name);
        check(*functions[i].slot != NULL, "the library exports %s", functions[i].name);
        complete = complete && *functions[i].slot != NULL;
    }
    return complete;
}

/* The texts the API copies into a caller's buffer, each tried with a buffer
 * that fits exactly, one a byte too small, none at all and a roomy one. */
struct TextCase {
    const char* what;
    const char* expected;
    int32_t (*copy)(const struct Api*, char*, uint32_t*);
};

static int32_t manufacturer(const struct Api* api, char* buffer, uint32_t* size)
{
    uint32_t version = 0;
    return api->getManufacturerInfo(buffer, size, &version);
}
static int32_t identifier0(const struct Api* api, char* buffer, uint32_t* size)
{
    return api->getSerialPortIdentifier(0, buffer, size);
}
static int32_t identifier1(const struct Api* api, char* buffer, uint32_t* size)
{
    return api->getSerialPortIdentifier(1, buffer, size);
}
static int32_t timeoutText(const struct Api* api, char* buffer, uint32_t* size)
{
    return api->getErrorText(CLSER_TIMEOUT, buffer, size);
}

static void checkTextCopies(const struct Api* api)
{
    const struct TextCase cases[] = {
        {"manufacturer", "PK70Sim", manufacturer},
        {"identifier of port 0", "port0", identifier0},
        {"identifier of port 1", "port1", identifier1},
        {"text of the time-out error", "Time-out", timeoutText},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const struct TextCase* c = &cases[i];
        const uint32_t needed = (uint32_t)strlen(c->expected) + 1;
        const uint32_t capacities[] = {needed, needed - 1, 1, 0, 200};
        for (size_t k = 0; k < sizeof capacities / sizeof capacities[0]; ++k) {
            struct Guarded guarded;
            char* buffer = guardedBuffer(&guarded, capacities[k]);
            struct Sized size = sized(capacities[k]);
            const int32_t status = c->copy(api, capacities[k] ? buffer : NULL, &size.size);
            const int fits = capacities[k] >= needed;
            check(status == (fits ? CLSER_NO_ERROR : CLSER_BUFFER_TOO_SMALL),
                  "%s into %u bytes: status %d", c->what, capacities[k], status);
            check(size.size == needed, "%s into %u bytes: size %u, needed %u", c->what, capacities[k], size.size,
                  needed);
            check(size.neighbour == kGuardWord, "%s into %u bytes: the word beside the size was overwritten",
                  c->what, capacities[k]);
            check(guardsIntact(&guarded), "%s into %u bytes: written outside the buffer", c->what, capacities[k]);
            if (fits)
                check(strcmp(buffer, c->expected) == 0, "%s: \"%s\"", c->what, buffer);
        }
    }
}

struct Refusal {
    const char* what;
    int32_t status;
    int32_t expected;
};

static void checkRefusals(const struct Refusal* refusals, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        check(refusals[i].status == refusals[i].expected, "%s: status %d, expected %d", refusals[i].what,
              refusals[i].status, refusals[i].expected);
}

/* Every port function given a reference that is not an open port. */
static void checkInvalidReference(const struct Api* api, void* ref, const char* which)
{
    char buffer[8] = "MODEL\r";
    struct Sized size = sized(6);
    uint32_t value = 0;
    printf("  %s reference\n", which);
    const struct Refusal refusals[] = {
        {"clSerialWrite", api->serialWrite(ref, buffer, &size.size, 100), CLSER_INVALID_REFERENCE},
        {"clSerialRead", api->serialRead(ref, buffer, &size.size, 10), CLSER_INVALID_REFERENCE},
        {"clGetNumBytesAvail", api->getNumBytesAvail(ref, &value), CLSER_INVALID_REFERENCE},
        {"clFlushPort", api->flushPort(ref), CLSER_INVALID_REFERENCE},
        {"clSetBaudRate", api->setBaudRate(ref, CLSER_BAUD_9600), CLSER_INVALID_REFERENCE},
        {"clGetSupportedBaudRates", api->getSupportedBaudRates(ref, &value), CLSER_INVALID_REFERENCE},
    };
    checkRefusals(refusals, sizeof refusals / sizeof refusals[0]);
    api->serialClose(ref); /* must be harmless */
}

static void checkInvalidArguments(const struct Api* api)
{
    char buffer[16];
    struct Sized size = sized(sizeof buffer);
    void* ref = NULL;
    const struct Refusal refusals[] = {
        {"identifier of index 2", api->getSerialPortIdentifier(2, buffer, &size.size), CLSER_INVALID_INDEX},
        {"identifier of index 2^32-1", api->getSerialPortIdentifier(UINT32_MAX, buffer, &size.size),
         CLSER_INVALID_INDEX},
        {"clSerialInit of index 2", api->serialInit(2, &ref), CLSER_INVALID_INDEX},
        {"clSerialInit without a place for the reference", api->serialInit(0, NULL), CLSER_INVALID_REFERENCE},
        {"clGetNumSerialPorts without a place for the count", api->getNumSerialPorts(NULL),
         CLSER_INVALID_REFERENCE},
        {"identifier without a size", api->getSerialPortIdentifier(0, buffer, NULL), CLSER_INVALID_REFERENCE},
        {"text of an unknown error", api->getErrorText(-1, buffer, &size.size), CLSER_ERROR_NOT_FOUND},
    };
    checkRefusals(refusals, sizeof refusals / sizeof refusals[0]);
    check(ref == NULL, "a refused clSerialInit handed out a reference");
    check(size.neighbour == kGuardWord, "a refused call overwrote the word beside the size");
}

static void writeLine(const struct Api* api, void* ref, const char* line)
{
    char buffer[64];
    const uint32_t length = (uint32_t)strlen(line);
    memcpy(buffer, line, length);
    struct Sized size = sized(length);
    const int32_t status = api->serialWrite(ref, buffer, &size.size, kLongTimeoutMs);
    check(status == CLSER_NO_ERROR && size.size == length, "writing \"%s\": status %d, %u bytes written", line,
          status, size.size);
    check(size.neighbour == kGuardWord, "writing: the word beside the size was overwritten");
}

/* Reads exactly strlen(expected) bytes in one call, waiting with the API's
 * own time-out, into a buffer of exactly that size. */
static void readExactly(const struct Api* api, void* ref, const char* expected)
{
    const uint32_t length = (uint32_t)strlen(expected);
    struct Guarded guarded;
    char* buffer = guardedBuffer(&guarded, length);
    struct Sized size = sized(length);
    const int32_t status = api->serialRead(ref, buffer, &size.size, kLongTimeoutMs);
    check(status == CLSER_NO_ERROR && size.size == length, "reading %u bytes: status %d, %u read", length, status,
          size.size);
    check(memcmp(buffer, expected, length) == 0, "reading: got \"%.*s\"", (int)length, buffer);
    check(size.neighbour == kGuardWord, "reading: the word beside the size was overwritten");
    check(guardsIntact(&guarded), "reading: written outside the buffer");
}

static void checkNothingWaiting(const struct Api* api, void* ref)
{
    struct Sized count = sized(12345);
    const int32_t status = api->getNumBytesAvail(ref, &count.size);
    check(status == CLSER_NO_ERROR && count.size == 0, "bytes left over: status %d, %u bytes", status, count.size);
    check(count.neighbour == kGuardWord, "clGetNumBytesAvail overwrote the word beside the count");
}

/* Each camera answers MODEL with its name, read in one call. */
static void checkModelOfEachPort(const struct Api* api)
{
    const struct {
        uint32_t index;
        const char* answer;
    } ports[] = {
        {0, "MODEL\rPTM-TW640M\rOK\r"},
        {1, "MODEL\rPTM-R560CL\rOK\r"},
    };
    for (size_t i = 0; i < sizeof ports / sizeof ports[0]; ++i) {
        void* ref = NULL;
        const int32_t status = api->serialInit(ports[i].index, &ref);
        check(status == CLSER_NO_ERROR && ref != NULL, "opening port %u: status %d", ports[i].index, status);
        if (!ref)
            continue;
        uint32_t rates = 0;
        check(api->getSupportedBaudRates(ref, &rates) == CLSER_NO_ERROR && (rates & CLSER_BAUD_9600),
              "port %u does not offer 9600 (mask %#x)", ports[i].index, rates);
        check(api->setBaudRate(ref, CLSER_BAUD_9600) == CLSER_NO_ERROR, "setting 9600 on port %u", ports[i].index);
        check(api->flushPort(ref) == CLSER_NO_ERROR, "flushing port %u", ports[i].index);
        writeLine(api, ref, "MODEL\r");
        readExactly(api, ref, ports[i].answer);
        checkNothingWaiting(api, ref);
        api->serialClose(ref);
    }
}

/* A read smaller than the answer takes exactly what fits; the rest stays for
 * the next read, and a read with nothing coming ends at its time-out. */
static void checkSmallReadsAndTimeout(const struct Api* api)
{
    void* ref = NULL;
    check(api->serialInit(1, &ref) == CLSER_NO_ERROR, "opening port 1 again after closing it");
    void* second = NULL;
    check(api->serialInit(1, &second) == CLSER_PORT_IN_USE, "opening port 1 twice is refused as in use");
    check(api->setBaudRate(ref, CLSER_BAUD_9600 | CLSER_BAUD_19200) == CLSER_BAUD_RATE_NOT_SUPPORTED,
          "a mask of two rates is not one rate");

    writeLine(api, ref, "MODEL\r");
    readExactly(api, ref, "MODE");
    readExactly(api, ref, "L\rPTM-R560CL\rOK\r");
    checkNothingWaiting(api, ref);

    struct Guarded guarded;
    char* buffer = guardedBuffer(&guarded, 4);
    struct Sized size = sized(4);
    const double start = nowMs();
    const int32_t status = api->serialRead(ref, buffer, &size.size, 100);
    const double waited = nowMs() - start;
    check(status == CLSER_TIMEOUT && size.size == 0, "read with nothing coming: status %d, %u bytes", status,
          size.size);
    check(waited >= 90 && waited < 1500, "a 100 ms read time-out took %.0f ms", waited);
    check(guardsIntact(&guarded) && size.neighbour == kGuardWord, "a timed-out read wrote outside its buffer");

    api->serialClose(ref);
    checkInvalidReference(api, ref, "closed");
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s <Camera Link serial library>\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        printf("FAIL: %s\n", dlerror());
        return 1;
    }
    struct Api api;
    if (!resolve(library, &api))
        return 1;

    struct Sized count = sized(0);
    check(api.getNumSerialPorts(&count.size) == CLSER_NO_ERROR && count.size == 2, "port count %u, expected 2",
          count.size);
    check(count.neighbour == kGuardWord, "clGetNumSerialPorts overwrote the word beside the count");

    printf("text copies\n");
    checkTextCopies(&api);
    printf("invalid arguments\n");
    checkInvalidArguments(&api);
    checkInvalidReference(&api, NULL, "null");
    printf("MODEL on each port\n");
    checkModelOfEachPort(&api);
    printf("small reads and time-out\n");
    checkSmallReadsAndTimeout(&api);

    dlclose(library);
    if (failures) {
        printf("%d checks failed\n", failures);
        return 1;
    }
    printf("all checks passed\n");
    return 0;
}
