' A Single against a Double compares at the Single's precision.
s = CSng(0.1)
d = 0.1
Print s = d, d = s, s < d, s > d, s <> d        ' => True, True, False, False, False
Print CSng(1.5) = 1.5, CSng(0.1) = CDbl(0.1), CSng(0.3) > 0.2 ' => True, True, True
Print s + 0 = d, CDbl(s) = d                    ' => True, False
