#pragma once

#include <stdint.h>

// C bridge to the platform's process-information object.
#ifdef __cplusplus
extern "C" {
#endif

// Writes the process-info object's globally unique string into `buffer`, cut to at most
// `buffer_size` - 1 bytes and zero-terminated. Writes nothing for a null buffer or a size below 1.
void zunto_osx_process_info_create_globally_unique_string(char* buffer, int32_t buffer_size);

int32_t zunto_osx_process_info_process_identifier(void);

// Callers pair every disable with one enable.
void zunto_osx_process_info_disable_sudden_termination(void);
void zunto_osx_process_info_enable_sudden_termination(void);

#ifdef __cplusplus
}
#endif
