' Without On Error Resume Next an error stops the script; it is reported where it happened.
Print "before"                                  ' => "before"
Sub Inner() : x = Array(1)(3) : End Sub          ' => error 9 col 27
Function Outer() : Inner : Outer = 1 : End Function
y = 1
    y = Outer()
Print "after"
