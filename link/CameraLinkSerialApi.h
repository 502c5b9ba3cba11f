#pragma once

// The functions of the Camera Link serial API as a frame grabber's library
// exports them (C linkage), written from the API's published function list.
// Libraries are loaded at run time; nothing is linked at build time.

#include <cstdint>

extern "C" {
using clSerialInitFn = int (*)(unsigned long serialIndex, void** serialRef);
using clSerialReadFn = int (*)(void* serialRef, char* buffer, unsigned long* bufferSize, unsigned long timeoutMs);
using clSerialWriteFn = int (*)(void* serialRef, char* buffer, unsigned long* bufferSize, unsigned long timeoutMs);
using clSerialCloseFn = void (*)(void* serialRef);
using clGetNumBytesAvailFn = int (*)(void* serialRef, unsigned long* numBytes);
using clFlushPortFn = int (*)(void* serialRef);
using clSetBaudRateFn = int (*)(void* serialRef, unsigned int baudRate);
using clGetSupportedBaudRatesFn = int (*)(void* serialRef, unsigned int* baudRates);
using clGetNumSerialPortsFn = int (*)(unsigned int* numSerialPorts);
using clGetSerialPortIdentifierFn = int (*)(unsigned long serialIndex, char* portId, unsigned long* bufferSize);
using clGetManufacturerInfoFn = int (*)(char* manufacturerName, unsigned int* bufferSize, unsigned int* version);
using clGetErrorTextFn = int (*)(int errorCode, char* errorText, unsigned int* errorTextSize);
}

namespace clser {

// Status codes of the API.
enum : int {
    NoError = 0,
    BufferTooSmall = -10001,
    ManufacturerDoesNotExist = -10002,
    PortInUse = -10003,
    Timeout = -10004,
    InvalidIndex = -10005,
    InvalidReference = -10006,
    ErrorNotFound = -10007,
    BaudRateNotSupported = -10008,
    OutOfMemory = -10009,
    UnableToLoadLibrary = -10098,
    FunctionNotFound = -10099,
};

// The API names rates by bits of a mask; 0 for a rate it has no bit for.
inline unsigned int rateBit(int baudRate)
{
    switch (baudRate) {
    case 9600: return 1;
    case 19200: return 2;
    case 38400: return 4;
    case 57600: return 8;
    case 115200: return 16;
    case 230400: return 32;
    case 460800: return 64;
    case 921600: return 128;
    default: return 0;
    }
}

} // namespace clser
