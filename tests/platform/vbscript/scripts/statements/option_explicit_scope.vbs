Option Explicit
' With Option Explicit a procedure sees the script's declared variables; any other name fails.
Dim total
total = 1
Sub AddOne() : total = total + 1 : End Sub
AddOne
Print total                                     ' => 2%
Sub UsesUndeclared() : scratch = 1 : End Sub     ' => error 500
UsesUndeclared
