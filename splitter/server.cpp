/*
 * QVXSPLIT server: what the shared entry points hand out.
 */
#include "qvxsplit.h"

const AxServerDesc ax_server = {&LIBID_QVXSPLITLib, &CLSID_QVXSplit, ax_create<QVXSplit>,
                                IDR_QVXSPLIT};
