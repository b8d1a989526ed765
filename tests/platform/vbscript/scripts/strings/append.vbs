' s = s & x appends to s alone: a copy taken before keeps its text, and what the right side
' does to s first counts as the language orders it (left operand read first).
s = "ab"
t = s
s = s & "c"
Print s, t                                      ' => "abc", "ab"
Function Changes() : s = "changed" : Changes = "!" : End Function
s = s & Changes()
Print s                                         ' => "abc!"
Sub AddTo(ByRef text, piece) : text = text & piece : End Sub
u = "x"
AddTo u, 1
AddTo u, Null
AddTo u, Empty
AddTo u, True
Print u                                         ' => "x1True"
Dim parts(1) : parts(0) = "p"
parts(0) = parts(0) & "q"
n = 5
n = n & 5
Print parts(0), n                               ' => "pq", "55"
For i = 1 To 1000 : w = w & "0123456789" : Next
Print Len(w), Mid(w, 9991, 10)                  ' => 10000&, "0123456789"
