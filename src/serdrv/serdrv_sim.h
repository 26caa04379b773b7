#ifndef SERDRV_SIM_H
#define SERDRV_SIM_H

/*
 * Simulated serial devices inside the driver library, for tests and the demo mode.
 *
 * A simulated device exists under any name (even "COM3" or "/dev/ttyUSB0"); it takes precedence
 * over a real port of the same name and is listed by SerGetPortList while it exists and is plugged
 * in. Its state (pending bytes, input lines, written bytes) lives in the device and survives
 * closing and reopening. Every function is thread-safe; those returning int32_t give 0 on success
 * and -1 when no device of that name exists (unless stated otherwise).
 */

#include "serdrv.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Input lines of a simulated device. */
#define SERDRV_SIM_DSR 1
#define SERDRV_SIM_CTS 2
#define SERDRV_SIM_CD 3
#define SERDRV_SIM_RI 4
/* Output lines driven by the program. */
#define SERDRV_SIM_DTR 5
#define SERDRV_SIM_RTS 6

/* Creates a device (all lines off, nothing pending); an existing device is left as it is. */
SERDRV_API int32_t serdrv_sim_create(const char* name);
/* Removes the device; handles still open on it fail like an unplugged device. */
SERDRV_API int32_t serdrv_sim_destroy(const char* name);
/* Removes every simulated device, the demo device included. */
SERDRV_API void serdrv_sim_destroy_all(void);
/* 1 when a device of that name exists, else 0. */
SERDRV_API int32_t serdrv_sim_exists(const char* name);

/* Bytes the device sends to the program, in order (lost while it is unplugged). */
SERDRV_API int32_t serdrv_sim_push(const char* name, const uint8_t* data, int32_t count);
/* The next pushed byte carries a parity / framing error; the program sees the indication once,
 * after it has read that byte. SerGetData ends its batch with such a byte. */
SERDRV_API int32_t serdrv_sim_mark_parity_error(const char* name);
SERDRV_API int32_t serdrv_sim_mark_framing_error(const char* name);
/* The next pushed byte is lost to an overrun (the overrun indication is raised when the byte
 * would have been read). */
SERDRV_API int32_t serdrv_sim_mark_overrun(const char* name);

/* Sets an input line (SERDRV_SIM_DSR, _CTS, _CD, _RI). */
SERDRV_API int32_t serdrv_sim_set_line(const char* name, int32_t line, int32_t on);
/* State of any line as the program sees it (inputs) or drives it (SERDRV_SIM_DTR, _RTS):
 * 1 on, 0 off, -1 no such device. */
SERDRV_API int32_t serdrv_sim_get_line(const char* name, int32_t line);
/* Loop-back plug: DSR follows DTR and CTS follows RTS while on. */
SERDRV_API int32_t serdrv_sim_set_loopback(const char* name, int32_t on);

/* The next `count` opens fail with the SerOpenPort code `code`. */
SERDRV_API int32_t serdrv_sim_fail_next_opens(const char* name, int32_t code, int32_t count);
/* Unplugs the device like a USB adapter pulled out: handles open on it fail (reads return
 * SERDRV_DEVICE_FAILED) and stay failed after a replug, bytes not yet read are lost, opens fail
 * with 1004 and the device is no longer listed. serdrv_sim_replug plugs it in again: the name is
 * listed and opens anew, while its input lines and written bytes are kept. */
SERDRV_API int32_t serdrv_sim_unplug(const char* name);
SERDRV_API int32_t serdrv_sim_replug(const char* name);

/* Copies and removes up to `capacity` bytes the program wrote to the device; returns the number
 * copied (-1 no such device). */
SERDRV_API int32_t serdrv_sim_read_written(const char* name, uint8_t* buffer, int32_t capacity);
/* Bytes the program has not yet read. */
SERDRV_API int32_t serdrv_sim_pending(const char* name);
/* 1 while a handle is open on the device, 0 when not, -1 no such device. */
SERDRV_API int32_t serdrv_sim_is_open(const char* name);
/* A device that holds these line settings (bit rate, data bits, parity, stop bits, handshake)
 * whatever it is asked: SerConfigure then reports what differs, as for a real device that keeps
 * other settings than it was given. NULL: the device takes whatever it is asked (the start). */
SERDRV_API int32_t serdrv_sim_hold_settings(const char* name, const SerdrvConfig* held);
/* The configuration last applied by SerConfigure (portName and baseName are set to NULL). */
SERDRV_API int32_t serdrv_sim_get_config(const char* name, SerdrvConfig* out);

/* Creates the demo device "DEMO", a balance that streams lines such as "ST,+000012.34  g" CR
 * a few times a second from the moment it is opened. Also done when the environment variable
 * SERDRV_SIMULATED_PORTS is set. */
SERDRV_API void serdrv_sim_enable_demo(void);

#ifdef __cplusplus
}
#endif

#endif /* SERDRV_SIM_H */
