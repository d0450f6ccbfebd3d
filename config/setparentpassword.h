#pragma once

/* The installer's entry point. Plain C so that an installer written in any language
   can call it knowing only this declaration and the stack layout. */

#include "lorvaneconfig_export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One node of the installer's string stack: the text follows the pointer at once.
   The pusher allocates each node with malloc; the popper frees it with free. */
typedef struct lorvane_stack_t {
    struct lorvane_stack_t* next;
    char text[1];
} lorvane_stack_t;

/* Pops the password, then the path of the configuration file, and writes a fresh
   record there: the installer defaults, a stored password and its hash. Strings
   below those two stay on the stack. Nothing is written when fewer than two strings
   are there, when either is longer than 259 bytes or than string_size bytes with
   its ending zero (no byte past string_size is read), or when the path is empty
   after trimming blanks; the call keeps no state and never throws. */
LORVANECONFIG_EXPORT void SetParentPassword(void* hwndParent, int string_size, char* variables,
                                            lorvane_stack_t** stacktop);

#ifdef __cplusplus
}
#endif
