/*
 * Automation by property name on another object (extended controls, forms).
 */
#pragma once

#include "axbase.h"

#include <string>

HRESULT ax_get_named(IDispatch *disp, const WCHAR *name, VARIANT *out);
HRESULT ax_put_named(IDispatch *disp, const WCHAR *name, const VARIANT &value);
/* Calls a method with arguments given in order (first argument first). */
HRESULT ax_call_named(IDispatch *disp, const WCHAR *name, const VARIANT *args, unsigned count,
                      VARIANT *result = nullptr);
/* Reads a property as a double / string / object; false when it cannot be read. */
bool ax_get_double(IDispatch *disp, const WCHAR *name, double *out);
bool ax_get_string(IDispatch *disp, const WCHAR *name, std::wstring *out);
bool ax_get_object(IDispatch *disp, const WCHAR *name, IDispatch **out);
HRESULT ax_put_float(IDispatch *disp, const WCHAR *name, float value);
/* `Name`, followed by "(" `Index` ")" when the object has an Index. */
std::wstring ax_name_key(IDispatch *disp);
/* The automation object of an enumerated container object: the extended
 * control its site gives when it is an OLE object, else its own IDispatch;
 * null when neither works or it has no type information. */
IDispatch *ax_object_automation(IUnknown *obj);
