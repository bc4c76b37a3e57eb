' A VBScript client of QVXRSZ: creates the control by its ProgID, sets and
' reads the limits by name and sees the invalid-value error.
Option Explicit
Dim r

Sub Check(cond, what)
    If cond Then
        WScript.Echo "ok   " & what
    Else
        WScript.Echo "FAIL " & what
    End If
End Sub

Set r = CreateObject("QVXRSZ.zelcrsz.1")
Check IsObject(r), "CreateObject QVXRSZ.zelcrsz.1"
r.MaxWidth = 0
r.MinWidth = 32767
Check r.MinWidth = 32767, "MinWidth 32767 with MaxWidth 0"

On Error Resume Next
r.MinWidth = 32768
Check Err.Number = 380, "MinWidth 32768 with MaxWidth 0 raises error 380 (got " & Err.Number & ")"
Check Err.Description = "Invalid Property Value", "description: " & Err.Description
Err.Clear
r.MinHeight = 3000
r.MaxHeight = 2999
Check Err.Number = 380, "MaxHeight 2999 below MinHeight 3000 raises error 380"
Err.Clear
On Error GoTo 0
r.MaxHeight = 3000
Check r.MaxHeight = 3000, "MaxHeight 3000"
Check r.MinWidth = 32767, "MinWidth unchanged after the error"
r.ResizeFonts = False
Check r.ResizeFonts = False, "ResizeFonts False"
r.CenterForm
WScript.Echo "DONE"
