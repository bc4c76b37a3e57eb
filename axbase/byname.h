/*
 * Automation by property name on another object (extended controls, forms).
 */
#pragma once

#include "axbase.h"

#include <functional>
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
/* The key (ax_name_key) of the object's container: its `Container`, or
 * its `Parent` when `Container` cannot be read at all; empty when neither
 * names one. */
std::wstring ax_container_key(IDispatch *obj);
/* The form walk: calls `visit` with the automation object
 * (ax_object_automation) of every user object of the site's container, in
 * the container's order. `visit` returns true when it keeps the reference
 * it was given (it then releases it itself); otherwise the walk releases it. */
void ax_walk_form(IOleClientSite *site, const std::function<bool(IDispatch *)> &visit);
