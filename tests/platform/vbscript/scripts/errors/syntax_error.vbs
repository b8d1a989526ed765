' A syntax error anywhere means nothing runs, not even the lines before it.
Print "never"
If x = 1 Then
   y = (1 + 2   ' => error 1006 col 17
End If
