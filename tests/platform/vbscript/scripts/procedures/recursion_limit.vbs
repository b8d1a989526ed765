' Runaway recursion ends with "Out of stack space" instead of taking the program down.
Function Forever(n) : Forever = Forever(n + 1) + 1 : End Function
On Error Resume Next
x = Forever(1)
Print Err.Number, Err.Description, IsEmpty(x)    ' => 28&, "Out of stack space", True
