' Comparisons: numbers numerically, texts by character code, Empty as 0 or "", Null gives Null.
Print 1 < 2, "a" < "b", "a" < "B", "A" = "a"    ' => True, True, False, False
Print 1 = 1.0, 1 = True, -1 = True              ' => True, False, True
Print Empty = 0, Empty = "", Empty = Empty      ' => True, True, True
Print Null = Null, 1 < Null, Null <> 1          ' => Null, Null, Null
Print 1 <> 2, 2 >= 2, 3 <= 2, 3 > 2             ' => True, True, False, True
Print "10" < "9", #1/2/2024# > #1/1/2024#       ' => True, True
' Between two variables a number is less than any text ...
Dim n, s
n = 1 : s = "1"
Print n = s, n < s, s > n                       ' => False, True, True
' ... but a literal keeps its type and the other side is converted to it.
Print n = "1", s = 1                            ' => True, True
n = 10
Print n < "9", n < 9                            ' => True, False
Set o = Nothing
Print o Is Nothing                              ' => True
