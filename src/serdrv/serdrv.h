#ifndef SERDRV_H
#define SERDRV_H

/*
 * serdrv: the native serial driver library, loaded at run time by name
 * (serdrvWin.dll, libserdrvLux64.so, libserdrvLux86.so).
 *
 * Every function returns a 32-bit integer. Functions that take a handle use the handle index that
 * SerOpenPort reported (the configuration's port number minus one). A handle that is not open makes
 * every function fail with -1 (SerGetByte: -2).
 */

#include <stdint.h>

#if defined(_WIN32)
#if defined(SERDRV_BUILDING)
#define SERDRV_API __declspec(dllexport)
#else
#define SERDRV_API __declspec(dllimport)
#endif
#else
#define SERDRV_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Reported by SerGetLibVer; the loader refuses a library with another version. */
#define SERDRV_ABI_VERSION 1

/* SerOpenPort results other than 0. Any other value: errno (POSIX) or the Win32 error + 2000. */
#define SERDRV_ERR_ALREADY_OPEN 1000 /* this process holds the port already */
#define SERDRV_ERR_IN_USE 1002       /* another holder */
#define SERDRV_ERR_NOT_VALID 1003    /* not a serial device */
#define SERDRV_ERR_NO_SUCH_FILE 1004 /* no such device name */
#define SERDRV_ERR_PERMISSION 1006   /* permission denied */
#define SERDRV_ERR_DEVICE_BUSY 1007  /* the device is busy */
#define SERDRV_ERR_NO_DEVICE 1008    /* the name exists but no device answers */
#define SERDRV_ERR_CONSOLE 1009      /* the port is a system console: never opened */
/* Network instruments (tcp://HOST:PORT). */
#define SERDRV_ERR_HOST_NOT_FOUND 1010     /* the host name does not resolve */
#define SERDRV_ERR_CONNECTION_REFUSED 1011 /* nothing listens on that port */
#define SERDRV_ERR_TIMED_OUT 1012          /* no answer within the connect time-out */
#define SERDRV_ERR_UNREACHABLE 1013        /* no route to the host */
#define SERDRV_ERR_OS_BASE 2000

/* SerConfigure results other than 0. */
#define SERDRV_ERR_BAD_BIT_RATE 3001
#define SERDRV_ERR_BAD_FRAMING 3002
#define SERDRV_ERR_CONFIGURE 3003
/* The device took the settings but holds others: SERDRV_ERR_REFUSED plus the bits below for
 * what differs when read back. */
#define SERDRV_ERR_REFUSED 3100
#define SERDRV_REFUSED_BIT_RATE 1
#define SERDRV_REFUSED_DATA_BITS 2
#define SERDRV_REFUSED_PARITY 4
#define SERDRV_REFUSED_STOP_BITS 8
#define SERDRV_REFUSED_HANDSHAKE 16
/* Bit rates given in bit/s that the driver accepts. */
#define SERDRV_MIN_BIT_RATE 50
#define SERDRV_MAX_BIT_RATE 4000000

/* SerGetByte: nothing arrived within the receive timeout / the device failed or hung up. */
#define SERDRV_NO_DATA (-1)
#define SERDRV_DEVICE_FAILED (-2)

/*
 * The port configuration as the driver sees it. Codes as in rs232::SerialConfig:
 * bitRate is an index 0..14 into the standard rates 110..921600 or a rate in bit/s (above 30);
 * dataBits 0..3 = 5..8 bits; parity 0..4 = none, odd, even, mark, space; stopBits 0..1 = 1, 2;
 * handshake 0 none, 1 XON/XOFF, 2 CTS/RTS, 3 DSR/DTR, or the split bits 0x10 hard in,
 * 0x20 hard out, 0x40 soft in, 0x80 soft out.
 */
typedef struct SerdrvConfig {
    int32_t port;         /* SerOpenPort writes the handle index + 1 here */
    const char* portName; /* NUL-terminated: "COM3", "/dev/ttyUSB0", "DEMO", "tcp://host:4001" */
    const char* baseName; /* stem for numbered ports ("/dev/ttyS"); informational */
    int32_t txLen;
    int32_t rxLen;
    int32_t bitRate;
    int32_t parity;
    int32_t dataBits;
    int32_t stopBits;
    int32_t handshake;
    int32_t hardFlow;
    int32_t disableActiveLink;
} SerdrvConfig;

