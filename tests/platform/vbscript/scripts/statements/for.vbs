' For/Next with Step, Exit For and For Each.
s = 0
For i = 1 To 10 : s = s + i : Next
Print s, i                                      ' => 55%, 11%
s = ""
For i = 10 To 1 Step -3 : s = s & i & " " : Next
Print s                                         ' => "10 7 4 1 "
n = 0
For d = 0 To 1 Step 0.25 : n = n + 1 : Next
Print n, d                                      ' => 5%, 1.25#
For i = 1 To 0 : Print "never" : Next
For i = 1 To 100
    If i * i > 50 Then Exit For
Next
Print i                                         ' => 8%
total = 0
For Each v In Array(1, 2, 3.5)
    total = total + v
Next
Print total                                     ' => 6.5#
found = ""
For i = 1 To 3
    For j = 1 To 3
        If j = 2 Then Exit For
        found = found & i & j & " "
    Next
Next
Print found                                     ' => "11 21 31 "
For k = "1" To "3" : Next
Print k                                         ' => 4#
