' A VBScript client of QVXSPLIT: creates the control by its ProgID, sets and
' reads properties by name and sees the invalid-value error.
Option Explicit
Dim s, v

Sub Check(cond, what)
    If cond Then
        WScript.Echo "ok   " & what
    Else
        WScript.Echo "FAIL " & what
    End If
End Sub

Set s = CreateObject("QVXSPLIT.zelcSplit.1")
Check IsObject(s), "CreateObject QVXSPLIT.zelcSplit.1"

s.BarThickness = 40
Check s.BarThickness = 40, "BarThickness reads back 40"
s.Orientation = 0
Check s.Orientation = 0, "Orientation reads back 0"
s.Max = 500
s.Min = 100
Check s.Max = 500 And s.Min = 100, "Max 500, Min 100"
s.BarRaised = False
Check s.BarRaised = False, "BarRaised reads back False"
s.BarRaised = True
Check s.BarRaised = -1, "BarRaised reads back -1"
' OLE_COLOR travels as an unsigned 32-bit value, a type VBScript cannot read
' back; setting it works.
s.BackColor = 255
s.MousePointer = 99
Check s.MousePointer = 99, "MousePointer 99"

On Error Resume Next
s.BarThickness = 24
Check Err.Number = 380, "BarThickness 24 raises error 380 (got " & Err.Number & ")"
Check Err.Description = "Invalid Property Value", "description: " & Err.Description
Err.Clear
s.MousePointer = 16
Check Err.Number = 380, "MousePointer 16 raises error 380"
Err.Clear
s.Min = 501
Check Err.Number = 380, "Min 501 above Max 500 raises error 380"
Err.Clear
On Error GoTo 0
Check s.BarThickness = 40, "BarThickness unchanged after the error"

Set v = CreateObject("QVXSPLIT.zelcSplit")
Check IsObject(v), "CreateObject through the version-independent ProgID"
WScript.Echo "DONE"