/* Port-list callbacks of SerGetPortList. */
typedef void (*SerAddPortNameFn)(const char* name, void* ctx);
typedef void (*SerAddPortInfoFn)(const char* name, const char* manufacturer,
                                 const char* description, void* ctx);
/* Device arrival (arrived = 1) and removal (arrived = 0). */
typedef void (*SerDeviceNotificationFn)(int arrived, const char* name, void* ctx);

SERDRV_API int32_t SerGetLibVer(void);
SERDRV_API const char* SerGetName(void);

SERDRV_API int32_t SerOpenPort(SerdrvConfig* config);
/* Applies the settings and reads them back: SERDRV_ERR_REFUSED + bits when the device holds
 * others. Virtual ports (pseudo-terminals) keep 8 bits without parity whatever is asked: there
 * only the bit rate and the stop bits are compared. */
SERDRV_API int32_t SerConfigure(const SerdrvConfig* config);
/* Puts back the terminal settings the port had when it was opened, then closes it. */
SERDRV_API int32_t SerClosePort(int32_t handle);
SERDRV_API int32_t SerResetPortDriver(int32_t handle);

/* Next byte 0..255, SERDRV_NO_DATA, or SERDRV_DEVICE_FAILED. */
SERDRV_API int32_t SerGetByte(int32_t handle);
/* Bytes stored from the start of buffer (0..count), -1 when the device failed or hung up. */
SERDRV_API int32_t SerGetData(int32_t handle, uint8_t* buffer, int32_t count);
SERDRV_API int32_t SerPutByte(int32_t handle, int32_t byte);
/* Bytes sent (0..count); -1 when nothing could be sent because the device failed. */
SERDRV_API int32_t SerPutData(int32_t handle, const uint8_t* buffer, int32_t count);

SERDRV_API int32_t SerRxReadyCount(int32_t handle);
SERDRV_API int32_t SerTxBufCount(int32_t handle);
SERDRV_API int32_t SerRxFlush(int32_t handle);
SERDRV_API int32_t SerTxFlush(int32_t handle);
SERDRV_API int32_t SerTxDrain(int32_t handle);

SERDRV_API int32_t SerSetDTR(int32_t handle, int32_t on);
SERDRV_API int32_t SerSetRTS(int32_t handle, int32_t on);
/* 1 when the condition holds, 0 when not, -1 on failure. */
SERDRV_API int32_t SerSigCTS(int32_t handle);
SERDRV_API int32_t SerSigDSR(int32_t handle);
SERDRV_API int32_t SerSigCD(int32_t handle);
SERDRV_API int32_t SerSigRing(int32_t handle);
/* Error indications: 1 when the condition occurred since the last query of the same kind. */
SERDRV_API int32_t SerSigBreak(int32_t handle);
SERDRV_API int32_t SerSigFrameErr(int32_t handle);
SERDRV_API int32_t SerSigOverrun(int32_t handle);
SERDRV_API int32_t SerSigParityErr(int32_t handle);
SERDRV_API int32_t SerRxOverflow(int32_t handle);

SERDRV_API int32_t SerSendBreak(int32_t handle, int32_t milliseconds);
SERDRV_API int32_t SerSetTimeoutRx(int32_t handle, int32_t milliseconds);
SERDRV_API int32_t SerSetTimeoutTx(int32_t handle, int32_t milliseconds);
SERDRV_API int32_t SerGetTimeoutRx(int32_t handle);
SERDRV_API int32_t SerGetTimeoutTx(int32_t handle);

/* One step of software-assisted hardware handshake; nothing to do for these back-ends. */
SERDRV_API int32_t SerFlowTask(int32_t handle);

/* Reports every port present: simulated devices first, then the system's ports. */
SERDRV_API int32_t SerGetPortList(SerAddPortNameFn addPortName, SerAddPortInfoFn addPortInfo,
                                  void* ctx);

/* One receiver at a time; 0 on success, -1 when the back-end cannot notify. */
SERDRV_API int32_t SerRegisterDeviceNotification(SerDeviceNotificationFn callback, void* ctx);
SERDRV_API int32_t SerUnregisterDeviceNotification(void);

#ifdef __cplusplus
}
#endif

#endif /* SERDRV_H */
