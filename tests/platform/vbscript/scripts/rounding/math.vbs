' Sqr, Exp, Log and the repeatable random sequence (Rnd -1 followed by Randomize n).
Print Sqr(16), Sqr(2) * Sqr(2) = 2, Exp(0), Log(Exp(2)), Log(100) / Log(10) ' => 4#, False, 1#, 2#, 2#
Print Sqr(Null), TypeName(Rnd), Rnd(0) = Rnd(0)        ' => Null, "Single", True
x = Rnd(-1) : Randomize 5 : a = Rnd : b = Rnd
x = Rnd(-1) : Randomize 5 : c = Rnd
Print a = c, a <> b, a >= 0 And a < 1                  ' => True, True, True
On Error Resume Next
x = Sqr(-1) : Print Err.Number : Err.Clear              ' => 5&
x = Log(0) : Print Err.Number : Err.Clear               ' => 5&
x = Exp(1000) : Print Err.Number : Err.Clear            ' => 6&
x = (-8) ^ (1 / 3) : Print Err.Number : Err.Clear       ' => 5&
x = 1E308 * 10 : Print Err.Number : Err.Clear           ' => 6&
x = 0 / 0 : Print Err.Number : Err.Clear                ' => 6&
