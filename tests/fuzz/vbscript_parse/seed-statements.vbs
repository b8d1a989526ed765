Option Explicit
Dim a(3), b : Const c = &HFF
Function F(ByVal x, ByRef y) : F = x ^ 2 & y : End Function
Sub S() : On Error Resume Next : Err.Raise 5 : End Sub
If a(0) = 1 Then b = "x" ElseIf b Then b = #1/2/2003# Else b = Null
Select Case b : Case 1, 2 : S : Case Else : b = F(1, b) : End Select
For i = 1 To 10 Step 2 : b = b + i : Next
Do While b < 100 : b = b * 2 : Loop
Set o = Nothing : ReDim Preserve a(5) : Erase a
