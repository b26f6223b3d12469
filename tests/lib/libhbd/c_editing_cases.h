#ifndef HBD_TEST_C_EDITING_CASES_H
#define HBD_TEST_C_EDITING_CASES_H

/* Cases written in C against libhbd.h, run by a C++ test on a configuration handle loaded from the
 * fixture that the C++ side writes (c_editing_test.cpp). */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

size_t hbd_c_editing_cases_size(void);
const char* hbd_c_editing_case_name(size_t index);
/* "" when every check of the case held; otherwise one line per failed check. */
const char* hbd_c_editing_case_run(size_t index, void* core_configuration_handle);

#ifdef __cplusplus
}
#endif

#endif
