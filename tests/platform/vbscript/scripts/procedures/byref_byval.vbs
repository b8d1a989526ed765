' Parameters are ByRef unless ByVal; (x) passes a value, not the variable; an array element
' is passed by reference and its array is locked meanwhile.
Sub Bump(n) : n = n + 1 : End Sub
Sub BumpByVal(ByVal n) : n = n + 1 : End Sub
Sub BumpBoth(ByRef a, ByVal b) : a = a * 10 : b = b * 10 : End Sub
x = 1 : Bump x
Print x                                         ' => 2%
BumpByVal x
Print x                                         ' => 2%
Bump (x)
Print x                                         ' => 2%
Call Bump(x)
Print x                                         ' => 3%
y = 5 : BumpBoth x, y
Print x, y                                      ' => 30%, 5%
Dim arr(1) : arr(0) = 7
Bump arr(0)
Print arr(0)                                    ' => 8%
Bump 5
Function Swap(a, b) : Dim t : t = a : a = b : b = t : End Function
p = "left" : q = "right" : Swap p, q
Print p & " " & q                               ' => "right left"
Dim list() : ReDim list(2) : list(1) = "a"
Sub Grow(item) : item = item & "b" : ReDim list(5) : End Sub
On Error Resume Next
Grow list(1)
Print Err.Number, list(1), UBound(list)        ' => 10&, "ab", 2&
