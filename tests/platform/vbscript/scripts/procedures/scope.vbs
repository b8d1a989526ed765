' Variables of a procedure are its own; script-level variables are shared.
Dim counter
counter = 0
Sub Increment() : counter = counter + 1 : End Sub
Function UsesLocal()
    Dim counter
    counter = 100
    UsesLocal = counter
End Function
Function Implicit()
    temp = 7              ' not declared anywhere: a variable of this call only
    Implicit = temp
End Function
Function ReadsTemp() : ReadsTemp = IsEmpty(temp) : End Function
Increment : Increment
Print counter, UsesLocal(), counter             ' => 2%, 100%, 2%
Print Implicit(), ReadsTemp()                   ' => 7%, True
Function Depth(n) : If n > 0 Then Depth = Depth(n - 1) + 1 Else Depth = 0
End Function
Print Depth(200)                                ' => 200%
Print Twice(3)                                  ' => error 13
