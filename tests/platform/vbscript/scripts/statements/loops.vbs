' Do While/Until with the test before or after the body, Exit Do, While/Wend.
n = 0 : Do While n < 5 : n = n + 1 : Loop
Print n                                         ' => 5%
n = 0 : Do Until n >= 3 : n = n + 1 : Loop
Print n                                         ' => 3%
n = 10 : Do : n = n + 1 : Loop While n < 5
Print n                                         ' => 11%
n = 0 : Do : n = n + 2 : Loop Until n > 7
Print n                                         ' => 8%
n = 0
Do
    n = n + 1
    If n = 4 Then Exit Do
Loop
Print n                                         ' => 4%
n = 0 : While n < 3 : n = n + 1 : Wend
Print n                                         ' => 3%
n = 0
Do While True
    For i = 1 To 10
        If i = 3 Then Exit Do
        n = n + 1
    Next
Loop
Print n                                         ' => 2%
