/*
 * QVXRSZ server: what the shared entry points hand out.
 */
#include "qvxrsz.h"

const AxServerDesc ax_server = {&LIBID_QVXRSZLib, &CLSID_QVXRSZ, ax_create<QVXRSZ>, IDR_QVXRSZ};
