#ifndef PK_CAMERA_LINK_SERIAL_API_H
#define PK_CAMERA_LINK_SERIAL_API_H

/* The functions of the Camera Link serial API as a frame grabber's library
 * exports them (C linkage), written from the API's published function list.
 * Libraries are loaded at run time; nothing is linked at build time.
 *
 * The API fixes its widths: port indexes, buffer sizes, byte counts,
 * time-outs (ms), baud-rate masks, counts and versions are 32-bit unsigned,
 * status and error codes 32-bit signed. A plain C header, so that a client
 * written in C sees exactly the types a library is built with. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t (*clSerialInitFn)(uint32_t serialIndex, void** serialRef);
typedef int32_t (*clSerialReadFn)(void* serialRef, char* buffer, uint32_t* bufferSize, uint32_t timeoutMs);
typedef int32_t (*clSerialWriteFn)(void* serialRef, char* buffer, uint32_t* bufferSize, uint32_t timeoutMs);
typedef void (*clSerialCloseFn)(void* serialRef);
typedef int32_t (*clGetNumBytesAvailFn)(void* serialRef, uint32_t* numBytes);
typedef int32_t (*clFlushPortFn)(void* serialRef);
typedef int32_t (*clSetBaudRateFn)(void* serialRef, uint32_t baudRate);
typedef int32_t (*clGetSupportedBaudRatesFn)(void* serialRef, uint32_t* baudRates);
typedef int32_t (*clGetNumSerialPortsFn)(uint32_t* numSerialPorts);
typedef int32_t (*clGetSerialPortIdentifierFn)(uint32_t serialIndex, char* portId, uint32_t* bufferSize);
typedef int32_t (*clGetManufacturerInfoFn)(char* manufacturerName, uint32_t* bufferSize, uint32_t* version);
typedef int32_t (*clGetErrorTextFn)(int32_t errorCode, char* errorText, uint32_t* errorTextSize);

/* Status codes. A function that reports CLSER_BUFFER_TOO_SMALL has stored the
 * size it needs (terminating zero included) in the caller's size. */
enum {
    CLSER_NO_ERROR = 0,
    CLSER_BUFFER_TOO_SMALL = -10001,
    CLSER_MANUFACTURER_DOES_NOT_EXIST = -10002,
    CLSER_PORT_IN_USE = -10003,
    CLSER_TIMEOUT = -10004,
    CLSER_INVALID_INDEX = -10005,
    CLSER_INVALID_REFERENCE = -10006,
    CLSER_ERROR_NOT_FOUND = -10007,
    CLSER_BAUD_RATE_NOT_SUPPORTED = -10008,
    CLSER_OUT_OF_MEMORY = -10009,
    CLSER_UNABLE_TO_LOAD_LIBRARY = -10098,
    CLSER_FUNCTION_NOT_FOUND = -10099
};

/* The bits of a baud-rate mask, one per rate the API can set. */
enum {
    CLSER_BAUD_9600 = 1,
    CLSER_BAUD_19200 = 2,
    CLSER_BAUD_38400 = 4,
    CLSER_BAUD_57600 = 8,
    CLSER_BAUD_115200 = 16,
    CLSER_BAUD_230400 = 32,
    CLSER_BAUD_460800 = 64,
    CLSER_BAUD_921600 = 128
};

#ifdef __cplusplus
} /* extern "C" */

namespace clser {

enum : int32_t {
    NoError = CLSER_NO_ERROR,
    BufferTooSmall = CLSER_BUFFER_TOO_SMALL,
    ManufacturerDoesNotExist = CLSER_MANUFACTURER_DOES_NOT_EXIST,
    PortInUse = CLSER_PORT_IN_USE,
    Timeout = CLSER_TIMEOUT,
    InvalidIndex = CLSER_INVALID_INDEX,
    InvalidReference = CLSER_INVALID_REFERENCE,
    ErrorNotFound = CLSER_ERROR_NOT_FOUND,
    BaudRateNotSupported = CLSER_BAUD_RATE_NOT_SUPPORTED,
    OutOfMemory = CLSER_OUT_OF_MEMORY,
    UnableToLoadLibrary = CLSER_UNABLE_TO_LOAD_LIBRARY,
    FunctionNotFound = CLSER_FUNCTION_NOT_FOUND,
};

// The mask bit of a rate; 0 for a rate the API has no bit for.
inline uint32_t rateBit(int32_t baudRate)
{
    switch (baudRate) {
    case 9600: return CLSER_BAUD_9600;
    case 19200: return CLSER_BAUD_19200;
    case 38400: return CLSER_BAUD_38400;
    case 57600: return CLSER_BAUD_57600;
    case 115200: return CLSER_BAUD_115200;
    case 230400: return CLSER_BAUD_230400;
    case 460800: return CLSER_BAUD_460800;
    case 921600: return CLSER_BAUD_921600;
    default: return 0;
    }
}

} // namespace clser
#endif /* __cplusplus */

#endif /* PK_CAMERA_LINK_SERIAL_API_H */
